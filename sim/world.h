// The world: the board of 23 x 23 squares, the second board the yearly step builds, the
// clan counters, the rule settings, the year and the balance gauge.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

constexpr int BOARD_SIZE = 23;
constexpr int BOARD_CELLS = BOARD_SIZE * BOARD_SIZE;

// What a square holds. The clan index (0 Blue, 1 Red) equals the type of its creatures.
enum CellType : int32_t {
    CELL_BLUE = 0,
    CELL_RED = 1,
    CELL_REMAINS = 2,
    CELL_OBSTACLE = 3,
    CELL_EMPTY = 4,
};

// A source rectangle in the sprite sheet; right and bottom exclusive.
struct SpriteRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const SpriteRect&) const = default;
};

struct Cell {
    int32_t hp = 0;
    int32_t attack = 0;
    int32_t type = 0;  // a CellType; a world file may bring any value
    int32_t age = 0;
    SpriteRect sprite;

    bool operator==(const Cell&) const = default;
};

struct ClanStats {
    int32_t killed = 0;
    int32_t total = 0;
    int32_t died = 0;
    int32_t births = 0;
    int32_t population = 0;
};

// One more for a clan counter. A long enough run would pass the int32 range; the counter
// stays at the largest value instead of overflowing.
inline void CountOne(int32_t& counter) {
    if (counter != INT32_MAX) {
        ++counter;
    }
}

struct RuleSettings {
    int32_t yearLengthMs = 500;
    int32_t birthNeighbours = 3;
    int32_t lonelinessBase = 2;
    int32_t overpopulationBase = 3;
    int32_t overpopulationRandom = 2;
    int32_t lonelinessRandom = 0;
};

// Sprite rectangles the simulation writes.
constexpr SpriteRect CreatureSprite(int32_t clan, int32_t kind) {
    return {20 * kind, 20 * clan, 20 * kind + 19, 20 * clan + 19};
}
constexpr SpriteRect SPRITE_SKELETON{0, 40, 18, 58};
constexpr SpriteRect SPRITE_GRAVE{20, 40, 38, 58};
constexpr SpriteRect SPRITE_SLAIN{40, 40, 58, 58};
constexpr SpriteRect SPRITE_ROCK{0, 60, 19, 79};
constexpr SpriteRect SPRITE_TREE{20, 60, 39, 79};
constexpr SpriteRect SPRITE_WATER{40, 60, 59, 79};

constexpr int CellIndex(int column, int row) {
    return column * BOARD_SIZE + row;
}

struct WorldState {
    RuleSettings rules;
    std::array<Cell, BOARD_CELLS> board{};      // index column * 23 + row
    std::array<Cell, BOARD_CELLS> nextBoard{};  // built by StepYear
    int32_t year = 0;
    ClanStats stats[2]{};  // 0 Blue, 1 Red
    double balance = 0.0;  // Red share in per cent, smoothed

    // Installed by the main window: stops the year timer. ResetWorld calls it.
    std::function<void()> stopYears;

    // Empties the board, clears counters and year, balance 50; stops the years.
    void ResetWorld();
    void RecountPopulations();
    // The balance target: (30 r + 1) * 100 / (30 (r + b) + 2).
    double RedShare() const;
    // One year: combat, births, deaths and remains, ageing, counters, balance.
    void StepYear();

  private:
    int32_t CountNeighbours(int column, int row, int32_t type) const;
    void StrikeNeighbour(int column, int row, int neighbourColumn, int neighbourRow);
    void TryBirth(int column, int row);
    void DecideSurvival(int column, int row);
};
