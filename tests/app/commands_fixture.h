// The application started on the headless host, with its file commands driven through
// the open/save dialog and every message box recorded.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "app/dialogs.h"
#include "persist/worldfile.h"
#include "platform/afx/file.h"
#include "platform/dialogs/dialog.h"
#include "platform/host/screen.h"
#include "res/resource.h"
#include "tests/app/app_fixture.h"
#include "tests/app/scripted_input.h"
#include "tests/support/modal_watch.h"

namespace commandtest {

namespace fs = std::filesystem;

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
};

class CommandTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_NE(Start(), nullptr);
        folder = fs::temp_directory_path() /
                 ("vorla-commands-" + std::to_string(std::random_device()() % 100000000u));
        fs::remove_all(folder);
        fs::create_directories(folder);
        // Every message box is recorded and answered with Enter.
        testsupport::SetMessageBoxHook(
            [this](HWND, const std::string& text, const std::string& caption, UINT type) {
                boxes.push_back({text, caption, type});
                ScriptedInput(host).Key(VK_RETURN).Now();
            });
    }
    void TearDown() override {
        testsupport::SetMessageBoxHook(nullptr);
        platform::ClearFileFaults();
        // Read-only files can't be removed on every system: made writable first.
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
        AppTest::TearDown();
    }

    // Runs a command whose dialog is answered by script (delivered once it is open).
    void Command(UINT id, ScriptedInput& script) {
        SCOPED_TRACE(id);
        script.After(10);
        RunCommand(id);
        EXPECT_EQ(script.fired, 1);
        EXPECT_EQ(frame->modalOpen, 0);
    }
    // Posts the command and runs until its handler has returned. A dialog still open after
    // a minute of virtual time is ended, so that a broken test fails instead of hanging.
    void RunCommand(UINT id) {
        int ended = 0;
        ScriptedInput watchdog(host);
        std::function<void()> end = [&] {
            const HWND active = GetActiveWindow();
            if (active != nullptr && active != window && ++ended < 8) {
                EndDialog(active, IDCANCEL);
                watchdog.Call(end).After(1000);
            }
        };
        watchdog.Call(end).After(60000);
        PostMessage(window, WM_COMMAND, id, 0);
        platform::PumpPendingMessages();
        EXPECT_EQ(ended, 0) << "a dialog was left open";
    }
    void SaveAs(const std::string& name) {
        ScriptedInput script(host);
        script.Type((folder / name).string()).Key(VK_RETURN);
        Command(ID_SAVE_WORLD, script);
    }
    void Load(const std::string& name) {
        ScriptedInput script(host);
        script.Type((folder / name).string()).Key(VK_RETURN);
        Command(ID_LOAD_WORLD, script);
    }
    // A name in the test folder; names are UTF-8, which a narrow path on Windows is not.
    fs::path InFolder(const std::string& name) const {
        return folder / fs::path(std::u8string(name.begin(), name.end()));
    }
    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(InFolder(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> ReadFile(const std::string& name) {
        std::ifstream in(InFolder(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    Cell& At(int column, int row) { return frame->world.board[CellIndex(column, row)]; }
    // The texts of edit fields of the dialog in front, by id.
    static std::map<int, std::string> Fields(const std::vector<int>& ids) {
        const HWND dialog = GetActiveWindow();
        std::map<int, std::string> texts;
        for (int id : ids) {
            char text[64] = "(no such field)";
            if (GetDlgItem(dialog, id) != nullptr) {
                GetDlgItemText(dialog, id, text, int(sizeof(text)));
            }
            texts[id] = text;
        }
        return texts;
    }
    static void SetFields(const std::map<int, std::string>& texts) {
        for (const auto& [id, text] : texts) {
            SetDlgItemText(GetActiveWindow(), id, text.c_str());
        }
    }
    std::vector<int32_t> Rules() const {
        const RuleSettings& r = frame->world.rules;
        return {r.yearLengthMs,       r.birthNeighbours,      r.lonelinessBase,
                r.overpopulationBase, r.overpopulationRandom, r.lonelinessRandom};
    }
    void Populate() {
        At(1, 0) = Cell{3, 2, CELL_BLUE, 5, CreatureSprite(CELL_BLUE, 1)};
        At(0, 1) = Cell{7, 4, CELL_RED, 9, CreatureSprite(CELL_RED, 2)};
        At(5, 5) = Cell{0, 0, CELL_OBSTACLE, 3, SPRITE_WATER};
        frame->world.year = 41;
    }

    fs::path folder;
    std::vector<ShownBox> boxes;
};

}  // namespace commandtest
