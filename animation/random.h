// The animation's own pseudo-random generator: a 32-bit linear congruential
// generator, so that a seed gives the same shape sequence on every platform.
#pragma once

#include <cstdint>

// State of the generator; 1 until seeded.
extern std::uint32_t randomState;

void SeedRandom(std::uint32_t seed);
// 0..32767: bits 16 to 30 of the next state.
std::int32_t NextRandom();
