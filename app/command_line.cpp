#include "app/command_line.h"

#include <charconv>
#include <functional>
#include <limits>
#include <string_view>

namespace {

constexpr int64_t INT32_LOW = std::numeric_limits<int32_t>::min();
constexpr int64_t INT32_HIGH = std::numeric_limits<int32_t>::max();
constexpr int64_t UINT32_HIGH = std::numeric_limits<uint32_t>::max();

// Decimal only, the whole text, within [low, high]; no sign for an unsigned range, no
// blanks, no "0x": a value the user mistyped is refused rather than half read.
bool ParseWhole(std::string_view text, int64_t low, int64_t high, int64_t& out) {
    if (text.empty() || (low >= 0 && text[0] == '-') || text[0] == '+') {
        return false;
    }
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, out);
    return error == std::errc() && stop == end && out >= low && out <= high;
}

bool ParseInt32(std::string_view text, int32_t& out) {
    int64_t value = 0;
    if (!ParseWhole(text, INT32_LOW, INT32_HIGH, value)) {
        return false;
    }
    out = int32_t(value);
    return true;
}

// "BASE,RANGE": the two settings of one death rule.
bool ParsePair(std::string_view text, int32_t& base, int32_t& range) {
    const size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseInt32(text.substr(0, comma), base) &&
           ParseInt32(text.substr(comma + 1), range);
}

enum class Takes { Nothing, Value };
enum Modes : unsigned { RUN = 1, SIMULATE = 2 };

struct Option {
    std::string_view name;
    Takes takes;
    unsigned modes;
    std::string_view expected;  // the bad-value message: what the value must be
    std::function<bool(CommandLine&, std::string_view)> apply;  // false: a bad value
};

const std::vector<Option>& Options() {
    static const std::vector<Option> table = {
        {"help", Takes::Nothing, RUN | SIMULATE, "",
         [](CommandLine& c, std::string_view) {
             c.mode = CommandMode::Help;
             return true;
         }},
        {"version", Takes::Nothing, RUN | SIMULATE, "",
         [](CommandLine& c, std::string_view) {
             c.mode = CommandMode::Version;
             return true;
         }},
        {"window", Takes::Nothing, RUN, "",
         [](CommandLine& c, std::string_view) {
             c.startInWindow = true;
             return true;
         }},
        {"scale", Takes::Value, RUN, "sharp or integer",
         [](CommandLine& c, std::string_view v) {
             platform::ScaleMode mode{};
             if (!platform::ParseScaleMode(v, mode)) {
                 return false;
             }
             c.scale = mode;
             return true;
         }},
        {"years", Takes::Value, SIMULATE, "a whole number from 0 to 4294967295",
         [](CommandLine& c, std::string_view v) {
             int64_t n = 0;
             if (!ParseWhole(v, 0, UINT32_HIGH, n)) {
                 return false;
             }
             c.simulate.years = uint32_t(n);
             return true;
         }},
        {"seed", Takes::Value, SIMULATE, "a whole number from 0 to 4294967295",
         [](CommandLine& c, std::string_view v) {
             int64_t n = 0;
             if (!ParseWhole(v, 0, UINT32_HIGH, n)) {
                 return false;
             }
             c.simulate.seed = uint32_t(n);
             return true;
         }},
        {"birth", Takes::Value, SIMULATE, "a whole number",
         [](CommandLine& c, std::string_view v) {
             return ParseInt32(v, c.simulate.rules.birthNeighbours);
         }},
        {"lonely", Takes::Value, SIMULATE, "two whole numbers, BASE,RANGE",
         [](CommandLine& c, std::string_view v) {
             RuleSettings& r = c.simulate.rules;
             return ParsePair(v, r.lonelinessBase, r.lonelinessRandom);
         }},
        {"crowded", Takes::Value, SIMULATE, "two whole numbers, BASE,RANGE",
         [](CommandLine& c, std::string_view v) {
             RuleSettings& r = c.simulate.rules;
             return ParsePair(v, r.overpopulationBase, r.overpopulationRandom);
         }},
        {"out", Takes::Value, SIMULATE, "a file name",
         [](CommandLine& c, std::string_view v) {
             c.simulate.outPath = v;
             return !v.empty();
         }},
        {"json", Takes::Nothing, SIMULATE, "",
         [](CommandLine& c, std::string_view) {
             c.simulate.json = true;
             return true;
         }},
    };
    return table;
}

