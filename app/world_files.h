// A world to and from a file, the same way for the load and save commands, the world named
// on the command line and "vorla simulate". Failures throw CFileException* naming the
// file's full path and the reason; the catch site reports and deletes it.
#pragma once

#include <string>

#include "sim/world.h"

// Nothing changes unless the file is read whole and carries the marker.
void LoadWorldFile(const std::string& path, WorldState& world);
// Never harms the file it replaces.
void SaveWorldFile(const std::string& path, const WorldState& world);
