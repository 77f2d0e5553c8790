// Resource and command identifiers.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDR_MAINFRAME = 128;  // the application icon: a red cross
constexpr unsigned IDR_POPUP_MENU = 132;
constexpr unsigned IDD_CLANS = 133;
constexpr unsigned IDD_SETTINGS = 135;
constexpr unsigned IDI_BLUE_SHIELD = 136;
constexpr unsigned IDC_SWORD_CURSOR = 139;

constexpr unsigned ID_CLANS = 32771;
constexpr unsigned ID_EXIT = 32772;
constexpr unsigned ID_SETTINGS = 32773;
constexpr unsigned ID_RESET = 32774;
constexpr unsigned ID_ABOUT = 32775;
constexpr unsigned ID_LOAD_WORLD = 32776;
constexpr unsigned ID_SAVE_WORLD = 32777;
constexpr unsigned ID_TOOL_BLUE = 32779;
constexpr unsigned ID_TOOL_RED = 32780;
constexpr unsigned ID_TOOL_TREE = 32781;
constexpr unsigned ID_TOOL_ROCK = 32782;
constexpr unsigned ID_TOOL_WATER = 32783;
constexpr unsigned ID_TOOL_ERASE = 32784;
constexpr unsigned ID_TOOL_NOTHING = 32785;
