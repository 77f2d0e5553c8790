#include "persist/worldfile.h"

#include <algorithm>
#include <cstring>

uint32_t MemoryWorldStream::Read(void* buffer, uint32_t count) {
    const size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const uint32_t n = uint32_t(std::min<size_t>(count, available));
    if (n > 0) {
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
    }
    return n;
}

void MemoryWorldStream::Write(const void* buffer, uint32_t count) {
    if (count == 0) {
        return;
    }
    if (position_ + count > bytes_.size()) {
        bytes_.resize(position_ + count);
    }
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
}

namespace {

void PutU32(uint8_t* at, uint32_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
    at[2] = uint8_t(value >> 16);
    at[3] = uint8_t(value >> 24);
}

uint32_t GetU32(const uint8_t* at) {
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) |
           (uint32_t(at[3]) << 24);
}

// The code byte lets a reader that knows only codes find creatures and obstacles.
uint8_t CodeOf(int32_t type) {
    if (type == CELL_BLUE || type == CELL_RED) {
        return 2;
    }
    return type == CELL_OBSTACLE ? 1 : 0;
}

}  // namespace

void WriteWorldFile(WorldStream& stream, const WorldState& world) {
    uint8_t header[WORLD_HEADER_SIZE] = {};
    PutU32(header, WORLD_MARKER);
    header[4] = BOARD_SIZE;
    header[5] = BOARD_SIZE;
    std::memcpy(header + 8, WORLD_MAGIC, 4);
    PutU32(header + 12, uint32_t(world.year));
    stream.Write(header, WORLD_HEADER_SIZE);

    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int column = 0; column < BOARD_SIZE; ++column) {
            const Cell& cell = world.board[CellIndex(column, row)];
            uint8_t record[WORLD_RECORD_SIZE] = {};
            record[0] = CodeOf(cell.type);
            record[1] = uint8_t(cell.sprite.left);
            record[2] = uint8_t(cell.age);
            record[3] = uint8_t(cell.hp);
            record[4] = uint8_t(cell.attack);
            record[5] = uint8_t(cell.type);
            stream.Write(record, WORLD_RECORD_SIZE);
        }
    }
}

bool ReadWorldFile(WorldStream& stream, WorldState& world) {
    uint8_t header[WORLD_HEADER_SIZE];
    if (stream.Read(header, WORLD_HEADER_SIZE) != WORLD_HEADER_SIZE ||
        GetU32(header) != WORLD_MARKER) {
        return false;
    }
    const bool hasMagic = std::memcmp(header + 8, WORLD_MAGIC, 4) == 0;
    const int side = header[5];

    // Everything is read before the world changes, so a failing read costs nothing.
    static_assert(WORLD_FILE_LIMIT < (1u << 20));
    std::vector<uint8_t> records(size_t(side) * side * WORLD_RECORD_SIZE);
    size_t complete = 0;
    while (complete < size_t(side) * side) {
        uint8_t* record = records.data() + complete * WORLD_RECORD_SIZE;
        if (stream.Read(record, WORLD_RECORD_SIZE) != WORLD_RECORD_SIZE) {
            break;  // cut short: this record and the rest stay empty
        }
        ++complete;
    }

    world.ResetWorld();
    if (hasMagic) {
        world.year = int32_t(GetU32(header + 12));
    }
    for (size_t k = 0; k < complete; ++k) {
        const int column = int(k % side);
        const int row = int(k / side);
        if (column >= BOARD_SIZE || row >= BOARD_SIZE) {
            continue;
        }
        const uint8_t* record = records.data() + k * WORLD_RECORD_SIZE;
        Cell& cell = world.board[CellIndex(column, row)];
        if (hasMagic) {
            const int32_t type = record[5];
            cell.type = type;
            cell.age = record[2];
            cell.hp = record[3];
            cell.attack = record[4];
            cell.sprite = {record[1], 20 * type, record[1] + 19, 20 * type + 19};
        } else if (record[0] == 1) {
            cell = Cell{0, 0, CELL_OBSTACLE, 0, SPRITE_ROCK};
        } else if (record[0] == 2) {
            cell = Cell{2, 2, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
        } else {
            cell.type = CELL_EMPTY;
        }
    }
    world.RecountPopulations();
    world.balance = world.RedShare();
    return true;
}
