// vimra-render's draw log: one line per disc drawn, in drawing order,
// "tick left top right bottom colorref", all decimal.
#pragma once

#include <cstdint>
#include <cstdio>

extern std::int32_t renderTick;   // the log's first column

// From now on every disc the back end draws is logged to `out`.
void StartDrawLog(std::FILE* out);
