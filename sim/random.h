// The one random source of the program: a linear congruential generator yielding
// 15-bit draws, seeded once per run.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);

// One draw r (0..32767) scaled to n: n * r / 32768, formed in 64 bits and truncated
// toward zero. Takes exactly one draw whatever n is, so the order of draws never depends
// on the rule settings. 0..n-1 for n >= 1, 0 for n = 0, n+1..0 for negative n.
int32_t RandomBelow(int32_t n);
