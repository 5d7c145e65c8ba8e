// The command line of the XScreenSaver hack (see kUsage); every option also
// with a single dash, as older hacks take them.
#pragma once

enum class DrawTarget {
    kOwnWindow,  // --window, or no target option: a window of its own
    kRoot,       // $XSCREENSAVER_WINDOW when set (the daemon's window), else the root window
    kWindowId,   // a window given by id (xscreensaver-settings' preview)
};

struct HackOptions {
    DrawTarget target;
    unsigned long windowId;  // kWindowId only
    const char* display;     // the X display's name; null: $DISPLAY
    int fps;                 // 1: the frame rate and load shown in the bottom-left corner
    int scale;               // 1 to 8: the picture composed at the monitor's size div `scale`
                             // and shown `scale` times as large; 0: chosen from the monitor
    int help;                // 1: print the usage and the options, and end
    int version;             // 1: print the version and end
};

extern const char kUsage[];    // one line, ending in a newline
extern const char kOptions[];  // a line for each option, each ending in a newline

// Fills `options` from argv. The last of --root and --window counts; a
// window id wins over both, so a preview appended to a command line that has
// --root still draws in its window. On a bad command line returns 0 with
// `problem` naming it and `subject` the argument at fault.
int ParseHackOptions(int argc, char** argv, HackOptions& options, const char*& problem,
                     const char*& subject);

// A window id in decimal or, after 0x, in hex; from 1 to 0xFFFFFFFF.
int ParseWindowId(const char* text, unsigned long& id);
