// Menu objects: loading, queries, item states, building and destroying.
#include <gtest/gtest.h>

#include <string>

#include "menu_fixture.h"
#include "platform/res/resources.h"
#include "res/resource.h"

namespace {

using namespace menutest;

std::string Text(HMENU m, int pos) {
    char buf[64];
    GetMenuString(m, UINT(pos), buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

// Catches the loaded menu losing items, ids or sub-menus on the way from the template.
TEST(MenuObjects, LoadedMenuAnswersQueries) {
    HMENU bar = LoadMenu(platform::ExecutableInstance(), MAKEINTRESOURCE(IDR_POPUP_MENU));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 12);
    EXPECT_EQ(GetMenuItemID(popup, 0), ID_RODY);
    EXPECT_EQ(GetMenuItemID(popup, 1), 0u);           // separator
    EXPECT_EQ(GetMenuItemID(popup, 2), 0xFFFFFFFFu);  // sub-menu
    EXPECT_EQ(GetMenuItemID(popup, 11), ID_KONEC);
    EXPECT_EQ(GetMenuItemID(popup, 12), 0xFFFFFFFFu);
    EXPECT_EQ(Text(popup, 2), "Vkladani");
    EXPECT_EQ(Text(popup, 9), "O Aplikaci");
    EXPECT_EQ(GetMenuState(popup, 1, MF_BYPOSITION), MF_SEPARATOR);
    HMENU tools = GetSubMenu(popup, 2);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(GetMenuItemCount(tools), 9);
    EXPECT_EQ(GetMenuState(popup, 2, MF_BYPOSITION), (9u << 8) | MF_POPUP);
    EXPECT_EQ(GetSubMenu(popup, 0), nullptr);
    EXPECT_EQ(GetMenuState(popup, ID_NIC, MF_BYCOMMAND), 0u);  // found in the sub-menu
    EXPECT_EQ(GetMenuState(popup, 32778, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(GetMenuString(popup, ID_NIC, nullptr, 0, MF_BYCOMMAND), 3);
    EXPECT_EQ(LoadMenu(platform::ExecutableInstance(), MAKEINTRESOURCE(999)), nullptr);
    EXPECT_TRUE(DestroyMenu(bar));
}

// Catches wrong previous states, or checks and greying leaking onto other items.
TEST(MenuObjects, CheckAndEnableReturnPreviousState) {
    HMENU bar = LoadMenu(platform::ExecutableInstance(), MAKEINTRESOURCE(IDR_POPUP_MENU));
    HMENU popup = GetSubMenu(bar, 0);
    EXPECT_EQ(CheckMenuItem(popup, ID_NIC, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(popup, ID_NIC, MF_BYCOMMAND | MF_CHECKED), MF_CHECKED);
    EXPECT_EQ(GetMenuState(popup, ID_NIC, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(popup, ID_MODRY, MF_BYCOMMAND), 0u);
    EXPECT_EQ(EnableMenuItem(popup, 0, MF_BYPOSITION | MF_GRAYED), BOOL(MF_ENABLED));
    EXPECT_EQ(EnableMenuItem(popup, ID_RODY, MF_BYCOMMAND | MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(CheckMenuItem(popup, 40000, MF_CHECKED), 0xFFFFFFFFu);
    EXPECT_EQ(EnableMenuItem(popup, 99, MF_BYPOSITION), -1);
    DestroyMenu(bar);
}

// Catches a destroyed menu (or its sub-menus) still answering, and double destruction.
TEST(MenuObjects, DestroyTakesSubMenusAlong) {
    HMENU bar = LoadMenu(platform::ExecutableInstance(), MAKEINTRESOURCE(IDR_POPUP_MENU));
    HMENU popup = GetSubMenu(bar, 0);
    HMENU tools = GetSubMenu(popup, 2);
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetMenuItemCount(popup), -1);
    EXPECT_EQ(GetMenuItemCount(tools), -1);
    EXPECT_FALSE(AppendMenu(popup, MF_STRING, 1, "x"));
}

// Catches built menus storing the wrong kind of item, or a menu containing itself.
TEST(MenuObjects, AppendBuildsItemsOfEachKind) {
    HMENU m = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    EXPECT_TRUE(AppendMenu(m, MF_STRING | MF_CHECKED, 7, "&Seven"));
    EXPECT_TRUE(AppendMenu(m, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(AppendMenu(m, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(sub), "More"));
    EXPECT_FALSE(AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(m), "Self"));
    EXPECT_EQ(GetMenuItemCount(m), 3);
    EXPECT_EQ(GetMenuItemID(m, 0), 7u);
    EXPECT_EQ(GetMenuState(m, 7, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetSubMenu(m, 2), sub);
    EXPECT_EQ(GetMenuState(m, 2, MF_BYPOSITION), MF_POPUP | MF_GRAYED);
    char small[4];
    EXPECT_EQ(GetMenuString(m, 0, small, sizeof small, MF_BYPOSITION), 3);
    EXPECT_STREQ(small, "&Se");
    EXPECT_TRUE(DestroyMenu(m));
    EXPECT_EQ(GetMenuItemCount(sub), -1);
}

}  // namespace