const Option* FindOption(std::string_view name, unsigned mode) {
    for (const Option& option : Options()) {
        if (option.name == name && (option.modes & mode) != 0) {
            return &option;
        }
    }
    return nullptr;
}

// The message echoes what was typed; a control character in it (a newline in a quoted
// argument, an escape sequence) is shown as '?', so the message stays one plain line.
CommandLine Fail(std::string message) {
    for (char& ch : message) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) {
            ch = '?';
        }
    }
    CommandLine c;
    c.mode = CommandMode::Error;
    c.error = std::move(message);
    return c;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    size_t i = 0;
    unsigned mode = RUN;
    if (!args.empty() && args[0] == "simulate") {
        mode = SIMULATE;
        c.mode = CommandMode::Simulate;
        i = 1;
    }
    std::string& file = mode == SIMULATE ? c.simulate.inPath : c.worldPath;
    bool haveFile = false;
    bool optionsEnded = false;
    // --help and --version win over everything after them, as they end the program at once.
    bool stop = false;
    for (; i < args.size() && !stop; ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        const bool looksLikeOption = !optionsEnded && arg.size() >= 2 && arg[0] == '-';
        if (looksLikeOption && arg[1] != '-' && arg != "-h") {
            return Fail("unknown option '" + arg + "'");
        }
        if (!looksLikeOption) {
            if (haveFile) {
                return Fail("unexpected argument '" + arg + "': give one world file");
            }
            file = arg;
            haveFile = true;
            continue;
        }
        const std::string_view body = arg == "-h" ? "help" : std::string_view(arg).substr(2);
        const size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        const Option* option = FindOption(name, mode);
        if (option == nullptr) {
            return Fail("unknown option '--" + std::string(name) + "'" +
                        (FindOption(name, RUN | SIMULATE) != nullptr
                             ? (mode == SIMULATE ? " for simulate" : " outside simulate")
                             : ""));
        }
        std::string_view value;
        if (option->takes == Takes::Nothing) {
            if (equals != std::string_view::npos) {
                return Fail("option '--" + std::string(name) + "' takes no value");
            }
        } else if (equals != std::string_view::npos) {
            value = body.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Fail("option '--" + std::string(name) + "' needs a value");
        }
        if (!option->apply(c, value)) {
            return Fail("bad value '" + std::string(value) + "' for --" + std::string(name) + ": " +
                        std::string(option->expected));
        }
        stop = c.mode == CommandMode::Help || c.mode == CommandMode::Version;
    }
    if (c.mode == CommandMode::Simulate && !haveFile) {
        return Fail("simulate needs a world file to start from");
    }
    return c;
}

std::string UsageText() {
    return R"(Usage: vorla [OPTIONS] [WORLD.vrz]
       vorla simulate [--years=N] [--seed=S] [--birth=B] [--lonely=L,R]
                      [--crowded=C,R] [--out=OUT.vrz] [--json] IN.vrz

Two clans live, breed, fight and die on a board of 23 x 23 squares. A world file
named here is loaded once the board is ready, with the years paused.

Options:
  --window               start in a window instead of full screen
  --scale=sharp|integer  how the picture fills the screen (default sharp;
                         VORLA_SCALE in the environment sets it too)
  --help                 show this text and exit
  --version              show the version and exit
An option's value may follow as --opt=value or --opt value.

Keys and mouse:
  left button            paint the square with the current tool; drag to paint
  pointing at a square   its portrait, hit points, attack and age in the panel
  MENU                   the menu: clans, tools, rules, reset, load and save
  START / STOP           run or pause the years
  space bar              one year (on release)
  Escape                 end the program (on release)
  Alt+Enter              switch between full screen and a window

vorla simulate: run years with no display, then print the statistics.
  --years=N              years to run (default 1)
  --seed=S               seed the random source with S instead of the clock
  --birth=B              neighbours of one clan that make a birth (default 3)
  --lonely=L,R           dies alone with fewer than L - rand(R) of its own
                         clan around (default 2,0)
  --crowded=C,R          dies crowded with more than C + rand(R) (default 3,2)
  --out=OUT.vrz          write the resulting world to OUT.vrz
  --json                 print the statistics as one JSON object
Exit status: 0 done, 1 a file could not be read or written, 2 a usage error.
)";
}

std::string VersionText() {
    return std::string("vorla ") + VORLA_VERSION + "\n";
}
