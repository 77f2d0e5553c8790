// The resource-script reader against the real script, and against text it must refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/res/resources.h"
#include "platform/res/templates.h"
#include "platform/styles.h"
#include "platform/user/user.h"
#include "res/resource.h"

namespace {

using platform::DialogItemTemplate;
using platform::DialogTemplate;
using platform::MenuItemTemplate;
using platform::MenuTemplate;

HINSTANCE Module() {
    return platform::ExecutableInstance();
}

// One line per item: "text id", "-" for a separator, "> text" opening a sub-menu, "<" ending it.
void Flatten(const std::vector<MenuItemTemplate>& items, std::vector<std::string>& out) {
    for (const MenuItemTemplate& item : items) {
        if (item.separator) {
            out.push_back("-");
        } else if (item.popup) {
            out.push_back("> " + item.text);
            Flatten(item.items, out);
            out.push_back("<");
        } else {
            out.push_back(item.text + " " + std::to_string(item.id));
        }
        EXPECT_FALSE(item.checked || item.grayed || item.disabled) << item.text;
    }
}

// Catches a menu read with items lost, reordered, misnumbered or nested wrongly.
TEST(ResourceScriptMenu, Menu132HasEveryItemInOrder) {
    MenuTemplate menu;
    ASSERT_TRUE(platform::LoadMenuTemplate(Module(), MAKEINTRESOURCE(IDR_POPUP_MENU), menu));
    std::vector<std::string> got;
    Flatten(menu.items, got);
    const std::vector<std::string> want = {
        "> Plovouci menu",
        "Rody 32771",
        "-",
        "> Vkladani",
        "Modry 32779",
        "Cerveny 32780",
        "Strom 32781",
        "Skala 32782",
        "Voda 32783",
        "-",
        "Mazani 32784",
        "-",
        "Nic 32785",
        "<",
        "-",
        "Nasatveni 32773",
        "Reset 32774",
        "-",
        "> Soubor",
        "Nacti 32776",
        "Uloz 32777",
        "<",
        "-",
        "O Aplikaci 32775",
        "-",
        "Konec 32772",
        "<",
    };
    EXPECT_EQ(got, want);
}

// Catches lookups that only work one way: by id, by "#id", and a missing one failing.
TEST(ResourceScriptMenu, LookupByIdAndByHashNameAndMissing) {
    MenuTemplate a, b;
    EXPECT_TRUE(platform::LoadMenuTemplate(Module(), "#132", a));
    EXPECT_TRUE(platform::LoadMenuTemplate(Module(), MAKEINTRESOURCE(IDR_POPUP_MENU), b));
    EXPECT_EQ(a.items.size(), b.items.size());
    EXPECT_FALSE(platform::LoadMenuTemplate(Module(), MAKEINTRESOURCE(133), a));
    EXPECT_FALSE(platform::LoadMenuTemplate(nullptr, MAKEINTRESOURCE(IDR_POPUP_MENU), a));
    DialogTemplate d;
    EXPECT_FALSE(platform::LoadDialogTemplate(Module(), MAKEINTRESOURCE(IDR_POPUP_MENU), d));
    std::string s;
    EXPECT_FALSE(platform::LoadStringResource(Module(), 1, s));
}

// Catches the embed step leaving the script out of the executable.
TEST(ResourceScriptMenu, ScriptIsEmbedded) {
    platform::ResourceData data;
    ASSERT_TRUE(
        platform::FindResourceData(Module(), "VORLA", platform::ResourceType::Script, data));
    EXPECT_GT(data.size, 100u);
}

struct ExpectedItem {
    const char* cls;
    const char* text;
    int32_t id;
    int16_t x, y, cx, cy;
    DWORD style;
};

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG_STYLE = DS_MODALFRAME | DS_CENTER | WS_POPUP | DS_SETFONT;

void ExpectDialog(int id, int16_t cx, int16_t cy, const std::vector<ExpectedItem>& want) {
    DialogTemplate d;
    ASSERT_TRUE(platform::LoadDialogTemplate(Module(), MAKEINTRESOURCE(id), d));
    EXPECT_EQ(d.style, DLG_STYLE) << std::hex << d.style;
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, cx);
    EXPECT_EQ(d.cy, cy);
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.fontFace, "MS Sans Serif");
    ASSERT_EQ(d.items.size(), want.size()) << "dialog " << id;
    for (size_t i = 0; i < want.size(); ++i) {
        const DialogItemTemplate& g = d.items[i];
        const ExpectedItem& w = want[i];
        SCOPED_TRACE("dialog " + std::to_string(id) + " item " + std::to_string(i));
        EXPECT_EQ(g.className, w.cls);
        EXPECT_EQ(g.text, w.text);
        EXPECT_EQ(g.id, w.id);
        EXPECT_EQ(g.x, w.x);
        EXPECT_EQ(g.y, w.y);
        EXPECT_EQ(g.cx, w.cx);
        EXPECT_EQ(g.cy, w.cy);
        EXPECT_EQ(g.style, w.style) << std::hex << g.style << " want " << w.style;
        EXPECT_EQ(g.exStyle, 0u);
    }
}

