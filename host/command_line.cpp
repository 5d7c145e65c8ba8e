// The command-line scan. Kept apart from the modes it calls so that it can
// be exercised with stand-ins for them.
#include "configure.h"
#include "host_state.h"
#include "launch_modes.h"
#include "saver_window.h"

namespace {

const char* SkipSpaces(const char* text)
{
    while (*text == ' ') {
        ++text;
    }
    return text;
}

bool IsUsableWindow(HWND window)
{
    return window != nullptr && IsWindow(window);
}

std::int32_t RunConfigureSwitch(const char* afterLetter)
{
    HWND owner = nullptr;
    if (*afterLetter == ':') {
        owner = ParseWindowHandle(afterLetter + 1);
    }
    if (!IsUsableWindow(owner)) {
        owner = GetForegroundWindow();
    }
    return RunConfigure(owner);
}

}  // namespace

const char* CommandLineTail(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        // CharNextA keeps a double-byte character whole, so its trail byte
        // is never taken for the closing quote.
        p = CharNextA(p);
        while (*p != '\0' && *p != '"') {
            p = CharNextA(p);
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (static_cast<unsigned char>(*p) > ' ') {
            ++p;
        }
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') {
        ++p;
    }
    return p;
}

std::int32_t RunLaunchMode(const char* tail)
{
    // Bytes are signed: 0x80 and above are never a switch.
    for (const signed char* p = reinterpret_cast<const signed char*>(tail);; ++p) {
        const char* rest = reinterpret_cast<const char*>(p + 1);
        switch (*p) {
        case ' ':
        case '-':
        case '/':
            continue;
        case '\0':
            return RunConfigure(nullptr);
        case 's':
        case 'S':
            return RunSaver(nullptr);
        case 'p':
        case 'P':
        case 'l':
        case 'L':
            return RunPreview(SkipSpaces(rest));
        case 'c':
        case 'C':
            return RunConfigureSwitch(rest);
        case 'a':
        case 'A':
            if (!win9xPlatform) {
                return kRefusedExitCode;
            }
            return RunChangePassword(SkipSpaces(rest));
        default:
            return kRefusedExitCode;
        }
    }
}

HWND ParseWindowHandle(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');  // modulo 2^32
    }
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

std::int32_t RunPreview(const char* text)
{
    HWND parent = ParseWindowHandle(text);
    if (!IsUsableWindow(parent)) {
        return kRefusedExitCode;
    }
    return RunSaver(parent);
}

std::int32_t RunChangePassword(const char* text)
{
    HWND owner = ParseWindowHandle(text);
    if (!IsUsableWindow(owner)) {
        owner = GetForegroundWindow();
    }
    ChangePassword(owner);
    return 0;
}
