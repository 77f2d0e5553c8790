#include <cerrno>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "tests/app/commands_fixture.h"

namespace {

using namespace commandtest;

// Catches a save that writes another layout, skips the default extension, or leaves its
// temporary file behind; and a load that misses the year, the recount, the stopped years
// or the brush.
TEST_F(CommandTest, SaveThenLoadRestoresTheWorld) {
    Populate();
    SaveAs("world");
    ASSERT_TRUE(fs::exists(folder / "world.vrz"));
    EXPECT_EQ(fs::file_size(folder / "world.vrz"), 4853u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    MemoryWorldStream expected;
    WriteWorldFile(expected, frame->world);
    EXPECT_EQ(ReadFile("world.vrz"), expected.Bytes());

    frame->world.ResetWorld();
    frame->brush.SelectTool(TOOL_RED);
    frame->ToggleYears();
    Load("world.vrz");
    EXPECT_EQ(frame->world.year, 41);
    EXPECT_EQ(At(1, 0), (Cell{3, 2, CELL_BLUE, 5, CreatureSprite(CELL_BLUE, 1)}));
    EXPECT_EQ(At(5, 5).sprite, SPRITE_WATER);
    EXPECT_EQ(frame->world.stats[CELL_RED].population, 1);
    EXPECT_EQ(frame->world.balance, frame->world.RedShare());
    EXPECT_EQ(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->brush.tool, TOOL_NOTHING);
    EXPECT_TRUE(boxes.empty());
}

// Catches a name typed with letters beyond ASCII reaching the disk as other bytes (a byte
// a character, or Latin-1), shown wrongly in the open dialog's list, or not loading again
// when chosen there.
TEST_F(CommandTest, AUtf8NameTypedInTheSaveDialogIsSavedListedAndLoadedUnchanged) {
    const std::string name = "sv\xC4\x9Bt-\xC3\xBC.vrz";  // "svět-ü.vrz"
    Populate();
    ScriptedInput save(host);
    save.Type(folder.string()).Key(VK_RETURN).Type(name).Key(VK_RETURN);
    Command(ID_SAVE_WORLD, save);
    std::vector<std::string> onDisk;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::u8string utf8 = e.path().filename().u8string();
        onDisk.emplace_back(utf8.begin(), utf8.end());
    }
    EXPECT_EQ(onDisk, std::vector<std::string>{name});
    MemoryWorldStream expected;
    WriteWorldFile(expected, frame->world);
    EXPECT_EQ(ReadFile(name), expected.Bytes());

    frame->world.ResetWorld();
    std::string listed;
    ScriptedInput open(host), look(host);
    open.Type(folder.string()).Key(VK_RETURN).Key(VK_TAB).Type("s");
    look.Call([&] {
        HWND list = GetDlgItem(GetActiveWindow(), 1120);
        LRESULT sel = SendMessage(list, LB_GETCURSEL, 0, 0);
        char text[256] = {};
        if (sel >= 0)
            SendMessage(list, LB_GETTEXT, WPARAM(sel), LPARAM(reinterpret_cast<intptr_t>(text)));
        listed = text;
    });
    look.Key(VK_RETURN).After(30);
    Command(ID_LOAD_WORLD, open);
    EXPECT_EQ(listed, name);
    EXPECT_EQ(frame->world.year, 41);
    EXPECT_EQ(At(1, 0), (Cell{3, 2, CELL_BLUE, 5, CreatureSprite(CELL_BLUE, 1)}));
    EXPECT_TRUE(boxes.empty());
}

// Catches a cancelled dialog that still saves or loads.
TEST_F(CommandTest, CancelDoesNothing) {
    Populate();
    ScriptedInput save(host);
    save.Type((folder / "never").string()).Key(VK_ESCAPE);
    Command(ID_SAVE_WORLD, save);
    EXPECT_FALSE(fs::exists(folder / "never.vrz"));
    ScriptedInput load(host);
    load.Key(VK_ESCAPE);
    Command(ID_LOAD_WORLD, load);
    EXPECT_EQ(frame->world.year, 41);
}

// Catches a load that changes anything for a missing file, a wrong marker or a file
// shorter than its header, or that closes as if all went well.
TEST_F(CommandTest, MissingFileOrWrongMarkerChangesNothingAndSaysWhy) {
    Populate();
    frame->ToggleYears();
    frame->brush.SelectTool(TOOL_BLUE);
    const auto before = frame->world.board;
    Load("nowhere.vrz");
    std::vector<uint8_t> wrong(4853, 0);
    wrong[0] = 0xFE;
    WriteFile("wrong.vrz", wrong);
    Load("wrong.vrz");
    WriteFile("short.vrz", {0xFF, 0x00, 0xFF, 0x00, 23, 23});
    Load("short.vrz");
    EXPECT_EQ(frame->world.year, 41);
    EXPECT_EQ(frame->world.board, before);
    EXPECT_NE(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->brush.tool, TOOL_BLUE);
    const std::string unexpected = "An unexpected error occurred while accessing ";
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text,
              (folder / "nowhere.vrz").string() + " was not found.\nNo such file or directory");
    EXPECT_EQ(boxes[1].text, unexpected + (folder / "wrong.vrz").string() + ".\nNot a world file");
    EXPECT_EQ(boxes[2].text, unexpected + (folder / "short.vrz").string() + ".\nNot a world file");
    for (const ShownBox& box : boxes)
        EXPECT_EQ(box.type & 0xF0, MB_ICONSTOP);
}

