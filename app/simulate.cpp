#include "app/simulate.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <sstream>

#include "app/world_files.h"
#include "platform/afx/file.h"
#include "sim/random.h"

namespace {

std::string Number(double value, bool exact) {
    char text[64];
#if defined(__cpp_lib_to_chars)
    auto result = exact
                      ? std::to_chars(text, text + sizeof text, value)
                      : std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::string(text, result.ptr);
#else
    // A library without floating-point to_chars (libc++ 14, in the web build): the
    // shortest precision that reads back to the same double.
    if (!exact) {
        std::snprintf(text, sizeof text, "%.4f", value);
        return text;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
#endif
}

// The message box's two lines as one; a control character in a file name shows as '?'.
std::string OneLine(CFileException* error) {
    std::string text = error->GetErrorMessage();
    const size_t newline = text.find('\n');
    if (newline != std::string::npos) {
        text = text.substr(0, newline) + " (" + text.substr(newline + 1) + ")";
    }
    for (char& ch : text) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) {
            ch = '?';
        }
    }
    return text;
}

}  // namespace

std::string FormatStatistics(const WorldState& world, bool json) {
    const char* names[2] = {"blue", "red"};
    std::ostringstream text;
    char line[160];
    if (json) {
        text << '{';
        for (int clan = 0; clan < 2; ++clan) {
            const ClanStats& s = world.stats[clan];
            std::snprintf(line, sizeof line,
                          "\"%s\":{\"population\":%d,\"kills\":%d,\"deaths\":%d,\"births\":%d},",
                          names[clan], s.population, s.killed, s.died, s.births);
            text << line;
        }
        text << "\"year\":" << world.year << ",\"balance\":" << Number(world.balance, true)
             << "}\n";
        return text.str();
    }
    text << "      population     kills    deaths    births\n";
    for (int clan = 0; clan < 2; ++clan) {
        const ClanStats& s = world.stats[clan];
        std::snprintf(line, sizeof line, "%-4s  %10d%10d%10d%10d\n", names[clan], s.population,
                      s.killed, s.died, s.births);
        text << line;
    }
    text << "year     " << world.year << "\n";
    text << "balance  " << Number(world.balance, false) << "\n";
    return text.str();
}

int RunSimulate(const SimulateOptions& options, std::ostream& out, std::ostream& err) {
    auto world = std::make_unique<WorldState>();
    world->rules = options.rules;
    world->ResetWorld();
    SeedRandom(options.seed ? *options.seed : uint32_t(std::time(nullptr)));
    try {
        LoadWorldFile(options.inPath, *world);
        for (uint32_t year = 0; year < options.years; ++year) {
            world->StepYear();
        }
        if (!options.outPath.empty()) {
            SaveWorldFile(options.outPath, *world);
        }
    } catch (CFileException* error) {
        err << "vorla: " << OneLine(error) << "\n";
        error->Delete();
        return 1;
    }
    out << FormatStatistics(*world, options.json) << std::flush;
    if (!out) {
        err << "vorla: the statistics could not be written\n";
        return 1;
    }
    return 0;
}
