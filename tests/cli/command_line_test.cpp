#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

CommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

// Catches an option that works in one of its two spellings only: each value option gives
// the same result as --opt=value and as --opt value.
TEST(CommandLine, BothValueFormsGiveTheSameSettings) {
    const std::vector<std::pair<std::string, std::string>> options = {
        {"--years", "250"},  {"--seed", "4294967295"}, {"--birth", "-4"},
        {"--lonely", "1,3"}, {"--crowded", "5,-2"},    {"--out", "next.vrz"},
    };
    for (const auto& [name, value] : options) {
        SCOPED_TRACE(name);
        const CommandLine joined = Parse({"simulate", name + "=" + value, "in.vrz"});
        const CommandLine apart = Parse({"simulate", name, value, "in.vrz"});
        ASSERT_EQ(joined.mode, CommandMode::Simulate) << joined.error;
        ASSERT_EQ(apart.mode, CommandMode::Simulate) << apart.error;
        EXPECT_EQ(joined.simulate.years, apart.simulate.years);
        EXPECT_EQ(joined.simulate.seed, apart.simulate.seed);
        EXPECT_EQ(joined.simulate.outPath, apart.simulate.outPath);
        EXPECT_EQ(apart.simulate.inPath, "in.vrz");
    }
    const CommandLine scale = Parse({"--scale", "integer", "--window", "w.vrz"});
    ASSERT_EQ(scale.mode, CommandMode::Run) << scale.error;
    EXPECT_EQ(scale.scale, platform::ScaleMode::Integer);
    EXPECT_TRUE(scale.startInWindow);
    EXPECT_EQ(scale.worldPath, "w.vrz");
    EXPECT_EQ(Parse({"--scale=sharp"}).scale, platform::ScaleMode::Sharp);
}

// Catches rule values stored in the wrong setting (the two pairs swapped, base and range
// swapped), or a rule left at its default.
TEST(CommandLine, EachRuleOptionSetsItsOwnSettings) {
    const CommandLine c = Parse({"simulate", "--birth=2", "--lonely=7,8", "--crowded=9,10",
                                 "--years=3", "--seed=0", "--json", "--out=o.vrz", "in.vrz"});
    ASSERT_EQ(c.mode, CommandMode::Simulate) << c.error;
    const RuleSettings& r = c.simulate.rules;
    EXPECT_EQ(r.birthNeighbours, 2);
    EXPECT_EQ(r.lonelinessBase, 7);
    EXPECT_EQ(r.lonelinessRandom, 8);
    EXPECT_EQ(r.overpopulationBase, 9);
    EXPECT_EQ(r.overpopulationRandom, 10);
    EXPECT_EQ(r.yearLengthMs, 500);
    EXPECT_EQ(c.simulate.years, 3u);
    EXPECT_EQ(c.simulate.seed, 0u);
    EXPECT_TRUE(c.simulate.json);
    EXPECT_EQ(c.simulate.outPath, "o.vrz");
    // The extremes of a setting are taken as they are, as the rules dialog takes them.
    const CommandLine extreme = Parse({"simulate", "--lonely=-2147483648,2147483647", "in.vrz"});
    ASSERT_EQ(extreme.mode, CommandMode::Simulate) << extreme.error;
    EXPECT_EQ(extreme.simulate.rules.lonelinessBase, INT32_MIN);
    EXPECT_EQ(extreme.simulate.rules.lonelinessRandom, INT32_MAX);
}

// Catches defaults that differ from the program's: one year, the clock's seed, the
// program's rules, no output file, plain text; and a window run that is not plain.
TEST(CommandLine, DefaultsAreTheProgramsOwn) {
    const CommandLine c = Parse({"simulate", "in.vrz"});
    ASSERT_EQ(c.mode, CommandMode::Simulate);
    EXPECT_EQ(c.simulate.years, 1u);
    EXPECT_FALSE(c.simulate.seed.has_value());
    const RuleSettings defaults;
    EXPECT_EQ(c.simulate.rules.birthNeighbours, defaults.birthNeighbours);
    EXPECT_EQ(c.simulate.rules.lonelinessBase, defaults.lonelinessBase);
    EXPECT_EQ(c.simulate.rules.overpopulationRandom, defaults.overpopulationRandom);
    EXPECT_TRUE(c.simulate.outPath.empty());
    EXPECT_FALSE(c.simulate.json);

    const CommandLine run = Parse({});
    EXPECT_EQ(run.mode, CommandMode::Run);
    EXPECT_FALSE(run.startInWindow);
    EXPECT_FALSE(run.scale.has_value()) << "the environment could no longer choose";
    EXPECT_TRUE(run.worldPath.empty());
}