// Catches the code-byte reading of files without the magic, and cut files refused.
TEST_F(CommandTest, OldAndTruncatedFilesLoad) {
    std::vector<uint8_t> old(92, 0);
    old[0] = 0xFF;
    old[2] = 0xFF;
    old[5] = 23;
    old[12] = 9;
    for (uint8_t code : {2, 1, 7}) {
        const uint8_t record[9] = {code, 0, 0, 0, 0, 0, 0, 0, 0};
        old.insert(old.end(), record, record + 9);
    }
    WriteFile("old.vrz", old);
    Load("old.vrz");
    EXPECT_EQ(frame->world.year, 0);
    EXPECT_EQ(At(0, 0), (Cell{2, 2, CELL_BLUE, 0, {0, 0, 19, 19}}));
    EXPECT_EQ(At(1, 0).sprite, SPRITE_ROCK);
    EXPECT_EQ(At(2, 0).type, CELL_EMPTY);
    EXPECT_TRUE(boxes.empty());
}

// Catches the save that destroyed the previous file when the disk filled half-way.
TEST_F(CommandTest, FailedSaveKeepsTheOldFileAndReportsTheDiskFull) {
    Populate();
    SaveAs("keep.vrz");
    const std::vector<uint8_t> good = ReadFile("keep.vrz");
    frame->world.year = 99;
    platform::InjectFileFault(platform::FileOp::Write, 1, 0);  // the device fills up
    SaveAs("keep.vrz");
    EXPECT_EQ(ReadFile("keep.vrz"), good);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    ASSERT_EQ(boxes.size(), 2u);  // "already exists" and the error
    EXPECT_EQ(boxes[1].text, "Disk full while accessing " + (folder / "keep.vrz").string() +
                                 ".\nNo space left on device");
    EXPECT_EQ(boxes[1].type & 0xF0, MB_ICONSTOP);
}

// Catches a save that fails without a word (the user answered "replace" and believes the
// world is saved), or that replaces a read-only file.
TEST_F(CommandTest, FailedSavesSayWhyAndKeepTheOldFile) {
    Populate();
    const fs::path readOnly = folder / "ro.vrz";
    WriteFile("ro.vrz", {1, 2, 3});
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    SaveAs("ro.vrz");
    EXPECT_EQ(ReadFile("ro.vrz"), (std::vector<uint8_t>{1, 2, 3}));
    platform::InjectFileFault(platform::FileOp::Open, 1, EROFS);
    SaveAs("new.vrz");
    EXPECT_FALSE(fs::exists(folder / "new.vrz"));
    ASSERT_EQ(boxes.size(), 3u);  // "already exists", then the two errors
    EXPECT_EQ(boxes[1].text, "Access to " + readOnly.string() + " was denied.\nPermission denied");
    EXPECT_EQ(boxes[2].text,
              "Access to " + (folder / "new.vrz").string() + " was denied.\nRead-only file system");
    EXPECT_EQ(boxes[2].type & 0xF0, MB_ICONSTOP);
}

