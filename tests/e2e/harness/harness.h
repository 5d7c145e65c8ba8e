// End-to-end harness: runs built Windows programs (above all vimra.scr) as
// separate processes under Wine, drives them with real input through the
// system's input queue, watches their windows and exit codes and reads the
// screen. Every wait is bounded and polls its condition while pumping this
// thread's messages, so windows the test itself owns stay alive.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The program's --name=PATH arguments as Windows paths ("" when absent):
// --scr (the saver), --password-cpl (the double), --work (the cases' folders).
std::string PathArgument(const std::string& name);
inline std::string SaverPath() { return PathArgument("scr"); }
inline std::string PasswordCplPath() { return PathArgument("password-cpl"); }
// A fresh, empty folder under the work root.
std::string FreshFolder(const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
std::string ReadTextFile(const std::string& path);

constexpr const char* kSaverClass = "WindowsScreenSaverClass";

// Polls cond until it holds or timeoutMs pass; true when it held.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs);
// Pumps messages for ms: only to see that something does NOT happen.
void Observe(DWORD ms);
// True when the window stays visible for all of ms. A window being destroyed
// is hidden at once, though under Wine + Xvfb it goes two seconds later.
bool StaysShown(HWND window, DWORD ms);

// One launched program, killed by the destructor if it still runs.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
    // Starts exe with the command line "\"exe\" args".
    bool Start(const std::string& exe, const std::string& args);
    // True, with the 32-bit exit code, when it ended within timeoutMs.
    bool WaitExit(DWORD timeoutMs, std::int32_t* exitCode);
    bool Running() const;
    void Kill();
    DWORD Id() const { return info.dwProcessId; }

private:
    PROCESS_INFORMATION info{};
};

// The saver ends by itself with exit code 0 and leaves no saver window.
void ExpectSaverEndsWithZero(Process& saver, const char* what);

// Top-level window of that class and title (null: any) of process pid (0: any).
HWND FindTopLevel(DWORD pid, const char* windowClass, const char* title);
HWND WaitForTopLevel(DWORD pid, const char* windowClass, const char* title, DWORD timeoutMs);
DWORD ProcessOfWindow(HWND window);
// Ends every saver left over from an earlier case; false if one survives.
bool KillSaverStragglers();
// Starts a saver; its full-screen window once in front, or null.
HWND StartFullScreenSaver(Process& saver, const std::string& exe, const std::string& args = "/s",
                          DWORD timeoutMs = 15000);

// The windows (top-level, or children of any window) a process had, found by
// enumerating without pause until it ends, so that one living a few
// milliseconds is seen (Wine gives out-of-context hooks no other process's
// window events).
struct WindowSightings {
    int windows = 0;
    std::string firstClass;
};
bool WatchUntilExit(Process& process, DWORD timeoutMs, std::int32_t* exitCode, WindowSightings* seen);

// Real input through the system's input queue, routed as a user's would be.
bool PressKey(WORD virtualKey);
bool ClickLeft();
bool ClickRight();
// Relative mouse input; true when the cursor moved by exactly (dx, dy).
bool MoveCursorBy(int dx, int dy);
bool PlaceCursor(int x, int y);
POINT CursorPos();

// The screen as 0x00RRGGBB pixels, rows from the top.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Screenshot CaptureScreen();

// Sets a value under HKEY_CURRENT_USER for the life of the object, then
// removes it: the tests' own Wine prefix has none of the values they set.
class RegistryOverride {
public:
    RegistryOverride(const char* key, const char* name, DWORD value);
    RegistryOverride(const char* key, const char* name, const char* value);
    static RegistryOverride Dword(const char* key, const char* name, DWORD value) { return {key, name, value}; }
    static RegistryOverride String(const char* key, const char* name, const char* value) { return {key, name, value}; }
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;
    ~RegistryOverride();
    bool Ok() const { return ok; }

private:
    std::string keyName, valueName;
    bool ok = false;
};

// A returned call of the PASSWORD.CPL double, from its log (see the double).
struct PasswordCall {
    unsigned long owner = 0;
    unsigned long start = 0;  // GetTickCount at entry
    unsigned long end = 0;    // GetTickCount at the answer
    int depth = 0;
    std::string answer;       // "1", "0" or "fault"
};
// The calls that have returned, in the order they returned.
std::vector<PasswordCall> ReadPasswordCalls(const std::string& folder);
// The calls that have begun, returned or not.
int CountPasswordCallsBegun(const std::string& folder);
// Tells the double in that folder how to answer its next calls.
bool SetPasswordControl(const std::string& folder, const std::string& control);

}  // namespace e2e
