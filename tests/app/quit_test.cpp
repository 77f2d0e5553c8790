// Ending the program from inside each modal state: a close request (the window manager's
// close button, a signal) or Alt+F4 while the menu, a dialog, a message box or the
// open/save dialog is open.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "persist/worldfile.h"
#include "platform/dialogs/dialog.h"
#include "platform/menus/menu.h"
#include "res/resource.h"
#include "tests/app/app_fixture.h"
#include "tests/app/scripted_input.h"
#include "tests/support/modal_watch.h"

namespace {

namespace fs = std::filesystem;

class QuitTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_NE(Start(), nullptr);
        // Held past the frame, to see whether the frame lets go of its own reference.
        sheet = frame->surfacePotvory;
        sheet->AddRef();
        folder = fs::temp_directory_path() / ("vorla-quit-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        testsupport::SetMessageBoxHook(nullptr);
        testsupport::SetMenuIdleHook(nullptr);
        AppTest::TearDown();
        if (sheet != nullptr) {
            sheet->Release();
        }
        fs::remove_all(folder);
    }

    // Runs a command whose dialog gets the script once it is open. The test's pump stands
    // in for the outer loop: it stops where WM_QUIT waits.
    void Command(UINT id, ScriptedInput& script) {
        script.After(10);
        PostMessage(window, WM_COMMAND, id, 0);
        platform::PumpPendingMessages();
        EXPECT_EQ(script.fired, 1);
    }

    // Every modal loop has unwound with the window still standing and the quit waiting;
    // the outermost loop then destroys the window and ends with 0, as after "Konec".
    void ExpectUnwoundThenEnded() {
        EXPECT_TRUE(WindowAlive()) << "the window was destroyed inside a modal loop";
        int code = -1;
        EXPECT_TRUE(platform::QuitPending(&code));
        EXPECT_EQ(code, 0);
        EXPECT_EQ(frame->modalOpen, 0);
        EXPECT_EQ(g_app.Run(), 0);
        EXPECT_FALSE(WindowAlive());
        EXPECT_EQ(g_app.m_pMainWnd, nullptr);
        EXPECT_FALSE(platform::QuitPending(nullptr)) << "the window's end posted a second quit";
        EXPECT_EQ(sheet->Release(), 0u) << "the frame did not release its sprite sheet";
        sheet = nullptr;
    }

    void WriteWorld(const fs::path& path, int32_t year) {
        WorldState world;
        world.ResetWorld();
        world.year = year;
        MemoryWorldStream stream;
        WriteWorldFile(stream, world);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(stream.Bytes().data()),
                  std::streamsize(stream.Bytes().size()));
    }
    static std::vector<char> ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }

    IDirectDrawSurface* sheet = nullptr;
    fs::path folder;
};

// Catches the menu's close that deleted the window under ShowPopupMenu (a segfault), or
// a command from the item highlighted when the request came.
TEST_F(QuitTest, CloseRequestWhileTheMenuIsOpen) {
    bool asked = false;
    testsupport::SetMenuIdleHook([&] {
        if (!asked) {
            asked = true;
            // "Vkladani", then into it on "Modry"; the request comes with it highlighted.
            ScriptedInput(host).Key(VK_DOWN).Key(VK_DOWN).Key(VK_RIGHT).Close().Now();
        }
    });
    host->PushEvent(
        {.type = platform::HostEventType::MouseButtonDown, .x = 550, .y = 40, .button = 1});
    host->PushEvent(
        {.type = platform::HostEventType::MouseButtonUp, .x = 550, .y = 40, .button = 1});
    platform::PumpPendingMessages();
    EXPECT_TRUE(asked);
    EXPECT_EQ(frame->brush.tool, TOOL_NOTHING);
    ExpectUnwoundThenEnded();
}

// Catches the About or clan dialog's frame scope writing to a deleted window.
TEST_F(QuitTest, CloseRequestWhileAboutIsOpen) {
    ScriptedInput script(host);
    script.Close();
    Command(ID_ABOUT, script);
    ExpectUnwoundThenEnded();
}