// Catches a read error that leaves a half-loaded board.
TEST_F(CommandTest, ReadErrorLeavesTheWorldAndIsReported) {
    Populate();
    SaveAs("world.vrz");
    frame->world.year = 7;
    At(9, 9) = Cell{1, 1, CELL_RED, 0, CreatureSprite(CELL_RED, 0)};
    const auto before = frame->world.board;
    platform::InjectFileFault(platform::FileOp::Read, 1, EIO);
    Load("world.vrz");
    EXPECT_EQ(frame->world.year, 7);
    EXPECT_EQ(frame->world.board, before);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "An unexpected error occurred while accessing " +
                                 (folder / "world.vrz").string() + ".\n" +
                                 platform::fs::ErrorText(EIO));
    EXPECT_EQ(boxes[0].type & 0xF0, MB_ICONSTOP);
}

// Catches settings written back partly, or a running timer left at the old length.
TEST_F(CommandTest, SettingsOkWritesBackAndRestartsTheYears) {
    frame->ToggleYears();
    ScriptedInput script(host);
    // Focus starts on OK; Tab selects the year length field's whole text.
    script.Key(VK_TAB).Type("1000").Key(VK_TAB).Type("4").Key(VK_RETURN);
    Command(ID_SETTINGS, script);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 1000);
    EXPECT_EQ(frame->world.rules.birthNeighbours, 4);
    EXPECT_EQ(frame->world.rules.lonelinessBase, 2);
    const int32_t year = frame->world.year;
    RunFor(990);
    EXPECT_EQ(frame->world.year, year);
    RunFor(20);
    EXPECT_EQ(frame->world.year, year + 1);
}

// Catches Escape that writes back, or that forgets to restart the timer.
TEST_F(CommandTest, SettingsEscapeKeepsTheRulesAndRestartsTheTimer) {
    frame->ToggleYears();
    RunFor(300);
    ScriptedInput script(host);
    script.Key(VK_TAB).Type("0").Key(VK_ESCAPE);
    Command(ID_SETTINGS, script);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 500);
    const int32_t year = frame->world.year;
    RunFor(490);
    EXPECT_EQ(frame->world.year, year);
    RunFor(20);
    EXPECT_EQ(frame->world.year, year + 1);
}

// Catches an empty field accepted, the message shown more than once, or rules written
// back after the failure.
TEST_F(CommandTest, SettingsRejectAnEmptyFieldOnce) {
    ScriptedInput script(host);
    script.Key(VK_TAB).Key(VK_TAB).Key(VK_BACK).Key(VK_RETURN);
    testsupport::SetMessageBoxHook(
        [this](HWND, const std::string& text, const std::string& caption, UINT type) {
            boxes.push_back({text, caption, type});
            ScriptedInput(host).Key(VK_RETURN).Key(VK_ESCAPE).Now();
        });
    Command(ID_SETTINGS, script);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer.");
    EXPECT_EQ(boxes[0].caption, AfxGetApp()->m_pszAppName);
    EXPECT_EQ(boxes[0].type & 0xF0, MB_ICONEXCLAMATION);
    EXPECT_EQ(frame->world.rules.birthNeighbours, 3);
}

// Catches a counter shown in another's field (ten ids, easy to swap), fields that are not
// all 0 right after start, or edits copied back to the counters.
TEST_F(CommandTest, ClansShowEachCounterInItsOwnFieldAndKeepThem) {
    const std::vector<int> ids = {
        IDC_BLUE_POPULATION, IDC_RED_POPULATION, IDC_BLUE_KILLED, IDC_RED_KILLED, IDC_BLUE_DIED,
        IDC_RED_DIED,        IDC_BLUE_BIRTHS,    IDC_RED_BIRTHS,  IDC_BLUE_TOTAL, IDC_RED_TOTAL};
    std::map<int, std::string> shown;
    ScriptedInput first(host);
    first.Call([&] { shown = Fields(ids); }).Key(VK_RETURN);
    Command(ID_CLANS, first);
    for (int id : ids) {
        EXPECT_EQ(shown[id], "0") << "field " << id << " right after start";
    }

    ClanStats& blue = frame->world.stats[CELL_BLUE];
    ClanStats& red = frame->world.stats[CELL_RED];
    blue = ClanStats{.killed = 12, .total = 18, .died = 14, .births = 16, .population = 10};
    red = ClanStats{.killed = 13, .total = -19, .died = 15, .births = 17, .population = 11};
    ScriptedInput second(host);
    second
        .Call([&] {
            shown = Fields(ids);
            SetFields({{IDC_BLUE_POPULATION, "777"}, {IDC_RED_TOTAL, "778"}});
        })
        .Key(VK_RETURN);
    Command(ID_CLANS, second);
    const std::map<int, std::string> expected = {
        {IDC_BLUE_POPULATION, "10"}, {IDC_RED_POPULATION, "11"}, {IDC_BLUE_KILLED, "12"},
        {IDC_RED_KILLED, "13"},      {IDC_BLUE_DIED, "14"},      {IDC_RED_DIED, "15"},
        {IDC_BLUE_BIRTHS, "16"},     {IDC_RED_BIRTHS, "17"},     {IDC_BLUE_TOTAL, "18"},
        {IDC_RED_TOTAL, "-19"}};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(blue.population, 10);
    EXPECT_EQ(red.total, -19);
}

