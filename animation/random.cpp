#include "random.h"

std::uint32_t randomState = 1;

void SeedRandom(std::uint32_t seed)
{
    randomState = seed;
}

std::int32_t NextRandom()
{
    randomState = randomState * 214013u + 2531011u;  // modulo 2^32
    return static_cast<std::int32_t>((randomState >> 16) & 0x7FFF);
}
