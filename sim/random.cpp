#include "sim/random.h"

namespace {
uint32_t g_state = 0;

int32_t NextDraw() {
    g_state = g_state * 214013u + 2531011u;  // wraps modulo 2^32
    return int32_t((g_state >> 16) & 0x7FFF);
}
}  // namespace

void SeedRandom(uint32_t seed) { g_state = seed; }

int32_t RandomBelow(int32_t n) {
    const int64_t r = NextDraw();
    return int32_t(int64_t(n) * r / 32768);
}
