#include "sim/brush.h"

#include "sim/random.h"

int32_t ToolForCommand(uint32_t commandId) {
    for (int32_t tool = 0; tool < TOOL_COUNT; ++tool) {
        if (TOOL_COMMAND_IDS[tool] == commandId) {
            return tool;
        }
    }
    return -1;
}

bool UpdateToolCheck(int32_t currentTool, uint32_t commandId) {
    const int32_t tool = ToolForCommand(commandId);
    return tool >= 0 && tool == currentTool;
}

namespace {
Cell ObstacleTemplate(SpriteRect sprite) {
    Cell cell;
    cell.type = CELL_OBSTACLE;
    cell.sprite = sprite;
    return cell;
}
}  // namespace

void Brush::SelectTool(int32_t toolId) {
    switch (toolId) {
        case TOOL_TREE:
            templateCell = ObstacleTemplate(SPRITE_TREE);
            break;
        case TOOL_ROCK:
            templateCell = ObstacleTemplate(SPRITE_ROCK);
            break;
        case TOOL_WATER:
            templateCell = ObstacleTemplate(SPRITE_WATER);
            break;
        case TOOL_ERASE:
            // The rest of the template is left over from the last obstacle; an empty
            // square ignores it.
            templateCell.type = CELL_EMPTY;
            break;
        case TOOL_BLUE:
        case TOOL_RED:
        case TOOL_NOTHING:
            break;
        default:
            return;  // not a tool: keep the current one
    }
    tool = toolId;
}

void Brush::ApplyBrush(WorldState& world, int column, int row) {
    if (column < 0 || column >= BOARD_SIZE || row < 0 || row >= BOARD_SIZE) {
        return;
    }
    Cell& cell = world.board[CellIndex(column, row)];
    switch (tool) {
        case TOOL_BLUE:
        case TOOL_RED: {
            const int32_t clan = tool;
            if (cell.type == clan) {
                return;
            }
            const int32_t kind = RandomBelow(3);
            cell.type = clan;
            cell.sprite = CreatureSprite(clan, kind);
            cell.hp = RandomBelow(kind + 3) + kind + 1;
            // Placed creatures strike harder than newborns of the same kind.
            cell.attack = RandomBelow(kind + 2) + kind + 1;
            cell.age = 0;
            CountOne(world.stats[clan].total);
            return;
        }
        case TOOL_ROCK:
        case TOOL_WATER:
        case TOOL_TREE:
        case TOOL_ERASE:
            cell = templateCell;
            return;
        default:
            return;
    }
}
