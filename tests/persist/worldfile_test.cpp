#include "persist/worldfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "sim/random.h"

namespace {

struct WriteLog : WorldStream {
    std::vector<uint32_t> sizes;
    MemoryWorldStream memory;
    uint32_t Read(void*, uint32_t) override { return 0; }
    void Write(const void* buffer, uint32_t count) override {
        sizes.push_back(count);
        memory.Write(buffer, count);
    }
};

// Hands out its bytes, then fails as a broken disk would.
struct FailingStream : WorldStream {
    std::vector<uint8_t> bytes;
    size_t failAt;
    size_t position = 0;
    uint32_t Read(void* buffer, uint32_t count) override {
        if (position + count > failAt) {
            throw std::runtime_error("read error");
        }
        std::memcpy(buffer, bytes.data() + position, count);
        position += count;
        return count;
    }
    void Write(const void*, uint32_t) override { throw std::runtime_error("write error"); }
};

void ExpectSameWorld(const WorldState& a, const WorldState& b) {
    EXPECT_EQ(a.board, b.board);
    EXPECT_EQ(a.year, b.year);
    EXPECT_EQ(a.balance, b.balance);
    for (int clan = 0; clan < 2; ++clan) {
        EXPECT_EQ(std::memcmp(&a.stats[clan], &b.stats[clan], sizeof(ClanStats)), 0);
    }
}

std::vector<uint8_t> Header(int side, bool magic, int32_t year) {
    std::vector<uint8_t> bytes(WORLD_HEADER_SIZE, 0);
    bytes[0] = 0xFF;
    bytes[2] = 0xFF;
    bytes[4] = 23;
    bytes[5] = uint8_t(side);
    if (magic) {
        std::memcpy(bytes.data() + 8, "MUXA", 4);
    }
    std::memcpy(bytes.data() + 12, &year, 4);
    return bytes;
}

void AddRecord(std::vector<uint8_t>& bytes, uint8_t code, uint8_t left, uint8_t age,
               uint8_t hp, uint8_t attack, uint8_t type) {
    const uint8_t record[9] = {code, left, age, hp, attack, type, 0, 0, 0};
    bytes.insert(bytes.end(), record, record + 9);
}

WorldState Populated() {
    WorldState world;
    world.ResetWorld();
    world.year = 0x01020304;
    world.board[CellIndex(1, 0)] = Cell{3, 2, CELL_BLUE, 5, CreatureSprite(CELL_BLUE, 1)};
    world.board[CellIndex(0, 1)] = Cell{7, 4, CELL_RED, 300, CreatureSprite(CELL_RED, 2)};
    world.board[CellIndex(22, 22)] = Cell{0, 0, CELL_OBSTACLE, 12, SPRITE_TREE};
    world.board[CellIndex(5, 5)] = Cell{0, 0, CELL_REMAINS, 2, SPRITE_SLAIN};
    return world;
}

// Catches any drift from the byte layout: header, record order, codes and low bytes.
TEST(WorldFileWriterTest, WritesTheExactLayout) {
    WriteLog log;
    WriteWorldFile(log, Populated());
    const std::vector<uint8_t>& bytes = log.memory.Bytes();
    ASSERT_EQ(bytes.size(), 4853u);
    const uint8_t head[16] = {0xFF, 0, 0xFF, 0, 23, 23, 0, 0, 'M', 'U', 'X', 'A', 4, 3, 2, 1};
    EXPECT_EQ(std::memcmp(bytes.data(), head, 16), 0);
    for (size_t i = 16; i < 92; ++i) {
        EXPECT_EQ(bytes[i], 0) << "header byte " << i;
    }
    // Blue at column 1, row 0 is the second record; Red at column 0, row 1 the 24th.
    const uint8_t blue[9] = {2, 20, 5, 3, 2, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + 101, blue, 9), 0);
    const uint8_t red[9] = {2, 40, 44, 7, 4, 1, 0, 0, 0};  // age 300 keeps its low byte
    EXPECT_EQ(std::memcmp(bytes.data() + 299, red, 9), 0);
    const uint8_t tree[9] = {1, 20, 12, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + 92 + 528 * 9, tree, 9), 0);
    const uint8_t* remains = bytes.data() + 92 + (5 * 23 + 5) * 9;
    EXPECT_EQ(remains[0], 0);
    EXPECT_EQ(remains[5], CELL_REMAINS);
    EXPECT_EQ(bytes[92 + 5], CELL_EMPTY);  // an empty square: code 0, type 4
    EXPECT_EQ(bytes[92], 0);
    for (size_t k = 0; k < 529; ++k) {
        for (size_t b = 6; b < 9; ++b) {
            ASSERT_EQ(bytes[92 + k * 9 + b], 0) << "record " << k;
        }
    }
    // One write for the header, one per record.
    ASSERT_EQ(log.sizes.size(), 530u);
    EXPECT_EQ(log.sizes[0], 92u);
    EXPECT_EQ(log.sizes[529], 9u);
}

