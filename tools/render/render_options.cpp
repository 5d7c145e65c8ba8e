#include "render_options.h"

#include <cstdio>
#include <cstring>

namespace {

// A decimal number of digits only, at most `max`.
int ParseNumber(const char* text, std::uint64_t max, std::uint64_t& value)
{
    if (*text == '\0') {
        return 0;
    }
    value = 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') {
            return 0;
        }
        value = value * 10 + static_cast<std::uint64_t>(*text - '0');
        if (value > max) {
            return 0;
        }
    }
    return 1;
}

int ParseSize(const char* text, std::int32_t& width, std::int32_t& height)
{
    const char* x = std::strchr(text, 'x');
    if (x == nullptr || x - text > 5) {
        return 0;
    }
    char widthText[6] = {};
    std::memcpy(widthText, text, static_cast<std::size_t>(x - text));
    std::uint64_t w;
    std::uint64_t h;
    if (!ParseNumber(widthText, 16384, w) || !ParseNumber(x + 1, 16384, h) || w == 0 || h == 0) {
        return 0;
    }
    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    return 1;
}

// Finds the one conversion of a frame-name pattern: "%d" or "%0Nd" (N digits).
// Any other '%' makes the pattern invalid. Sets the conversion's span and width.
int FindConversion(const char* pattern, std::size_t& start, std::size_t& length, int& width)
{
    int found = 0;
    for (std::size_t i = 0; pattern[i] != '\0'; ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        std::size_t j = i + 1;
        int digits = 0;
        if (pattern[j] == '0') {
            ++j;
            while (pattern[j] >= '0' && pattern[j] <= '9' && digits < 2) {
                digits = digits * 10 + (pattern[j] - '0');
                ++j;
            }
            if (digits == 0 || (pattern[j] >= '0' && pattern[j] <= '9')) {
                return 0;
            }
        }
        if (pattern[j] != 'd' || found) {
            return 0;
        }
        found = 1;
        start = i;
        length = j + 1 - i;
        width = digits;
        i = j;
    }
    return found;
}

}  // namespace

int FormatFrameName(const char* pattern, std::int32_t tick, char* out, std::size_t size)
{
    std::size_t start;
    std::size_t length;
    int width;
    if (!FindConversion(pattern, start, length, width)) {
        return 0;
    }
    char number[32];
    std::snprintf(number, sizeof number, "%0*d", width, static_cast<int>(tick));
    const std::size_t needed = std::strlen(pattern) - length + std::strlen(number) + 1;
    if (needed > size) {
        return 0;
    }
    std::memcpy(out, pattern, start);
    std::strcpy(out + start, number);
    std::strcat(out, pattern + start + length);
    return 1;
}

int ParseRenderOptions(int argc, char** argv, std::uint32_t now, RenderOptions& options,
                       const char*& error)
{
    options = {now, 1, 1024, 768, 50, nullptr, 0};
    int seen[6] = {};
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--draw-log") == 0) {
            if (seen[5]++) {
                error = "--draw-log given twice";
                return 0;
            }
            options.drawLog = 1;
            continue;
        }
        static const char* const kValued[] = {"--time", "--frames", "--size", "--png", "--tick-ms"};
        int which = -1;
        for (int k = 0; k < 5; ++k) {
            if (std::strcmp(name, kValued[k]) == 0) {
                which = k;
            }
        }
        if (which < 0) {
            error = "unknown argument (expected --time, --frames, --size, --tick-ms, --png or --draw-log)";
            return 0;
        }
        if (seen[which]++) {
            error = "an option is given twice";
            return 0;
        }
        if (i + 1 >= argc) {
            error = "an option lacks its value";
            return 0;
        }
        const char* value = argv[++i];
        std::uint64_t number;
        switch (which) {
        case 0:
            if (!ParseNumber(value, 4294967295u, number)) {
                error = "--time takes a whole number from 0 to 4294967295";
                return 0;
            }
            options.time = static_cast<std::uint32_t>(number);
            break;
        case 1:
            if (!ParseNumber(value, 1000000, number)) {
                error = "--frames takes a whole number from 0 to 1000000";
                return 0;
            }
            options.frames = static_cast<std::int32_t>(number);
            break;
        case 2:
            if (!ParseSize(value, options.width, options.height)) {
                error = "--size takes WxH, each from 1 to 16384";
                return 0;
            }
            break;
        case 4:
            if (!ParseNumber(value, 3600000, number) || number == 0) {
                error = "--tick-ms takes a whole number from 1 to 3600000";
                return 0;
            }
            options.tickMs = static_cast<std::int32_t>(number);
            break;
        default: {
            std::size_t start;
            std::size_t length;
            int width;
            if (!FindConversion(value, start, length, width)) {
                error = "--png takes a pattern with exactly one %d or %0Nd";
                return 0;
            }
            options.pngPattern = value;
            break;
        }
        }
    }
    return 1;
}
