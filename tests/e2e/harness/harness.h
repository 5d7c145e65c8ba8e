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

// Paths handed to the test program on its command line (see main.cpp), as
// Windows paths.
const std::string& SaverPath();        // --scr: vimra.scr in the build root
const std::string& PasswordCplPath();  // --password-cpl: the PASSWORD.CPL double
// Any other --name=PATH argument (empty if absent).
std::string PathArgument(const std::string& name);
// A fresh, empty folder for one test case under the work root.
std::string FreshFolder(const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);

constexpr const char* kSaverClass = "WindowsScreenSaverClass";
constexpr const char* kFullScreenTitle = "Screen Saver";
constexpr const char* kPreviewTitle = "Preview";

// Polls cond every few milliseconds until it holds or timeoutMs pass, pumping
// this thread's messages meanwhile. True when cond held.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs);
// Pumps this thread's messages for exactly this long: only for observing that
// something does NOT happen within a window of time.
void Observe(DWORD ms);
void PumpMessages();
// True when the window stays visible for the whole of ms milliseconds. A
// window that is being destroyed is hidden at once, although under Wine +
// Xvfb its destruction (and so its process's end) completes only about two
// seconds later: this sees a close as soon as it happens.
bool StaysShown(HWND window, DWORD ms);

// One launched program. The destructor kills it if it still runs.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Starts exe with the command line "\"exe\" args" in exe's own folder.
    bool Start(const std::string& exe, const std::string& args);
    // Waits for the end; true with the 32-bit exit code when it ended in time.
    bool WaitExit(DWORD timeoutMs, std::int32_t* exitCode);
    bool Running() const;
    void Kill();
    DWORD Id() const { return info.dwProcessId; }
    HANDLE Handle() const { return info.hProcess; }

private:
    PROCESS_INFORMATION info{};
};

// Top-level window of that class and title (either may be null) owned by
// process pid (0: any process), or null.
HWND FindTopLevel(DWORD pid, const char* windowClass, const char* title);
HWND WaitForTopLevel(DWORD pid, const char* windowClass, const char* title, DWORD timeoutMs);
// Every window (top-level or child, at any depth) owned by process pid.
std::vector<HWND> WindowsOfProcess(DWORD pid);
DWORD ProcessOfWindow(HWND window);
// Terminates the process of every saver window left over from an earlier
// case and waits until none is left; false if one survives.
bool KillSaverStragglers();

// The windows a process had while it ran, found by enumerating the windows
// without pause until it ends, so that one living a few milliseconds is seen.
// (Wine does not deliver another process's window events to an
// out-of-context event hook, so a hook cannot do this.)
struct WindowSightings {
    int windows = 0;  // distinct windows seen
    int visible = 0;  // of them, seen visible at least once
    std::string firstClass;
};
// Waits for the end of process like Process::WaitExit, watching its windows.
bool WatchUntilExit(Process& process, DWORD timeoutMs, std::int32_t* exitCode, WindowSightings* seen);

// Real input, injected into the system's input queue with SendInput: it
// reaches whichever window the system routes it to, as a user's would.
bool PressKey(WORD virtualKey);
bool ClickLeft();
bool ClickRight();
// Moves the cursor by (dx, dy) pixels with relative mouse input (one move
// when neither is above 6); true when GetCursorPos afterwards shows exactly
// that displacement.
bool MoveCursorBy(int dx, int dy);
bool PlaceCursor(int x, int y);
POINT CursorPos();

// The whole screen as 0x00RRGGBB pixels, row by row from the top, read back
// through the screen's device context.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool SaveBmp(const std::string& path) const;
};
Screenshot CaptureScreen();

// Sets a value under HKEY_CURRENT_USER for the life of the object and puts
// the old state back (the old data, or no value) at its end.
class RegistryOverride {
public:
    RegistryOverride(const char* key, const char* name, DWORD type, const void* data, DWORD size);
    ~RegistryOverride();
    bool Ok() const { return ok; }
    static RegistryOverride Dword(const char* key, const char* name, DWORD value);
    static RegistryOverride String(const char* key, const char* name, const char* value);
    RegistryOverride(RegistryOverride&& other) noexcept;
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;
    RegistryOverride& operator=(RegistryOverride&&) = delete;

private:
    std::string keyName;
    std::string valueName;
    bool ok = false;
    bool restore = false;
    bool hadValue = false;
    DWORD oldType = 0;
    std::vector<unsigned char> oldData;
};

// One call of the PASSWORD.CPL double, as its log records it.
struct PasswordCall {
    unsigned long owner = 0;
    unsigned long start = 0;  // GetTickCount at entry
    unsigned long end = 0;    // GetTickCount at the answer
    int depth = 0;
    std::string answer;       // "1", "0", "fault" or "nodialog"
    std::string ownerClass;
    std::string ownerTitle;
};
// The calls that have returned, in the order they returned.
std::vector<PasswordCall> ReadPasswordCalls(const std::string& folder);
// The calls that have begun (returned or not).
int CountPasswordCallsBegun(const std::string& folder);
// Tells the double in that folder how to answer its next calls.
bool SetPasswordControl(const std::string& folder, const std::string& control);

}  // namespace e2e

namespace e2e {

// Starts exe (a saver) with args and waits until its full-screen window,
// class "WindowsScreenSaverClass" titled "Screen Saver", exists and is in
// front. Null when it does not come within timeoutMs.
HWND StartFullScreenSaver(Process& saver, const std::string& exe, const std::string& args = "/s",
                          DWORD timeoutMs = 15000);

}  // namespace e2e
