// Arbitrary bytes as a world file, then a few years on whatever loaded.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "persist/worldfile.h"
#include "sim/random.h"
#include "sim/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SeedRandom(uint32_t(size));
    WorldState world;
    world.ResetWorld();
    MemoryWorldStream stream(std::vector<uint8_t>(data, data + size));
    if (ReadWorldFile(stream, world)) {
        for (int year = 0; year < 3; ++year) {
            world.StepYear();
        }
        MemoryWorldStream out;
        WriteWorldFile(out, world);
        if (out.Bytes().size() != WORLD_FILE_SIZE) {
            __builtin_trap();
        }
    }
    return 0;
}
