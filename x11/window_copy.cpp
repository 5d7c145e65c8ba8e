#include "window_copy.h"

#include <X11/Xutil.h>
#include <cairo.h>

#include <cmath>

#include "back_buffer.h"
#include "fps_overlay.h"
#include "picture_fit.h"
#include "platform.h"
#include "shared_memory.h"
#include "target_window.h"

PixelBox screenAreas[kMaxScreens];
std::int32_t screenAreaCount;

namespace {

// Window pixels around a changed part of a scaled-down picture that its
// averaging can reach.
constexpr std::int32_t kScaledMargin = 2;

cairo_surface_t* windowImage;                  // the window with a scaled-down picture, RGB24; null at 1:1
XImage windowXImage;                           // the same memory, described to Xlib
XShmSegmentInfo windowSegment;                 // the window image's memory where shared
XShmSegmentInfo pictureSegments[kMaxScreens];  // each back buffer's memory where shared
GC copyGc;
// Nothing has been shown yet: the window around the pictures, and each picture.
int surroundDue = 1;
int wholeCopyDue[kMaxScreens] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// The back buffers live in shared memory where they can, so that at 1:1 a
// frame goes to the server without a single copy on our side.
unsigned char* OfferSharedPicture(std::int32_t screen, std::size_t bytes)
{
    return AttachSharedMemory(pictureSegments[screen], bytes);
}

void ReleaseSharedPicture(std::int32_t screen)
{
    DetachSharedMemory(pictureSegments[screen]);
}

// An RGB24 image surface's memory as Xlib sees it (nothing is copied); its
// data is null when the surface has none. Memory in `segment` is marked as
// shared (obdata), which Send takes it by.
XImage DescribeToXlib(cairo_surface_t* image, XShmSegmentInfo& segment)
{
    XImage described = {};
    described.width = cairo_image_surface_get_width(image);
    described.height = cairo_image_surface_get_height(image);
    described.format = ZPixmap;
    described.data = reinterpret_cast<char*>(cairo_image_surface_get_data(image));
    // 0x00RRGGBB in the machine's own byte order; Xlib swaps for the server.
    described.byte_order = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;
    described.bitmap_unit = 32;
    described.bitmap_bit_order = described.byte_order;
    described.bitmap_pad = 32;
    described.depth = 24;
    described.bytes_per_line = cairo_image_surface_get_stride(image);
    described.bits_per_pixel = 32;
    described.red_mask = 0xFF0000;
    described.green_mask = 0x00FF00;
    described.blue_mask = 0x0000FF;
    XInitImage(&described);
    if (described.data != nullptr && described.data == segment.shmaddr) {
        described.obdata = reinterpret_cast<char*>(&segment);
    }
    return described;
}

void FreeWindowImage()
{
    cairo_surface_destroy(windowImage);
    windowImage = nullptr;
    DetachSharedMemory(windowSegment);
}

// A window image of the target's current size.
void MatchWindowSize()
{
    if (windowImage != nullptr && cairo_image_surface_get_width(windowImage) == targetWidth &&
        cairo_image_surface_get_height(windowImage) == targetHeight) {
        return;
    }
    FreeWindowImage();
    const std::int32_t stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, targetWidth);
    unsigned char* shared = AttachSharedMemory(windowSegment, static_cast<std::size_t>(stride) * targetHeight);
    windowImage = shared != nullptr ? cairo_image_surface_create_for_data(shared, CAIRO_FORMAT_RGB24, targetWidth,
                                                                          targetHeight, stride)
                                    : cairo_image_surface_create(CAIRO_FORMAT_RGB24, targetWidth, targetHeight);
    windowXImage = DescribeToXlib(windowImage, windowSegment);
}

// The image's `box` to the window, its top-left corner at (left, top).
void Send(XImage& image, const PixelBox& box, std::int32_t left, std::int32_t top)
{
    if (IsEmpty(box) || image.data == nullptr) {
        return;
    }
    const unsigned width = static_cast<unsigned>(box.right - box.left);
    const unsigned height = static_cast<unsigned>(box.bottom - box.top);
    if (image.obdata == nullptr) {
        XPutImage(display, targetWindow, copyGc, &image, box.left, box.top, left, top, width, height);
        return;
    }
    XShmPutImage(display, targetWindow, copyGc, &image, box.left, box.top, left, top, width, height, False);
    // The server reads the pixels when it carries the request out: until it
    // has, they must not be drawn into again.
    XSync(display, False);
}

// The window pixels that show the scaled-down picture's `changed` box.
PixelBox ShownBox(const PictureFit& fit, const PixelBox& changed, std::int32_t width, std::int32_t height)
{
    if (IsEmpty(changed)) {
        return kEmptyBox;
    }
    const double scaleX = static_cast<double>(fit.width) / width;
    const double scaleY = static_cast<double>(fit.height) / height;
    const PixelBox shown = {
        fit.left + static_cast<std::int32_t>(std::floor(changed.left * scaleX)) - kScaledMargin,
        fit.top + static_cast<std::int32_t>(std::floor(changed.top * scaleY)) - kScaledMargin,
        fit.left + static_cast<std::int32_t>(std::ceil(changed.right * scaleX)) + kScaledMargin,
        fit.top + static_cast<std::int32_t>(std::ceil(changed.bottom * scaleY)) + kScaledMargin};
    return Intersection(shown, {fit.left, fit.top, fit.left + fit.width, fit.top + fit.height});
}

