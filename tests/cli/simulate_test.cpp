#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/simulate.h"
#include "app/world_files.h"
#include "persist/worldfile.h"
#include "sim/random.h"

namespace {

namespace fs = std::filesystem;

class SimulateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("vorla-simulate-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    void Write(const std::string& name, const WorldState& world) {
        MemoryWorldStream image;
        WriteWorldFile(image, world);
        WriteBytes(name, image.Bytes());
    }
    void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream file(folder / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> Read(const std::string& name) const {
        std::ifstream file(folder / name, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
    }

    // Runs with the given options; keeps what was printed.
    int Run(SimulateOptions options) {
        out.str("");
        err.str("");
        return RunSimulate(options, out, err);
    }
    SimulateOptions Options(const std::string& in, uint32_t years, uint32_t seed) const {
        SimulateOptions o;
        o.inPath = Path(in);
        o.years = years;
        o.seed = seed;
        return o;
    }

    fs::path folder;
    std::ostringstream out;
    std::ostringstream err;
};

void Empty(WorldState& world) {
    world.ResetWorld();
    for (Cell& cell : world.board) {
        cell = Cell{0, 0, CELL_EMPTY, 0, {}};
    }
}

// Three Blue creatures in a row at year 10: with the program's rules the two ends die
// alone and two are born beside the middle one, whatever the random draws.
WorldState Row() {
    WorldState world;
    Empty(world);
    world.year = 10;
    for (int column : {4, 5, 6}) {
        world.board[CellIndex(column, 5)] = Cell{5, 1, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
    }
    return world;
}

// Both clans in bands across the board, with rocks between: many births, fights and
// deaths each year, so that every draw of the random source shows in the result.
WorldState Busy() {
    WorldState world;
    Empty(world);
    SeedRandom(99);
    for (int column = 0; column < BOARD_SIZE; ++column) {
        for (int row = 0; row < BOARD_SIZE; ++row) {
            const int roll = RandomBelow(10);
            const int32_t clan = column < 11 ? CELL_BLUE : CELL_RED;
            if (roll < 5) {
                world.board[CellIndex(column, row)] =
                    Cell{3, 2, clan, 0, CreatureSprite(clan, roll % 3)};
            } else if (roll == 9) {
                world.board[CellIndex(column, row)] = Cell{0, 0, CELL_OBSTACLE, 0, SPRITE_ROCK};
            }
        }
    }
    return world;
}

// Catches a run whose result depends on anything but the world, the seed and the rules
// (uninitialised state, the clock, the order of runs), and a seed used otherwise than
// start-up uses the clock's value, or a wrong number of years.
TEST_F(SimulateTest, TheSameWorldSeedAndRulesGiveTheSameFileByteForByte) {
    Write("busy.vrz", Busy());
    SimulateOptions first = Options("busy.vrz", 40, 1234);
    first.outPath = Path("first.vrz");
    SimulateOptions second = first;
    second.outPath = Path("second.vrz");
    ASSERT_EQ(Run(first), 0) << err.str();
    const std::string printed = out.str();
    SeedRandom(777);  // whatever the source held before must not matter
    ASSERT_EQ(Run(second), 0) << err.str();
    EXPECT_EQ(out.str(), printed);
    EXPECT_EQ(Read("first.vrz").size(), WORLD_FILE_SIZE);
    EXPECT_TRUE(Read("first.vrz") == Read("second.vrz"));

    // The same years stepped by hand from the seed give the same world.
    WorldState expected;
    expected.ResetWorld();
    LoadWorldFile(Path("busy.vrz"), expected);
    SeedRandom(1234);
    for (int year = 0; year < 40; ++year) {
        expected.StepYear();
    }
    Write("by-hand.vrz", expected);
    EXPECT_TRUE(Read("first.vrz") == Read("by-hand.vrz"));

    SimulateOptions other = first;
    other.seed = 1235;
    other.outPath = Path("other.vrz");
    ASSERT_EQ(Run(other), 0) << err.str();
    EXPECT_FALSE(Read("first.vrz") == Read("other.vrz")) << "the seed changed nothing";
}

// Catches statistics in the wrong order or columns, the year not carried on from the
// file, or a gauge printed from another value.
TEST_F(SimulateTest, PlainAndJsonStatisticsOfAKnownWorld) {
    Write("row.vrz", Row());
    ASSERT_EQ(Run(Options("row.vrz", 1, 5)), 0) << err.str();
    EXPECT_EQ(out.str(),
              "      population     kills    deaths    births\n"
              "blue           3         0         2         2\n"
              "red            0         0         0         0\n"
              "year     11\n"
              "balance  1.0870\n");
    EXPECT_EQ(err.str(), "");

    SimulateOptions json = Options("row.vrz", 1, 5);
    json.json = true;
    ASSERT_EQ(Run(json), 0) << err.str();
    const std::string text = out.str();
    const std::string head =
        "{\"blue\":{\"population\":3,\"kills\":0,\"deaths\":2,\"births\":2},"
        "\"red\":{\"population\":0,\"kills\":0,\"deaths\":0,\"births\":0},"
        "\"year\":11,\"balance\":";
    ASSERT_EQ(text.substr(0, head.size()), head);
    ASSERT_EQ(text.substr(text.size() - 2), "}\n");
    // The exact gauge, given so that it reads back to the same double.
    const double share = 1 * 100.0 / 92;
    EXPECT_EQ(std::stod(text.substr(head.size(), text.size() - head.size() - 2)),
              share * 0.1 + share * 0.9);
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one object on one line";
}

// Catches a rule option that does not reach the yearly step.
TEST_F(SimulateTest, TheRulesGivenAreTheRulesApplied) {
    Write("row.vrz", Row());
    auto population = [&](RuleSettings rules) {
        SimulateOptions o = Options("row.vrz", 1, 5);
        o.rules = rules;
        o.outPath = Path("out.vrz");
        EXPECT_EQ(Run(o), 0) << err.str();
        WorldState after;
        LoadWorldFile(Path("out.vrz"), after);
        return after.stats[CELL_BLUE].population;
    };
    RuleSettings noBirths;
    noBirths.birthNeighbours = 9;  // more neighbours than a square has
    EXPECT_EQ(population(noBirths), 1);
    RuleSettings nobodyLonely;
    nobodyLonely.lonelinessBase = 0;
    EXPECT_EQ(population(nobodyLonely), 5);
    RuleSettings alwaysCrowded;
    alwaysCrowded.overpopulationBase = -1;
    alwaysCrowded.overpopulationRandom = 0;
    EXPECT_EQ(population(alwaysCrowded), 2) << "only the two newborns are left";
}

// Catches a failure reported as success, a message that is not one line naming the file,
// statistics printed after a failure, and an output file made from a failed load.
TEST_F(SimulateTest, FilesThatCannotBeReadOrWrittenEndWithStatusOne) {
    std::vector<uint8_t> wrong(WORLD_FILE_SIZE, 0);
    WriteBytes("wrong.vrz", wrong);
    fs::create_directories(folder / "folder.vrz");
    struct Case {
        std::string in;
        std::string says;
    };
    for (const Case& c :
         {Case{"missing.vrz", " was not found. (No such file or directory)"},
          Case{"wrong.vrz", ". (Not a world file)"}, Case{"folder.vrz", " was denied. ("}}) {
        SCOPED_TRACE(c.in);
        SimulateOptions o = Options(c.in, 3, 1);
        o.outPath = Path("never.vrz");
        EXPECT_EQ(Run(o), 1);
        EXPECT_EQ(out.str(), "");
        const std::string message = err.str();
        EXPECT_EQ(message.find("vorla: "), 0u) << message;
        std::string named = Path(c.in) + c.says;
        std::replace(named.begin(), named.end(), '\n', '?');
        EXPECT_NE(message.find(named), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
        EXPECT_FALSE(fs::exists(folder / "never.vrz"));
    }

    Write("row.vrz", Row());
    SimulateOptions unwritable = Options("row.vrz", 1, 1);
    unwritable.outPath = Path("no-such-folder/out.vrz");
    EXPECT_EQ(Run(unwritable), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(Path("no-such-folder/out.vrz")), std::string::npos) << err.str();
}

// Catches statistics lost to a closed or full standard output while the exit says 0.
TEST_F(SimulateTest, StatisticsThatCannotBeWrittenAreAFailure) {
    Write("row.vrz", Row());
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_EQ(RunSimulate(Options("row.vrz", 1, 1), broken, err), 1);
    EXPECT_NE(err.str().find("statistics"), std::string::npos);
}

}  // namespace
