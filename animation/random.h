// The animation's own pseudo-random generator: a 32-bit linear congruential
// generator, so that a seed gives the same shape sequence on every platform.
// Its state is the seed until the first draw.
#pragma once

#include <cstdint>

// 0..32767: bits 16 to 30 of the next state.
std::int32_t NextRandom(std::uint32_t& state);
