#include "draw_log.h"

#include "back_buffer.h"

std::int32_t renderTick;

namespace {

std::FILE* drawLog;

void LogDisc(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom)
{
    std::fprintf(drawLog, "%d %d %d %d %d %u\n", static_cast<int>(renderTick), static_cast<int>(left),
                 static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom),
                 static_cast<unsigned>(colour));
}

}  // namespace

void StartDrawLog(std::FILE* out)
{
    drawLog = out;
    onDiscDrawn = LogDisc;
}