constexpr DWORD LTEXT = CHILD | SS_LEFT | WS_GROUP;
constexpr DWORD CTEXT = CHILD | SS_CENTER | WS_GROUP;
constexpr DWORD EDIT = CHILD | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD DEFBUTTON = CHILD | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD GROUP = CHILD | BS_GROUPBOX;

// Catches wrong default styles, classes, coordinates or lost controls in the About box.
TEST(ResourceScriptDialog, AboutDialog100) {
    ExpectDialog(100, 235, 55,
                 {
                     {"STATIC", "128", -1, 7, 7, 20, 20, CHILD | SS_ICON},
                     {"STATIC", "Vorla, verze 1.0", -1, 40, 25, 188, 8, LTEXT | SS_NOPREFIX},
                     {"BUTTON", "OK", 1, 178, 7, 50, 14, DEFBUTTON | WS_GROUP},
                     {"STATIC", "136", -1, 7, 28, 20, 20, CHILD | SS_ICON},
                     {"STATIC", "Souboj Modreho a Cerveneho rodu na planu 23 x 23.", -1, 40, 40,
                      188, 8, LTEXT},
                 });
}

// Catches the statistics dialog losing an edit field or mixing up their ids and places.
TEST(ResourceScriptDialog, ClansDialog133) {
    ExpectDialog(133, 157, 125,
                 {
                     {"BUTTON", "OK", 1, 54, 104, 50, 14, DEFBUTTON},
                     {"BUTTON", "Modry rod", -1, 43, 7, 53, 91, GROUP},
                     {"BUTTON", "Cerveny rod", -1, 96, 7, 54, 91, GROUP},
                     {"STATIC", "Populace", -1, 7, 20, 30, 15, CTEXT},
                     {"EDIT", "", 1000, 49, 20, 40, 15, EDIT},
                     {"EDIT", "", 1001, 104, 21, 40, 14, EDIT},
                     {"EDIT", "", 1002, 49, 35, 40, 14, EDIT},
                     {"EDIT", "", 1003, 104, 35, 40, 14, EDIT},
                     {"EDIT", "", 1004, 49, 50, 40, 14, EDIT},
                     {"STATIC", "Zabily", -1, 7, 35, 30, 15, CTEXT},
                     {"STATIC", "Zemrelo", -1, 7, 50, 30, 14, CTEXT},
                     {"EDIT", "", 1005, 104, 50, 40, 14, EDIT},
                     {"EDIT", "", 1006, 49, 64, 40, 14, EDIT},
                     {"EDIT", "", 1007, 104, 64, 40, 14, EDIT},
                     {"STATIC", "Porodu", -1, 7, 64, 30, 14, CTEXT},
                     {"STATIC", "Total", -1, 7, 78, 30, 14, CTEXT},
                     {"EDIT", "", 1008, 49, 78, 40, 14, EDIT},
                     {"EDIT", "", 1009, 104, 78, 40, 14, EDIT},
                 });
}

