#!/usr/bin/env python3
"""Counts the frames an X program puts on the screen, from outside it: watches the
root window (and everything drawn inside it) with the DAMAGE extension and counts
bursts of drawing. A frame is one burst: drawing that follows the previous drawing
by more than GAP seconds starts a new frame. Programs that draw a frame every 50 ms
in a few milliseconds are counted exactly; the watcher draws nothing itself.

    count_frames.py SECONDS    prints the frames per second over that many seconds
"""
import ctypes
import select
import sys
import time

GAP = 0.015  # seconds without drawing that separate two frames
REPORT_NON_EMPTY = 3  # XDamageReportNonEmpty

x11 = ctypes.CDLL("libX11.so.6")
damage = ctypes.CDLL("libXdamage.so.1")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p]
damage.XDamageQueryVersion.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p]
damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]


def main(seconds):
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("count_frames: cannot open the display")
    event_base, error_base = ctypes.c_int(), ctypes.c_int()
    if not damage.XDamageQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
        sys.exit("count_frames: the X server has no DAMAGE extension")
    major, minor = ctypes.c_int(1), ctypes.c_int(1)
    damage.XDamageQueryVersion(display, ctypes.byref(major), ctypes.byref(minor))  # required first
    watched = damage.XDamageCreate(display, x11.XDefaultRootWindow(display), REPORT_NON_EMPTY)
    event = ctypes.create_string_buffer(192)  # an XEvent, whose first int is its type
    frames, last_drawing = 0, 0.0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        x11.XFlush(display)
        # Short waits: Xlib may already hold events that the socket no longer shows.
        select.select([x11.XConnectionNumber(display)], [], [], GAP / 3)
        while x11.XPending(display):
            x11.XNextEvent(display, event)
            if ctypes.c_int.from_buffer(event).value != event_base.value:
                continue
            now = time.monotonic()
            if now - last_drawing > GAP:
                frames += 1
            last_drawing = now
            damage.XDamageSubtract(display, watched, 0, 0)
    print(f"{frames / seconds:.2f}")


if __name__ == "__main__":
    main(float(sys.argv[1]))
