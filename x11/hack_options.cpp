#include "hack_options.h"

#include <cstring>

const char kUsage[] = "usage: vimra [--root | --window-id ID] [--scale K] [--help] [--version]\n";

namespace {

// The option's name without its leading "--" or "-"; null when it has neither.
const char* OptionName(const char* argument)
{
    if (std::strncmp(argument, "--", 2) == 0) {
        return argument + 2;
    }
    return argument[0] == '-' ? argument + 1 : nullptr;
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
    options = {DrawTarget::kOwnWindow, 0, 0, 0, 0};
    for (int i = 1; i < argc; ++i) {
        subject = argv[i];
        const char* name = OptionName(argv[i]);
        if (name == nullptr) {
            problem = "unexpected argument";
            return 0;
        }
        if (std::strcmp(name, "root") == 0) {
            if (options.target != DrawTarget::kWindowId) {
                options.target = DrawTarget::kRoot;
            }
        } else if (std::strcmp(name, "window-id") == 0) {
            if (i + 1 >= argc) {
                problem = "a window id must follow";
                return 0;
            }
            subject = argv[++i];
            if (!ParseWindowId(subject, options.windowId)) {
                problem = "malformed window id (decimal or 0x hex, not 0)";
                return 0;
            }
            options.target = DrawTarget::kWindowId;
        } else if (std::strcmp(name, "scale") == 0) {
            subject = i + 1 < argc ? argv[++i] : "";
            if (subject[0] < '1' || subject[0] > '8' || subject[1] != '\0') {
                problem = "the scale must be 1 to 8";
                return 0;
            }
            options.scale = subject[0] - '0';
        } else if (std::strcmp(name, "help") == 0) {
            options.help = 1;
        } else if (std::strcmp(name, "version") == 0) {
            options.version = 1;
        } else {
            problem = "unknown option";
            return 0;
        }
    }
    return 1;
}
