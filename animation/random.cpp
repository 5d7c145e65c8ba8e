#include "random.h"

std::int32_t NextRandom(std::uint32_t& state)
{
    state = state * 214013u + 2531011u;  // modulo 2^32
    return static_cast<std::int32_t>((state >> 16) & 0x7FFF);
}
