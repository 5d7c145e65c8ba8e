#include "hack_options.h"

#include <cstring>

const char kUsage[] =
    "usage: vimra [--root | --window | --window-id ID] [--display NAME] [--fps] [--scale K] [--help] [--version]\n";
const char kOptions[] = "  --root          in $XSCREENSAVER_WINDOW if set, else in the root window\n"
                        "  --window        in a window of its own (the default); Escape or q closes it\n"
                        "  --window-id ID  in that window (decimal or 0x hex)\n"
                        "  --display NAME  on that X display (default: $DISPLAY)\n"
                        "  --fps           the frame rate and the load in the bottom-left corner\n"
                        "  --scale K       pixels per picture pixel, 1 to 8 (default: each monitor's height div 1080)\n"
                        "  --help          this text\n"
                        "  --version       the version\n";

namespace {

// The option's name without its leading "--" or "-"; null when it has neither.
const char* OptionName(const char* argument)
{
    if (std::strncmp(argument, "--", 2) == 0) {
        return argument + 2;
    }
    return argument[0] == '-' ? argument + 1 : nullptr;
}

bool Is(const char* name, const char* option)
{
    return std::strcmp(name, option) == 0;
}

}  // namespace

int ParseWindowId(const char* text, unsigned long& id)
{
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0') {
        return 0;
    }
    unsigned long long value = 0;
    for (; *text != '\0'; ++text) {
        const char c = *text;
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            digit = static_cast<unsigned>((c | 0x20) - 'a' + 10);
        } else {
            return 0;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
    }
    id = static_cast<unsigned long>(value);
    return value != 0;
}

int ParseHackOptions(int argc, char** argv, HackOptions& options, const char*& problem,
                     const char*& subject)
{
    options = {DrawTarget::kOwnWindow, 0, nullptr, 0, 0, 0, 0};
    DrawTarget chosen = DrawTarget::kOwnWindow;  // by --root and --window
    for (int i = 1; i < argc; ++i) {
        subject = argv[i];
        const char* name = OptionName(argv[i]);
        if (name == nullptr) {
            problem = "unexpected argument";
            return 0;
        }
        const bool takesValue = Is(name, "window-id") || Is(name, "display") || Is(name, "scale");
        if (takesValue && i + 1 >= argc) {
            problem = "a value must follow";
            return 0;
        }
        const char* value = takesValue ? argv[++i] : nullptr;
        if (Is(name, "root") || Is(name, "window")) {
            chosen = Is(name, "root") ? DrawTarget::kRoot : DrawTarget::kOwnWindow;
        } else if (Is(name, "window-id")) {
            subject = value;
            if (!ParseWindowId(value, options.windowId)) {
                problem = "malformed window id (decimal or 0x hex, not 0)";
                return 0;
            }
        } else if (Is(name, "display")) {
            options.display = value;
        } else if (Is(name, "scale")) {
            subject = value;
            if (value[0] < '1' || value[0] > '8' || value[1] != '\0') {
                problem = "the scale must be 1 to 8";
                return 0;
            }
            options.scale = value[0] - '0';
        } else if (Is(name, "fps")) {
            options.fps = 1;
        } else if (Is(name, "help")) {
            options.help = 1;
        } else if (Is(name, "version")) {
            options.version = 1;
        } else {
            problem = "unknown option";
            return 0;
        }
    }
    options.target = options.windowId != 0 ? DrawTarget::kWindowId : chosen;
    return 1;
}
