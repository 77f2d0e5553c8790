// The placement brush: the tool the user paints the board with.
#pragma once

#include <cstdint>

#include "res/resource.h"
#include "sim/world.h"

enum ToolId : int32_t {
    TOOL_BLUE = 0,
    TOOL_RED = 1,
    TOOL_ROCK = 2,
    TOOL_WATER = 3,
    TOOL_TREE = 4,
    TOOL_ERASE = 5,
    TOOL_NOTHING = 6,
};
constexpr int32_t TOOL_COUNT = 7;

// The menu command of each tool, indexed by tool id. Rock and tree are not in menu
// order: the menu lists Modry, Cerveny, Strom, Skala, Voda, Mazani, Nic.
constexpr uint32_t TOOL_COMMAND_IDS[TOOL_COUNT] = {ID_TOOL_BLUE,   ID_TOOL_RED,  ID_TOOL_ROCK,
                                                   ID_TOOL_WATER,  ID_TOOL_TREE, ID_TOOL_ERASE,
                                                   ID_TOOL_NOTHING};

// The tool a menu command selects, or -1 for any other command.
int32_t ToolForCommand(uint32_t commandId);

// The check rule of the tool items: the item of commandId carries a check mark exactly
// when it selects the current tool.
bool UpdateToolCheck(int32_t currentTool, uint32_t commandId);

struct Brush {
    int32_t tool = TOOL_NOTHING;
    Cell templateCell;  // what rock, tree, water and erase copy onto the board

    // What choosing the tool's menu item does.
    void SelectTool(int32_t toolId);
    // Applies the current tool to one square (column and row 0..22).
    void ApplyBrush(WorldState& world, int column, int row);
};