// Catches ES_NUMBER being dropped (digits-only fields) or the texts' spaces trimmed.
TEST(ResourceScriptDialog, SettingsDialog135) {
    constexpr DWORD NUM = EDIT | ES_NUMBER;
    ExpectDialog(135, 154, 89,
                 {
                     {"BUTTON", "OK", 1, 53, 68, 50, 14, DEFBUTTON},
                     {"STATIC", "Delka roku", -1, 7, 7, 55, 14, CTEXT},
                     {"EDIT", "", 1010, 62, 7, 40, 14, NUM},
                     {"EDIT", "", 1011, 62, 21, 19, 14, NUM},
                     {"STATIC", "Narozeni pri", -1, 7, 21, 55, 14, CTEXT},
                     {"STATIC", "ms", -1, 106, 7, 28, 14, CTEXT},
                     {"STATIC", "sousedech.", -1, 86, 21, 61, 14, CTEXT},
                     {"STATIC", "Osamoceni =", -1, 7, 35, 55, 14, CTEXT},
                     {"EDIT", "", 1004, 62, 35, 19, 14, NUM},
                     {"EDIT", "", 1014, 117, 35, 16, 14, NUM},
                     {"STATIC", " - rand(", -1, 87, 35, 25, 14, CTEXT},
                     {"STATIC", ")", -1, 138, 35, 8, 14, LTEXT},
                     {"EDIT", "", 1016, 62, 49, 19, 14, NUM},
                     {"STATIC", "Premnozeni =", -1, 7, 49, 55, 14, CTEXT},
                     {"EDIT", "", 1015, 117, 49, 16, 14, NUM},
                     {"STATIC", " + rand(", -1, 87, 49, 22, 14, LTEXT},
                     {"STATIC", ")", -1, 138, 49, 9, 14, LTEXT},
                 });
}

// Catches the framework's texts going missing from the string table.
TEST(ResourceScriptStrings, FrameworkStrings) {
    std::string s;
    ASSERT_TRUE(platform::LoadStringResource(Module(), 61712, s));
    EXPECT_EQ(s, "Please enter an integer.");
    ASSERT_TRUE(platform::LoadStringResource(Module(), 61742, s));
    EXPECT_EQ(s, "Disk full while accessing %1.");
}

// Catches NOT, numbers, CAPTION, hex and escapes being read wrongly.
TEST(ResourceScriptSyntax, StylesCaptionsEscapesAndOptions) {
    const char* text = R"(
/* block
   comment */
#include "resource.h"
7 DIALOG DISCARDABLE 1, 2, 30, 40
STYLE WS_POPUP | 0x4
CAPTION "Say ""hi"""
BEGIN
    PUSHBUTTON "&Go", 0x10, 1, 2, 3, 4, NOT WS_TABSTOP | WS_DISABLED
    EDITTEXT 5, 1, 2, 3, 4, ES_RIGHT | NOT WS_BORDER, 8
    ICON NAMED_ICON, -1, 1, 2
END
MAINMENU MENU
{
    POPUP "&File", GRAYED
    {
        MENUITEM "&Open\tCtrl+O", 100, CHECKED, INACTIVE
    }
}
STRINGTABLE { 1, "one\ntwo" 2 "x" }
)";
    platform::ResourceScript script;
    std::string error;
    ASSERT_TRUE(platform::ParseResourceScript(text, script, &error)) << error;
    const DialogTemplate& d = script.dialogs.at("#7");
    EXPECT_EQ(d.style, WS_POPUP | 0x4u | WS_CAPTION);
    EXPECT_EQ(d.caption, "Say \"hi\"");
    ASSERT_EQ(d.items.size(), 3u);
    EXPECT_EQ(d.items[0].style, CHILD | BS_PUSHBUTTON | WS_DISABLED);
    EXPECT_EQ(d.items[0].id, 16);
    EXPECT_EQ(d.items[0].text, "&Go");
    EXPECT_EQ(d.items[1].style, CHILD | ES_RIGHT | WS_TABSTOP);
    EXPECT_EQ(d.items[1].exStyle, 8u);
    EXPECT_EQ(d.items[2].text, "NAMED_ICON");
    EXPECT_EQ(d.items[2].cx, 0);
    const MenuTemplate& m = script.menus.at("MAINMENU");
    ASSERT_EQ(m.items.size(), 1u);
    EXPECT_TRUE(m.items[0].grayed);
    ASSERT_EQ(m.items[0].items.size(), 1u);
    const MenuItemTemplate& open = m.items[0].items[0];
    EXPECT_EQ(open.text, "&Open\tCtrl+O");
    EXPECT_TRUE(open.checked);
    EXPECT_TRUE(open.disabled);
    EXPECT_EQ(script.strings.at(1), "one\ntwo");
    EXPECT_EQ(script.strings.at(2), "x");
}

