// The command line: the window's options and those of "vorla simulate", read through one
// table. Parsing touches nothing; main() acts on the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "sim/world.h"

enum class CommandMode { Run, Simulate, Help, Version, Error };

struct SimulateOptions {
    uint32_t years = 1;
    std::optional<uint32_t> seed;  // none: the clock, as at start-up
    RuleSettings rules;
    std::string inPath;
    std::string outPath;  // empty: nothing is written
    bool json = false;
};

struct CommandLine {
    CommandMode mode = CommandMode::Run;
    bool startInWindow = false;
    std::optional<platform::ScaleMode> scale;  // none: the environment or the default decides
    std::string worldPath;                     // empty: start with the empty board
    SimulateOptions simulate;
    std::string error;  // for Error: one line naming the option or argument at fault
};

// args are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();