// Catches a rule shown in, or read back from, another rule's field (the two random ranges,
// the two random fields, are easy to swap).
TEST_F(CommandTest, SettingsShowAndWriteBackEachRuleInItsOwnField) {
    frame->world.rules = RuleSettings{.yearLengthMs = 700,
                                      .birthNeighbours = 4,
                                      .lonelinessBase = 1,
                                      .overpopulationBase = 5,
                                      .overpopulationRandom = 6,
                                      .lonelinessRandom = 7};
    std::map<int, std::string> shown;
    ScriptedInput script(host);
    script
        .Call([&] {
            shown =
                Fields({IDC_YEAR_LENGTH, IDC_BIRTH_NEIGHBOURS, IDC_LONELINESS_BASE,
                        IDC_OVERPOPULATION_BASE, IDC_OVERPOPULATION_RANDOM, IDC_LONELINESS_RANDOM});
            SetFields({{IDC_YEAR_LENGTH, "900"},
                       {IDC_BIRTH_NEIGHBOURS, "11"},
                       {IDC_LONELINESS_BASE, "12"},
                       {IDC_OVERPOPULATION_BASE, "13"},
                       {IDC_OVERPOPULATION_RANDOM, "14"},
                       {IDC_LONELINESS_RANDOM, "15"}});
        })
        .Key(VK_RETURN);
    Command(ID_SETTINGS, script);
    const std::map<int, std::string> expected = {
        {IDC_YEAR_LENGTH, "700"},         {IDC_BIRTH_NEIGHBOURS, "4"},
        {IDC_LONELINESS_BASE, "1"},       {IDC_OVERPOPULATION_BASE, "5"},
        {IDC_OVERPOPULATION_RANDOM, "6"}, {IDC_LONELINESS_RANDOM, "7"}};
    EXPECT_EQ(shown, expected);
    // Year length, birth, loneliness base, overpopulation base and range, loneliness range.
    EXPECT_EQ(Rules(), (std::vector<int32_t>{900, 11, 12, 13, 14, 15}));
}

// Catches rules written back field by field, so that a field rejected after the others
// were read leaves them changed. The last field read is the one left empty; Escape must
// then leave every rule as it was, and mending the field must write all six.
TEST_F(CommandTest, SettingsRejectingTheLastFieldWritesNoRuleBack) {
    const std::vector<int32_t> before = Rules();
    const std::map<int, std::string> edits = {
        {IDC_YEAR_LENGTH, "900"},          {IDC_BIRTH_NEIGHBOURS, "11"},
        {IDC_LONELINESS_BASE, "12"},       {IDC_OVERPOPULATION_BASE, "13"},
        {IDC_OVERPOPULATION_RANDOM, "14"}, {IDC_LONELINESS_RANDOM, ""}};
    std::vector<int32_t> whileOpen;
    testsupport::SetMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
        boxes.push_back({text, "", 0});
        whileOpen = Rules();
        ScriptedInput(host).Key(VK_RETURN).Key(VK_ESCAPE).Now();
    });
    ScriptedInput cancelled(host);
    cancelled.Call([&] { SetFields(edits); }).Key(VK_RETURN);
    Command(ID_SETTINGS, cancelled);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(whileOpen, before);
    EXPECT_EQ(Rules(), before);

    // The focus is on the rejected field: typing into it and OK writes everything.
    ScriptedInput mend(host);
    mend.Type("15").Key(VK_RETURN);
    testsupport::SetMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
        boxes.push_back({text, "", 0});
        ScriptedInput(host).Key(VK_RETURN).Now();
        mend.After(10);
    });
    ScriptedInput mended(host);
    mended.Call([&] { SetFields(edits); }).Key(VK_RETURN);
    Command(ID_SETTINGS, mended);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(mend.fired, 1);
    EXPECT_EQ(Rules(), (std::vector<int32_t>{900, 11, 12, 13, 14, 15}));
}

