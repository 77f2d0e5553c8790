// "vorla simulate": years run with no display at all, from a world file, with the statistics
// printed at the end; for studying how the rules play out.
#pragma once

#include <ostream>
#include <string>

#include "app/command_line.h"
#include "sim/world.h"

// The exit status: 0 done, 1 a file that could not be read or written (one line on err).
int RunSimulate(const SimulateOptions& options, std::ostream& out, std::ostream& err);

// Per clan the population, kills, deaths and births; then the year and the gauge. The text
// rounds the gauge to four places; the JSON object gives it exactly.
std::string FormatStatistics(const WorldState& world, bool json);