// Catches a reader that loses a field, rebuilds the sprite wrongly, or forgets the
// recount, the unsmoothed balance or the cleared counters.
TEST(WorldFileReaderTest, RoundTripRestoresBoardAndYear) {
    MemoryWorldStream stream;
    const WorldState saved = Populated();
    WriteWorldFile(stream, saved);

    WorldState loaded;
    loaded.ResetWorld();
    loaded.stats[0].killed = 9;
    loaded.balance = 10.0;
    int stops = 0;
    loaded.stopYears = [&] { ++stops; };
    MemoryWorldStream in(stream.Bytes());
    ASSERT_TRUE(ReadWorldFile(in, loaded));

    EXPECT_EQ(stops, 1);
    EXPECT_EQ(loaded.year, saved.year);
    EXPECT_EQ(loaded.board[CellIndex(1, 0)], saved.board[CellIndex(1, 0)]);
    const Cell& red = loaded.board[CellIndex(0, 1)];
    EXPECT_EQ(red.age, 44);
    EXPECT_EQ(red.hp, 7);
    EXPECT_EQ(loaded.board[CellIndex(22, 22)], saved.board[CellIndex(22, 22)]);
    // Remains come back with the 19 x 19 rectangle.
    EXPECT_EQ(loaded.board[CellIndex(5, 5)].sprite, (SpriteRect{40, 40, 59, 59}));
    EXPECT_EQ(loaded.stats[CELL_BLUE].population, 1);
    EXPECT_EQ(loaded.stats[CELL_RED].population, 1);
    EXPECT_EQ(loaded.stats[0].killed, 0);
    EXPECT_DOUBLE_EQ(loaded.balance, 50.0);
}

// Catches a reader that touches the world before checking the marker or header size.
TEST(WorldFileReaderTest, WrongMarkerOrShortHeaderChangesNothing) {
    WorldState world = Populated();
    world.RecountPopulations();
    world.balance = 61.0;
    const WorldState before = world;
    int stops = 0;
    world.stopYears = [&] { ++stops; };

    std::vector<uint8_t> wrong = Header(23, true, 5);
    wrong[1] = 1;
    MemoryWorldStream a(wrong);
    EXPECT_FALSE(ReadWorldFile(a, world));
    std::vector<uint8_t> shortHeader = Header(23, true, 5);
    shortHeader.resize(91);
    MemoryWorldStream b(shortHeader);
    EXPECT_FALSE(ReadWorldFile(b, world));
    MemoryWorldStream c;
    EXPECT_FALSE(ReadWorldFile(c, world));

    EXPECT_EQ(stops, 0);
    ExpectSameWorld(world, before);
}

// Catches reading full records from a file without the magic, or taking its year.
TEST(WorldFileReaderTest, FileWithoutMagicIsReadFromCodeBytes) {
    std::vector<uint8_t> bytes = Header(23, false, 77);
    AddRecord(bytes, 2, 40, 9, 9, 9, 1);
    AddRecord(bytes, 1, 40, 9, 9, 9, 0);
    AddRecord(bytes, 7, 40, 9, 9, 9, 0);
    WorldState world;
    world.ResetWorld();
    MemoryWorldStream stream(bytes);
    ASSERT_TRUE(ReadWorldFile(stream, world));
    EXPECT_EQ(world.year, 0);
    EXPECT_EQ(world.board[CellIndex(0, 0)], (Cell{2, 2, CELL_BLUE, 0, {0, 0, 19, 19}}));
    EXPECT_EQ(world.board[CellIndex(1, 0)], (Cell{0, 0, CELL_OBSTACLE, 0, {0, 60, 19, 79}}));
    EXPECT_EQ(world.board[CellIndex(2, 0)].type, CELL_EMPTY);
    EXPECT_EQ(world.stats[CELL_BLUE].population, 1);
    EXPECT_DOUBLE_EQ(world.balance, world.RedShare());
}