// Catches malformed text crashing the reader, or being accepted as success.
TEST(ResourceScriptSyntax, MalformedTextFailsWithALine) {
    const char* bad[] = {
        "1 MENU BEGIN MENUITEM \"x\", 5",                               // no END
        "1 MENU BEGIN MENUITEM \"x\" 5 END",                            // missing comma
        "1 MENU BEGIN MENUITEM \"unterminated, 5 END",                  // string never ends
        "1 MENU BEGIN POPUP BEGIN END END",                             // popup without text
        "1 MENU BEGIN FOO \"x\", 1 END",                                // unknown statement
        "1 DIALOG 0, 0, 10\nBEGIN END",                                 // too few numbers
        "1 DIALOG 0, 0, 10, 10 STYLE WS_BOGUS BEGIN END",               // unknown style
        "1 DIALOG 0, 0, 10, 10 BEGIN LTEXT \"a\", 1, 2 END",            // short control
        "1 DIALOG 0, 0, 99999, 10 BEGIN END",                           // out of range
        "1 DIALOG 0, 0, 10, 10 BEGIN BUTTONX \"a\", 1,1,1,1,1 END",     // unknown control
        "1 DIALOG 0, 0, 10, 10 FONT 8 BEGIN END",                       // font without face
        "STRINGTABLE BEGIN 5 END",                                      // id without text
        "STRINGTABLE BEGIN 5 \"a\" 5 \"b\" END",                        // duplicate id
        "1 MENU BEGIN END 1 MENU BEGIN END",                            // duplicate menu
        "1 ACCELERATORS BEGIN END",                                     // unsupported type
        "1 MENU BEGIN MENUITEM \"x\", 99999999999 END",                 // huge number
        "1 MENU BEGIN MENUITEM \"x\", 0x END",                          // malformed hex
        "1 MENU BEGIN MENUITEM \"x\", 12abc END",                       // junk after digits
        "\"loose\"",                                                    // no resource name
        "1 MENU BEGIN MENUITEM \"x\", 1 @ END",                         // stray character
        "1 DIALOG 0, 0, 10, 10 BEGIN LTEXT \"a\", 1, 2, 3, 4, 5, END",  // dangling comma
    };
    for (const char* text : bad) {
        platform::ResourceScript script;
        script.strings[9] = "kept";
        std::string error;
        EXPECT_FALSE(platform::ParseResourceScript(text, script, &error)) << text;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << text << " -> " << error;
        EXPECT_EQ(script.strings.size(), 1u) << "output touched for: " << text;
    }
}

// Catches every prefix of a valid script crashing or reading past the end.
TEST(ResourceScriptSyntax, EveryTruncationIsSafe) {
    platform::ResourceData data;
    ASSERT_TRUE(
        platform::FindResourceData(Module(), "VORLA", platform::ResourceType::Script, data));
    std::string text(reinterpret_cast<const char*>(data.bytes), data.size);
    // Cuts inside the menu's block leave it unfinished, so they must fail.
    const size_t menuStart = text.find("132 MENU");
    const size_t menuEnd = text.find("\nEND", menuStart);
    ASSERT_NE(menuEnd, std::string::npos);
    for (size_t n = 0; n < text.size(); n += 3) {
        platform::ResourceScript script;
        bool ok = platform::ParseResourceScript(std::string_view(text).substr(0, n), script);
        if (n > menuStart + 5 && n <= menuEnd) {
            EXPECT_FALSE(ok) << "accepted a cut at " << n;
        }
    }
}

// Catches a line number that doesn't point at the fault.
TEST(ResourceScriptSyntax, ErrorNamesTheLine) {
    platform::ResourceScript script;
    std::string error;
    EXPECT_FALSE(platform::ParseResourceScript("1 MENU\nBEGIN\n  MENUITEM \"a\", 1\n  BOGUS\nEND",
                                               script, &error));
    EXPECT_EQ(error.rfind("line 4:", 0), 0u) << error;
}

}  // namespace
