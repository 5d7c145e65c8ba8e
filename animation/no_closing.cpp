// DefaultSaverProc for the native drivers of SaverProc (vimra-render, the
// X11 hack, the benchmarks): nothing in SaverProc's chain decides to close
// there, since the driver itself ends the run, so every message answers 0.
#include "saver_proc.h"

LRESULT DefaultSaverProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}