// Catches a reader that assumes 23 records per row (byte 5 sets the side; byte 4 is
// never read).
TEST(WorldFileReaderTest, SideComesFromByteFive) {
    for (int side : {0, 10, 30}) {
        std::vector<uint8_t> bytes = Header(side, true, 12);
        bytes[4] = 99;
        for (int k = 0; k < side * side; ++k) {
            AddRecord(bytes, 2, 0, 1, 3, 1, CELL_RED);
        }
        WorldState world;
        world.ResetWorld();
        MemoryWorldStream stream(bytes);
        ASSERT_TRUE(ReadWorldFile(stream, world)) << side;
        const int filled = side < 23 ? side : 23;
        EXPECT_EQ(world.stats[CELL_RED].population, filled * filled) << side;
        EXPECT_EQ(world.year, 12);
        if (side == 10) {
            EXPECT_EQ(world.board[CellIndex(9, 9)].type, CELL_RED);
            EXPECT_EQ(world.board[CellIndex(10, 0)].type, CELL_EMPTY);
            EXPECT_EQ(world.board[CellIndex(0, 10)].type, CELL_EMPTY);
        }
    }
}

// Catches a reader that refuses a cut file, or fills cells past the cut.
TEST(WorldFileReaderTest, TruncatedFileLoadsWhatItHolds) {
    MemoryWorldStream full;
    WorldState saved;
    saved.ResetWorld();
    for (Cell& cell : saved.board) {
        cell = Cell{2, 1, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
    }
    WriteWorldFile(full, saved);
    std::vector<uint8_t> bytes = full.Bytes();
    bytes.resize(92 + 30 * 9 + 4);  // 30 whole records and a cut one
    bytes.push_back(0);

    WorldState world;
    world.ResetWorld();
    MemoryWorldStream stream(bytes);
    ASSERT_TRUE(ReadWorldFile(stream, world));
    EXPECT_EQ(world.stats[CELL_BLUE].population, 30);
    EXPECT_EQ(world.board[CellIndex(6, 1)].type, CELL_BLUE);  // record 29
    EXPECT_EQ(world.board[CellIndex(7, 1)].type, CELL_EMPTY);  // record 30, cut

    // Bytes after the last record are ignored.
    std::vector<uint8_t> longer = full.Bytes();
    longer.insert(longer.end(), 50, 0xAB);
    MemoryWorldStream extra(longer);
    ASSERT_TRUE(ReadWorldFile(extra, world));
    EXPECT_EQ(world.stats[CELL_BLUE].population, 529);
}

// Catches the half-loaded board the file layer's errors used to leave: a failing read
// must leave the world exactly as it was and reach the caller.
TEST(WorldFileReaderTest, ReadErrorLeavesTheWorldUntouched) {
    MemoryWorldStream good;
    WriteWorldFile(good, Populated());
    WorldState world = Populated();
    world.board[CellIndex(9, 9)] = Cell{4, 4, CELL_RED, 1, CreatureSprite(CELL_RED, 0)};
    world.RecountPopulations();
    world.balance = 70.0;
    world.stats[1].killed = 3;
    const WorldState before = world;
    int stops = 0;
    world.stopYears = [&] { ++stops; };

    for (size_t failAt : {size_t(100), size_t(92 + 200 * 9)}) {
        FailingStream stream;
        stream.bytes = good.Bytes();
        stream.failAt = failAt;
        EXPECT_THROW(ReadWorldFile(stream, world), std::runtime_error);
        ExpectSameWorld(world, before);
    }
    EXPECT_EQ(stops, 0);
}

TEST(WorldFileWriterTest, WriteErrorReachesTheCaller) {
    FailingStream stream;
    EXPECT_THROW(WriteWorldFile(stream, Populated()), std::runtime_error);
}

// Catches a reader that validates types or sprites it was told to keep, and a step that
// lets such squares live on.
TEST(WorldFileReaderTest, OddRecordsAreKeptAndTheNextYearEmptiesThem) {
    std::vector<uint8_t> bytes = Header(23, true, 0);
    AddRecord(bytes, 0, 200, 3, 9, 9, 7);
    AddRecord(bytes, 2, 240, 3, 9, 1, CELL_RED);
    WorldState world;
    world.ResetWorld();
    MemoryWorldStream stream(bytes);
    ASSERT_TRUE(ReadWorldFile(stream, world));
    const Cell& odd = world.board[CellIndex(0, 0)];
    EXPECT_EQ(odd.type, 7);
    EXPECT_EQ(odd.sprite, (SpriteRect{200, 140, 219, 159}));
    EXPECT_EQ(world.board[CellIndex(1, 0)].sprite.left, 240);
    EXPECT_EQ(world.stats[CELL_RED].population, 1);
    world.StepYear();
    EXPECT_EQ(world.board[CellIndex(0, 0)].type, CELL_EMPTY);
}

}  // namespace
