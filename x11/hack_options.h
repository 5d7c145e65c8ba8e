// The command line of the XScreenSaver hack:
//   vimra [--root | --window-id ID] [--help] [--version]
// (each option also with a single dash, as older hacks take them).
#pragma once

enum class DrawTarget {
    kOwnWindow,  // no option: a window of its own
    kRoot,       // $XSCREENSAVER_WINDOW when set (the daemon's window), else the root window
    kWindowId,   // a window given by id (xscreensaver-settings' preview)
};

struct HackOptions {
    DrawTarget target;
    unsigned long windowId;  // kWindowId only
    int help;                // 1: print the usage and end
    int version;             // 1: print the version and end
    int scale;               // 1 to 8; 0: chosen from the monitor's height
};

extern const char kUsage[];  // one line, ending in a newline

// Fills `options` from argv. A window id wins over --root, so a preview
// appended to a command line that has --root still draws in its window. On
// a bad command line returns 0 with `problem` naming it and `subject` the
// argument at fault.
int ParseHackOptions(int argc, char** argv, HackOptions& options, const char*& problem,
                     const char*& subject);

// A window id in decimal or, after 0x, in hex; from 1 to 0xFFFFFFFF.
int ParseWindowId(const char* text, unsigned long& id);
