#include "sim/world.h"

void WorldState::ResetWorld() {
    if (stopYears) {
        stopYears();
    }
    year = 0;
    stats[0] = ClanStats{};
    stats[1] = ClanStats{};
    // Only the type: the other fields of an empty square carry no meaning.
    for (Cell& cell : board) {
        cell.type = CELL_EMPTY;
    }
    balance = 50.0;
}

void WorldState::RecountPopulations() {
    stats[CELL_BLUE].population = 0;
    stats[CELL_RED].population = 0;
    for (const Cell& cell : board) {
        if (cell.type == CELL_BLUE || cell.type == CELL_RED) {
            ++stats[cell.type].population;
        }
    }
}

double WorldState::RedShare() const {
    const int32_t r = stats[CELL_RED].population;
    const int32_t b = stats[CELL_BLUE].population;
    const int32_t numerator = 30 * r + 1;
    const int32_t denominator = 30 * (r + b) + 2;
    return double(numerator) * 100.0 / double(denominator);
}