// Catches a year length of 0 refused or left to the years' own default: the timer is
// started with 0 ms, which the platform raises to its 10 ms minimum, both when the dialog
// restarts the running years and at the next START.
TEST_F(CommandTest, YearLengthZeroStepsAYearEveryTenMilliseconds) {
    frame->ToggleYears();
    ScriptedInput script(host);
    script.Key(VK_TAB).Type("0").Key(VK_RETURN);
    Command(ID_SETTINGS, script);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 0);
    ASSERT_NE(frame->yearTimerId, 0u);
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start == 0 ? "restarted by the dialog" : "started again");
        const int32_t year = frame->world.year;
        RunFor(9);
        EXPECT_EQ(frame->world.year, year);
        RunFor(1);
        EXPECT_EQ(frame->world.year, year + 1);
        RunFor(100);
        EXPECT_EQ(frame->world.year, year + 11);
        frame->ToggleYears();
        RunFor(100);
        EXPECT_EQ(frame->world.year, year + 11);
        frame->ToggleYears();
    }
}

// Catches years stepped, or frames drawn or flipped, under an open dialog (which would
// hide it, or change the world behind it), and years that do not resume when it closes.
// The back buffer is filled with a marker colour when the dialog opens: a frame drawn
// meanwhile would overwrite it, and a flip would bring it to the front.
TEST_F(CommandTest, EveryDialogHoldsTheYearsAndTheFrames) {
    constexpr DWORD MARKER = 0x1234;
    frame->ToggleYears();
    struct Case {
        UINT command;
        bool messageBox;  // held by the settings' "Please enter an integer." box
    };
    for (const Case& c :
         {Case{ID_ABOUT, false}, Case{ID_CLANS, false}, Case{ID_SETTINGS, false},
          Case{ID_LOAD_WORLD, false}, Case{ID_SAVE_WORLD, false}, Case{ID_SETTINGS, true}}) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << (c.messageBox ? " box" : ""));
        RunFor(1000);
        const int32_t year = frame->world.year;
        bool gdiPageInFront = false;
        bool backBufferKept = false;
        int32_t yearAtClose = -1;
        ScriptedInput open(host);
        open.Call([&] {
            DDBLTFX fx;
            std::memset(&fx, 0, sizeof(fx));
            fx.dwSize = sizeof(fx);
            fx.dwFillColor = MARKER;
            g_display.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
            if (c.messageBox) {
                SetFields({{IDC_YEAR_LENGTH, ""}});
            }
        });
        if (c.messageBox) {
            open.Key(VK_RETURN);
        }
        ScriptedInput close(host);
        close.Call([&] {
            gdiPageInFront = platform::GdiPageInFront() && g_display.gdiPageInFront == 1;
            const SurfacePixels back = ReadSurface(g_display.backBuffer);
            backBufferKept =
                !back.pixels.empty() && std::all_of(back.pixels.begin(), back.pixels.end(),
                                                    [](uint32_t pixel) { return pixel == MARKER; });
            yearAtClose = frame->world.year;
        });
        if (c.messageBox) {
            close.Key(VK_RETURN);
        }
        close.Key(VK_ESCAPE);
        testsupport::SetMessageBoxHook(
            [&](HWND, const std::string&, const std::string&, UINT) { close.After(3000); });
        open.After(10);
        if (!c.messageBox) {
            close.After(3000);
        }
        RunCommand(c.command);
        EXPECT_EQ(close.fired, 1);
        EXPECT_TRUE(gdiPageInFront);
        EXPECT_TRUE(backBufferKept);
        EXPECT_EQ(yearAtClose, year);
        EXPECT_EQ(frame->modalOpen, 0);
        testsupport::SetMessageBoxHook(nullptr);
        RunFor(500);
        EXPECT_EQ(frame->world.year, year + 1) << "the years resume";
    }
}

// Catches an About box that does not close, or leaves modalOpen set.
TEST_F(CommandTest, AboutOpensAndCloses) {
    ScriptedInput script(host);
    script.Key(VK_RETURN);
    Command(ID_ABOUT, script);
    ScriptedInput again(host);
    again.Key(VK_ESCAPE).After(10);
    AfxGetApp()->OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(again.fired, 1);
}

}  // namespace