// Composes `box` of the window image, within the picture (width x height)
// fitted into the window at `fit`.
void Compose(cairo_surface_t* picture, const PictureFit& fit, const PixelBox& box, std::int32_t width,
             std::int32_t height)
{
    cairo_t* context = cairo_create(windowImage);
    cairo_translate(context, fit.left, fit.top);
    cairo_scale(context, static_cast<double>(fit.width) / width, static_cast<double>(fit.height) / height);
    cairo_set_source_surface(context, picture, 0, 0);
    // GOOD averages when it scales down, so discs stay visible in a preview.
    cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_GOOD);
    cairo_identity_matrix(context);
    cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(context, box.left, box.top, box.right - box.left, box.bottom - box.top);
    cairo_fill(context);
    cairo_destroy(context);
    cairo_surface_flush(windowImage);
}

std::int32_t ScreensShown()
{
    return screenAreaCount > 0 ? screenAreaCount : 1;
}

// Where the screen's picture (width x height) lies on the window: fitted into its area.
PictureFit PlaceOf(std::int32_t screen, std::int32_t width, std::int32_t height)
{
    const PixelBox area = screenAreaCount > 0 ? screenAreas[screen] : PixelBox{0, 0, targetWidth, targetHeight};
    PictureFit fit = FitPicture(width, height, area.right - area.left, area.bottom - area.top);
    fit.left += area.left;
    fit.top += area.top;
    return fit;
}

XRectangle AsRectangle(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    return {static_cast<short>(left), static_cast<short>(top), static_cast<unsigned short>(width),
            static_cast<unsigned short>(height)};
}

// Everything of the window but the screens' pictures black (the GC draws in
// pixel 0): the bars round a fitted picture and what no monitor shows.
void BlackenSurround()
{
    Region surround = XCreateRegion();
    Region pictures = XCreateRegion();
    XRectangle rectangle = AsRectangle(0, 0, targetWidth, targetHeight);
    XUnionRectWithRegion(&rectangle, surround, surround);
    for (std::int32_t screen = 0; screen < ScreensShown(); ++screen) {
        cairo_surface_t* picture = BackBufferSurface(screen);
        const PictureFit fit =
            PlaceOf(screen, cairo_image_surface_get_width(picture), cairo_image_surface_get_height(picture));
        rectangle = AsRectangle(fit.left, fit.top, fit.width, fit.height);
        XUnionRectWithRegion(&rectangle, pictures, pictures);
    }
    XSubtractRegion(surround, pictures, surround);
    XSetRegion(display, copyGc, surround);
    XFillRectangle(display, targetWindow, copyGc, 0, 0, static_cast<unsigned>(targetWidth),
                   static_cast<unsigned>(targetHeight));
    XSetClipMask(display, copyGc, None);
    XDestroyRegion(pictures);
    XDestroyRegion(surround);
}

}  // namespace

void OpenWindowCopy()
{
    copyGc = XCreateGC(display, targetWindow, 0, nullptr);
    offerBackBufferMemory = OfferSharedPicture;
    releaseBackBufferMemory = ReleaseSharedPicture;
}

void CloseWindowCopy()
{
    FreeWindowImage();
    XFreeGC(display, copyGc);
}

void CopyWholeWindowNext()
{
    surroundDue = 1;
    for (int& due : wholeCopyDue) {
        due = 1;
    }
}

// The back buffer's size, not the animation's: they differ by the scale.
void CopyToWindow(HWND, std::int32_t screen, std::int32_t, std::int32_t)
{
    if (screen == 0) {
        DrawFpsOverlay();  // the primary's screen only
    }
    if (surroundDue) {
        BlackenSurround();
        surroundDue = 0;
    }
    cairo_surface_t* surface = BackBufferSurface(screen);
    const std::int32_t width = cairo_image_surface_get_width(surface);
    const std::int32_t height = cairo_image_surface_get_height(surface);
    const PixelBox changed = TakeChangedBox(screen);
    const PictureFit fit = PlaceOf(screen, width, height);
    const int whole = wholeCopyDue[screen];
    wholeCopyDue[screen] = 0;
    if (fit.width == width && fit.height == height) {
        // 1:1: what changed, straight from the back buffer. No window image
        // is needed (one may be left from a layout passed through on the
        // way to this one, where the picture did not fit).
        if (whole) {
            FreeWindowImage();
        }
        const PixelBox box = whole ? PixelBox{0, 0, width, height} : changed;
        XImage picture = DescribeToXlib(surface, pictureSegments[screen]);
        Send(picture, box, fit.left + box.left, fit.top + box.top);
        return;
    }
    if (whole) {
        MatchWindowSize();
    }
    const PixelBox box =
        whole ? PixelBox{fit.left, fit.top, fit.left + fit.width, fit.top + fit.height} : ShownBox(fit, changed, width, height);
    if (!IsEmpty(box)) {
        Compose(surface, fit, box, width, height);
        Send(windowXImage, box, box.left, box.top);
    }
}
