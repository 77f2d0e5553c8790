#include <cstring>

#include "sim/random.h"
#include "sim/world.h"

namespace {

bool OnBoard(int column, int row) {
    return column >= 0 && column < BOARD_SIZE && row >= 0 && row < BOARD_SIZE;
}

bool IsCreature(int32_t type) {
    return type == CELL_BLUE || type == CELL_RED;
}

// Ages grow without limit; wrap instead of overflowing after two billion years.
int32_t OneYearOlder(int32_t age) {
    return int32_t(uint32_t(age) + 1u);
}

// Neighbour counts of both clans for every square, made once at the start of a year.
// Types do not change until the year is over, so the counts hold for both passes.
// The board is framed by one square on each side so that no count needs a bounds test.
constexpr int FRAMED = BOARD_SIZE + 2;
struct ClanCounts {
    uint8_t count[2][FRAMED * FRAMED];
    int8_t type[FRAMED * FRAMED];  // -1 off the board and for unknown types
};
thread_local ClanCounts g_counts;

constexpr int Framed(int column, int row) {
    return (column + 1) * FRAMED + (row + 1);
}

void CountClans(const std::array<Cell, BOARD_CELLS>& board) {
    std::memset(g_counts.count, 0, sizeof(g_counts.count));
    std::memset(g_counts.type, -1, sizeof(g_counts.type));
    for (int column = 0; column < BOARD_SIZE; ++column) {
        for (int row = 0; row < BOARD_SIZE; ++row) {
            const int32_t type = board[CellIndex(column, row)].type;
            g_counts.type[Framed(column, row)] =
                type >= CELL_BLUE && type <= CELL_EMPTY ? int8_t(type) : int8_t(-1);
            if (!IsCreature(type)) {
                continue;
            }
            uint8_t* around = g_counts.count[type] + Framed(column, row);
            around[-FRAMED - 1] += 1;
            around[-FRAMED] += 1;
            around[-FRAMED + 1] += 1;
            around[-1] += 1;
            around[1] += 1;
            around[FRAMED - 1] += 1;
            around[FRAMED] += 1;
            around[FRAMED + 1] += 1;
        }
    }
}

// The order in which a square strikes its neighbours.
constexpr int STRIKE_OFFSETS[8][2] = {{-1, 0},  {1, 0},  {0, -1}, {0, 1},
                                      {-1, -1}, {-1, 1}, {1, 1},  {1, -1}};

}  // namespace

int32_t WorldState::CountNeighbours(int column, int row, int32_t type) const {
    if (IsCreature(type)) {
        return g_counts.count[type][Framed(column, row)];
    }
    int32_t count = 0;
    for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
            if ((dc != 0 || dr != 0) && OnBoard(column + dc, row + dr) &&
                board[CellIndex(column + dc, row + dr)].type == type) {
                ++count;
            }
        }
    }
    return count;
}

void WorldState::StrikeNeighbour(int column, int row, int neighbourColumn, int neighbourRow) {
    // The framed types answer "off the board" and "not a creature" in one look.
    const int32_t strikerType = g_counts.type[Framed(column, row)];
    const int32_t targetType = g_counts.type[Framed(neighbourColumn, neighbourRow)];
    if (!IsCreature(strikerType) || !IsCreature(targetType) || strikerType == targetType) {
        return;
    }
    const Cell& striker = board[CellIndex(column, row)];
    Cell& target = board[CellIndex(neighbourColumn, neighbourRow)];
    // hp and attack come from a file as bytes at most, so eight strikes stay in range;
    // saturate anyway rather than overflow on a hand-made world.
    const int64_t hp = int64_t(target.hp) - int64_t(striker.attack);
    target.hp = hp < INT32_MIN ? INT32_MIN : hp > INT32_MAX ? INT32_MAX : int32_t(hp);
}

void WorldState::TryBirth(int column, int row) {
    const int32_t type = board[CellIndex(column, row)].type;
    if (type != CELL_EMPTY && type != CELL_REMAINS) {
        return;
    }
    int32_t blue = CountNeighbours(column, row, CELL_BLUE);
    int32_t red = CountNeighbours(column, row, CELL_RED);
    const int32_t wanted = rules.birthNeighbours;
    if (blue != wanted) {
        blue = 0;
    }
    if (red != wanted) {
        red = 0;
    }
    if (blue == wanted && red == wanted) {
        if (RandomBelow(2) == 1) {
            blue = 0;
        } else {
            red = 0;
        }
    }
    if (blue <= 0 && red <= 0) {
        return;
    }
    const int32_t clan = blue > red ? CELL_BLUE : CELL_RED;
    const int32_t kind = RandomBelow(3);
    Cell& born = nextBoard[CellIndex(column, row)];
    born.type = clan;
    born.sprite = CreatureSprite(clan, kind);
    born.hp = RandomBelow(kind + 3) + kind + 1;
    born.attack = RandomBelow(kind + 2) + 1;
    born.age = 0;
    CountOne(stats[clan].total);
    CountOne(stats[clan].births);
}

void WorldState::DecideSurvival(int column, int row) {
    const Cell& cell = board[CellIndex(column, row)];
    if (!IsCreature(cell.type)) {
        return;
    }
    const int32_t clan = cell.type;
    const int32_t n = CountNeighbours(column, row, clan);

    // Thresholds in 64 bits: rule settings near the int32 limits must not overflow.
    bool dies = false;
    const int64_t loneliness = int64_t(rules.lonelinessBase) - RandomBelow(rules.lonelinessRandom);
    if (n < loneliness) {
        dies = true;
    } else {
        const int64_t crowding =
            int64_t(rules.overpopulationBase) + RandomBelow(rules.overpopulationRandom);
        dies = n > crowding || cell.hp <= 0;
    }

    Cell& next = nextBoard[CellIndex(column, row)];
    if (!dies) {
        next = cell;
        next.age = OneYearOlder(cell.age);
        return;
    }
    CountOne(stats[clan].died);
    next.type = CELL_REMAINS;
    next.hp = 0;
    next.attack = 0;
    // The remains show how the creature died: alone, slain among a few, or buried
    // by a crowd. Only the slain count as a kill for the other clan.
    if (n <= 1) {
        next.sprite = SPRITE_SKELETON;
    } else if (n <= 3) {
        next.sprite = SPRITE_SLAIN;
        CountOne(stats[1 - clan].killed);
    } else {
        next.sprite = SPRITE_GRAVE;
    }
}

void WorldState::StepYear() {
    year = int32_t(uint32_t(year) + 1u);
    CountClans(board);

    for (int column = 0; column < BOARD_SIZE; ++column) {
        for (int row = 0; row < BOARD_SIZE; ++row) {
            const Cell& cell = board[CellIndex(column, row)];
            Cell& next = nextBoard[CellIndex(column, row)];
            if (cell.type == CELL_OBSTACLE) {
                next = cell;
                next.age = OneYearOlder(cell.age);
            } else {
                next.type = CELL_EMPTY;
            }
            if (IsCreature(cell.type)) {
                for (const auto& offset : STRIKE_OFFSETS) {
                    StrikeNeighbour(column, row, column + offset[0], row + offset[1]);
                }
            }
            TryBirth(column, row);
        }
    }

    for (int column = 0; column < BOARD_SIZE; ++column) {
        for (int row = 0; row < BOARD_SIZE; ++row) {
            DecideSurvival(column, row);
        }
    }

    board = nextBoard;
    RecountPopulations();
    balance = RedShare() * 0.1 + balance * 0.9;
}