TEST_F(QuitTest, CloseRequestWhileTheClansAreShown) {
    ScriptedInput script(host);
    script.Close();
    Command(ID_CLANS, script);
    ExpectUnwoundThenEnded();
}

// Catches a close request that writes the edited settings back, as OK would.
TEST_F(QuitTest, CloseRequestWhileTheSettingsAreOpenWritesNothingBack) {
    frame->ToggleYears();
    ScriptedInput script(host);
    script.Key(VK_TAB).Type("1000").Close();
    Command(ID_SETTINGS, script);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 500);
    ExpectUnwoundThenEnded();
}

// Two levels deep: the message box ends, then the settings dialog, then the program;
// the field that did parse is not written back either.
TEST_F(QuitTest, CloseRequestWhileTheIntegerMessageBoxIsOverTheSettings) {
    int boxes = 0;
    testsupport::SetMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
        ++boxes;
        EXPECT_EQ(text, "Please enter an integer.");
        ScriptedInput(host).Close().Now();
    });
    ScriptedInput script(host);
    script.Key(VK_TAB).Type("1000").Key(VK_TAB).Key(VK_BACK).Key(VK_RETURN);
    Command(ID_SETTINGS, script);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 500);
    EXPECT_EQ(frame->world.rules.birthNeighbours, 3);
    ExpectUnwoundThenEnded();
}

// Catches a cancelled open dialog that still loads the name typed into it.
TEST_F(QuitTest, CloseRequestWhileTheOpenDialogIsOpenLoadsNothing) {
    WriteWorld(folder / "world.vrz", 41);
    ScriptedInput script(host);
    script.Type((folder / "world.vrz").string()).Close();
    Command(ID_LOAD_WORLD, script);
    EXPECT_EQ(frame->world.year, 0);
    ExpectUnwoundThenEnded();
}

// Three levels deep: the overwrite prompt over the save dialog. The old file stays as it
// was, and no temporary file is left beside it.
TEST_F(QuitTest, CloseRequestAtTheOverwritePromptSavesNothing) {
    WriteWorld(folder / "world.vrz", 41);
    const std::vector<char> before = ReadAll(folder / "world.vrz");
    frame->world.year = 7;
    int boxes = 0;
    testsupport::SetMessageBoxHook([&](HWND, const std::string&, const std::string&, UINT) {
        ++boxes;
        ScriptedInput(host).Close().Now();
    });
    ScriptedInput script(host);
    script.Type((folder / "world.vrz").string()).Key(VK_RETURN);
    Command(ID_SAVE_WORLD, script);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(ReadAll(folder / "world.vrz"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    ExpectUnwoundThenEnded();
}

// A close queued before a dialog opened reaches the frame from inside the dialog's loop.
TEST_F(QuitTest, CloseQueuedBeforeADialogEndsItInsteadOfTheWindow) {
    PostMessage(window, WM_COMMAND, ID_ABOUT, 0);
    PostMessage(window, WM_CLOSE, 0, 0);
    platform::PumpPendingMessages();
    ExpectUnwoundThenEnded();
}

// Catches Alt+F4 ignored without a window manager: it closes the main window as "Konec".
TEST_F(QuitTest, AltF4ClosesTheMainWindow) {
    ScriptedInput(host).AltKey(VK_F4).Now();
    RunFor(10);
    EXPECT_FALSE(WindowAlive());
    int code = -1;
    EXPECT_TRUE(platform::QuitPending(&code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(sheet->Release(), 0u);
    sheet = nullptr;
}

// Catches Alt+F4 in a dialog that ends the program, or that closes the dialog as OK.
TEST_F(QuitTest, AltF4InADialogClosesOnlyTheDialogAsCancel) {
    ScriptedInput script(host);
    script.Key(VK_TAB).Type("1000").AltKey(VK_F4);
    Command(ID_SETTINGS, script);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 500);
    EXPECT_EQ(frame->modalOpen, 0);
    EXPECT_TRUE(WindowAlive());
    EXPECT_FALSE(platform::QuitPending(nullptr));
}

}  // namespace