// Catches a usage error that is accepted, or whose message does not name what is wrong.
TEST(CommandLine, EveryUsageErrorIsOneLineNamingTheCulprit) {
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const std::vector<Case> cases = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--years=5"}, "unknown option '--years' outside simulate"},
        {{"simulate", "--window", "in.vrz"}, "unknown option '--window' for simulate"},
        {{"--scale"}, "option '--scale' needs a value"},
        {{"simulate", "in.vrz", "--out"}, "option '--out' needs a value"},
        {{"--window=yes"}, "option '--window' takes no value"},
        {{"simulate", "--json=1", "in.vrz"}, "option '--json' takes no value"},
        {{"--scale=smooth"}, "bad value 'smooth' for --scale"},
        {{"--scale="}, "bad value '' for --scale"},
        {{"simulate", "--years=-1", "in.vrz"}, "bad value '-1' for --years"},
        {{"simulate", "--years=4294967296", "in.vrz"}, "bad value '4294967296' for --years"},
        {{"simulate", "--years=12abc", "in.vrz"}, "bad value '12abc' for --years"},
        {{"simulate", "--years= 5", "in.vrz"}, "bad value ' 5' for --years"},
        {{"simulate", "--years=+5", "in.vrz"}, "bad value '+5' for --years"},
        {{"simulate", "--seed=0x10", "in.vrz"}, "bad value '0x10' for --seed"},
        {{"simulate", "--birth=2147483648", "in.vrz"}, "bad value '2147483648' for --birth"},
        {{"simulate", "--lonely=2", "in.vrz"}, "bad value '2' for --lonely"},
        {{"simulate", "--lonely=2,", "in.vrz"}, "bad value '2,' for --lonely"},
        {{"simulate", "--crowded=1,2,3", "in.vrz"}, "bad value '1,2,3' for --crowded"},
        {{"simulate", "--out=", "in.vrz"}, "bad value '' for --out"},
        {{"a.vrz", "b.vrz"}, "unexpected argument 'b.vrz'"},
        {{"simulate"}, "simulate needs a world file"},
        {{"simulate", "--years=2"}, "simulate needs a world file"},
        {{"--new\nline"}, "unknown option '--new?line'"},
        {{"--scale=\x1b[2J"}, "bad value '?[2J' for --scale"},
    };
    for (const Case& c : cases) {
        const CommandLine result = Parse(c.args);
        SCOPED_TRACE(c.args.empty() ? "" : c.args.back());
        EXPECT_EQ(result.mode, CommandMode::Error);
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
        EXPECT_NE(result.error.find(c.named), std::string::npos)
            << "message: " << result.error << "\nexpected to hold: " << c.named;
    }
}

// Catches a file argument lost among options, a dash-led file name taken for an option
// after "--", and a lone "-" refused although it names a file.
TEST(CommandLine, TheWorldFileMayStandAnywhere) {
    EXPECT_EQ(Parse({"--window", "w.vrz"}).worldPath, "w.vrz");
    EXPECT_EQ(Parse({"w.vrz", "--window"}).worldPath, "w.vrz");
    const CommandLine dashed = Parse({"--window", "--", "--odd.vrz"});
    EXPECT_EQ(dashed.mode, CommandMode::Run) << dashed.error;
    EXPECT_EQ(dashed.worldPath, "--odd.vrz");
    EXPECT_EQ(Parse({"-"}).worldPath, "-");
    const CommandLine late = Parse({"simulate", "in.vrz", "--years", "9"});
    EXPECT_EQ(late.simulate.inPath, "in.vrz");
    EXPECT_EQ(late.simulate.years, 9u);
    // "simulate" is the command only in first place; elsewhere it is a file name.
    EXPECT_EQ(Parse({"--window", "simulate"}).worldPath, "simulate");
}

// Catches --help or --version that are refused in one of the two modes, or that lose to
// a later mistake the user never gets to see explained.
TEST(CommandLine, HelpAndVersionEndTheParse) {
    EXPECT_EQ(Parse({"--help"}).mode, CommandMode::Help);
    EXPECT_EQ(Parse({"-h"}).mode, CommandMode::Help);
    EXPECT_EQ(Parse({"simulate", "--help"}).mode, CommandMode::Help);
    EXPECT_EQ(Parse({"--version"}).mode, CommandMode::Version);
    EXPECT_EQ(Parse({"--help", "--frobnicate"}).mode, CommandMode::Help);
    EXPECT_EQ(Parse({"--frobnicate", "--help"}).mode, CommandMode::Error);
    EXPECT_EQ(VersionText(), std::string("vorla ") + VORLA_VERSION + "\n");
    const std::string usage = UsageText();
    for (const char* topic : {"--window", "--scale", "simulate", "--years", "--lonely", "--crowded",
                              "--json", "space bar", "Escape", "START"}) {
        EXPECT_NE(usage.find(topic), std::string::npos) << "the usage says nothing of " << topic;
    }
}

}  // namespace
