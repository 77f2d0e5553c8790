// The program's resource, command and control ids, each defined once: the resource script
// (vorla.rc) names them from here, and so does the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDR_MAINFRAME 128  // the application icon: a red cross
#define IDR_POPUP_MENU 132
#define IDD_CLANS 133
#define IDD_SETTINGS 135
#define IDI_BLUE_SHIELD 136
#define IDC_SWORD_CURSOR 139

// The pop-up menu's commands.
#define ID_CLANS 32771
#define ID_EXIT 32772
#define ID_SETTINGS 32773
#define ID_RESET 32774
#define ID_ABOUT 32775
#define ID_LOAD_WORLD 32776
#define ID_SAVE_WORLD 32777
#define ID_TOOL_BLUE 32779
#define ID_TOOL_RED 32780
#define ID_TOOL_TREE 32781
#define ID_TOOL_ROCK 32782
#define ID_TOOL_WATER 32783
#define ID_TOOL_ERASE 32784
#define ID_TOOL_NOTHING 32785

// A control that no code looks up.
#define IDC_STATIC -1

// The clan statistics: Blue's column, then Red's.
#define IDC_BLUE_POPULATION 1000
#define IDC_RED_POPULATION 1001
#define IDC_BLUE_KILLED 1002
#define IDC_RED_KILLED 1003
#define IDC_BLUE_DIED 1004
#define IDC_RED_DIED 1005
#define IDC_BLUE_BIRTHS 1006
#define IDC_RED_BIRTHS 1007
#define IDC_BLUE_TOTAL 1008
#define IDC_RED_TOTAL 1009

// The rule settings.
#define IDC_YEAR_LENGTH 1010
#define IDC_BIRTH_NEIGHBOURS 1011
#define IDC_LONELINESS_BASE 1004
#define IDC_LONELINESS_RANDOM 1014
#define IDC_OVERPOPULATION_RANDOM 1015
#define IDC_OVERPOPULATION_BASE 1016
