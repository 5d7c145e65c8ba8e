// The hack's copy against the back end's own picture, in a real window: after
// every frame of a run through a morph the window must show the back buffer
// fitted into it (1:1 and centred, or scaled down by cairo), nothing of an
// earlier frame. The next frame is drawn into the back buffer before the
// window is read, so a copy that still reads shared memory shows that one.
//   window_copy_test "PICTURE_WxH SCALE WINDOW_WxH"
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include "back_buffer.h"
#include "picture_fit.h"
#include "render_platform.h"
#include "saver_proc.h"
#include "target_window.h"
#include "window_copy.h"

int main(int argc, char** argv)
{
    if (argc != 2 || std::sscanf(argv[1], "%dx%d %d %dx%d", &renderScreenWidth, &renderScreenHeight, &backBufferScale[0],
                                 &targetWidth, &targetHeight) != 5 || !(display = XOpenDisplay(nullptr)))
        return std::fputs("usage: window_copy_test \"PICTURE_WxH SCALE WINDOW_WxH\", with a display\n", stderr), 2;
    targetWindow = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, targetWidth, targetHeight, 0, 0, 0xFFFFFF);
    XMapWindow(display, targetWindow);  // at once: there is no window manager
    OpenWindowCopy();
    SaverProc(nullptr, WM_CREATE, 0, 0);
    cairo_surface_t* picture = BackBufferSurface(0);
    const int width = cairo_image_surface_get_width(picture), height = cairo_image_surface_get_height(picture);
    const PictureFit fit = FitPicture(width, height, targetWidth, targetHeight);
    cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_RGB24, targetWidth, targetHeight);
    const auto* want = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(expected));
    // A second a tick: tick 10 picks a new shape, and the morph runs about 40 ticks.
    for (int tick = 0; tick < 60; ++tick, ++renderClock) {
        SaverProc(nullptr, WM_TIMER, kFrameTimerId, 0);
        cairo_t* context = cairo_create(expected);
        cairo_paint(context);
        cairo_translate(context, fit.left, fit.top);
        cairo_scale(context, fit.width / double(width), fit.height / double(height));
        cairo_set_source_surface(context, BackBufferSurface(0), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_GOOD);
        cairo_paint(context);
        cairo_destroy(context);
        RenderFrame(0);
        XImage* shown = XGetImage(display, targetWindow, 0, 0, targetWidth, targetHeight, AllPlanes, ZPixmap);
        // Scaled, where a partial compose starts shifts pixman's sampling and
        // its rounding: a level or two, where a trail differs by a disc.
        const auto* got = reinterpret_cast<std::uint32_t*>(shown->data);
        int wrong = 0;
        for (int i = 0; i < targetWidth * targetHeight; ++i)  // both 32 bits a pixel, rows unpadded
            for (int shift = 0; shift < 24; shift += 8) wrong += std::abs(int(want[i] >> shift & 255) - int(got[i] >> shift & 255)) > 3;
        if (wrong > 0) return std::printf("FAIL: frame %d: %d colour values differ from the picture's\n", tick, wrong), 1;
        XDestroyImage(shown);
    }
    cairo_surface_destroy(expected);  // and main returns 0
}
