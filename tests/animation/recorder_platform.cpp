#include "recorder_platform.h"

#include <cstring>

#include "colour_cycler.h"
#include "platform.h"
#include "point_set.h"
#include "random.h"
#include "saver_proc.h"

Recorder recorder;

std::vector<PlatformCall> Recorder::Discs() const
{
    std::vector<PlatformCall> discs;
    for (const PlatformCall& call : calls) {
        if (call.op == Op::Disc) {
            discs.push_back(call);
        }
    }
    return discs;
}

void ResetAnimation()
{
    recorder = Recorder();
    colourCycler = ColourCycler(10);
    randomState = 1;
    std::memset(&pointSet, 0, sizeof pointSet);
    std::memset(&morphFrom, 0, sizeof morphFrom);
    std::memset(&morphTo, 0, sizeof morphTo);
    std::memset(&shapeState, 0, sizeof shapeState);
    discSize = {0, 0};
    screenSize = {0, 0};
    angleX = angleY = angleZ = 0;
}

namespace {

void Record(Op op, HWND window = nullptr, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0,
            std::int32_t d = 0, std::uint32_t colour = 0)
{
    recorder.calls.push_back({op, window, a, b, c, d, colour});
}

}  // namespace

void StartFrameTimer(HWND window, UINT id, UINT periodMs)
{
    Record(Op::StartTimer, window, static_cast<std::int32_t>(id), static_cast<std::int32_t>(periodMs));
}

void StopFrameTimer(HWND window, UINT id)
{
    Record(Op::StopTimer, window, static_cast<std::int32_t>(id));
}

std::int32_t ReadScreenWidth()
{
    Record(Op::ScreenWidth);
    return recorder.screenWidth;
}

std::int32_t ReadScreenHeight()
{
    Record(Op::ScreenHeight);
    return recorder.screenHeight;
}

void CreateBackBuffer(HWND window, std::int32_t width, std::int32_t height)
{
    Record(Op::CreateBuffer, window, width, height);
}

void ClearBackBuffer(std::int32_t width, std::int32_t height)
{
    Record(Op::Clear, nullptr, width, height);
}

void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom)
{
    Record(Op::Disc, nullptr, left, top, right, bottom, colour);
}

void CopyToWindow(HWND window, std::int32_t width, std::int32_t height)
{
    Record(Op::Copy, window, width, height);
}

void FreeBackBuffer()
{
    Record(Op::FreeBuffer);
}

std::time_t ReadClock()
{
    return recorder.clock;
}

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    recorder.defaultCalls.push_back({window, message, wParam, lParam});
    return recorder.defaultResult;
}
