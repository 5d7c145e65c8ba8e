#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace e2e {

namespace {

std::map<std::string, std::string> pathArguments;

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

std::string PathArgument(const std::string& name)
{
    auto found = pathArguments.find(name);
    return found == pathArguments.end() ? std::string() : found->second;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string FreshFolder(const std::string& name)
{
    const std::string folder = JoinPath(PathArgument("work"), name);
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(JoinPath(folder, found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return folder;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyFileTo(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string ReadTextFile(const std::string& path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
        std::fclose(file);
    }
    return text;
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    for (const DWORD begin = GetTickCount();;) {
        PumpMessages();
        if (cond()) return true;
        if (GetTickCount() - begin >= timeoutMs) return cond();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void Observe(DWORD ms)
{
    const DWORD begin = GetTickCount();
    WaitUntil([&] { return GetTickCount() - begin >= ms; }, ms);
}

bool StaysShown(HWND window, DWORD ms)
{
    return !WaitUntil([window] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

// ---------------------------------------------------------------- processes

Process::~Process()
{
    Kill();
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
}

bool Process::Start(const std::string& exe, const std::string& args)
{
    std::string commandLine = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info) != 0;
}

bool Process::WaitExit(DWORD timeoutMs, std::int32_t* exitCode)
{
    if (!info.hProcess || !WaitUntil([this] { return !Running(); }, timeoutMs)) return false;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    *exitCode = static_cast<std::int32_t>(code);
    return true;
}

bool Process::Running() const
{
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill()
{
    if (Running()) {
        TerminateProcess(info.hProcess, 0xDEAD);
        WaitForSingleObject(info.hProcess, 5000);
    }
}

void ExpectSaverEndsWithZero(Process& saver, const char* what)
{
    // Wine + Xvfb takes about two seconds to finish destroying the window.
    std::int32_t code = 1234;
    ASSERT_TRUE(saver.WaitExit(10000, &code)) << what << ": the saver did not end";
    EXPECT_EQ(code, 0) << what;
    EXPECT_EQ(FindTopLevel(0, kSaverClass, nullptr), nullptr) << what;
}

// ---------------------------------------------------------------- windows

DWORD ProcessOfWindow(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

HWND FindTopLevel(DWORD pid, const char* windowClass, const char* title)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, windowClass, title)) != nullptr;)
        if (!pid || ProcessOfWindow(window) == pid) return window;
    return nullptr;
}

HWND WaitForTopLevel(DWORD pid, const char* windowClass, const char* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, windowClass, title)) != nullptr; }, timeoutMs);
    return found;
}

bool KillSaverStragglers()
{
    for (int round = 0; round < 10; ++round) {
        HWND left = FindTopLevel(0, kSaverClass, nullptr);
        if (!left) return true;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOfWindow(left))) {
            TerminateProcess(process, 0xDEAD);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        WaitUntil([left] { return !IsWindow(left); }, 2000);
    }
    return false;
}

HWND StartFullScreenSaver(Process& saver, const std::string& exe, const std::string& args, DWORD timeoutMs)
{
    HWND window = saver.Start(exe, args) ? WaitForTopLevel(saver.Id(), kSaverClass, "Screen Saver", timeoutMs)
                                         : nullptr;
    return window && WaitUntil([window] { return GetForegroundWindow() == window; }, timeoutMs) ? window : nullptr;
}

namespace {

struct Sighting {
    DWORD pid;
    std::set<HWND> windows;
    WindowSightings* seen;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM parameter)
{
    auto* sighting = reinterpret_cast<Sighting*>(parameter);
    if (ProcessOfWindow(window) == sighting->pid && sighting->windows.insert(window).second &&
        sighting->seen->firstClass.empty()) {
        char name[128] = "";
        GetClassNameA(window, name, sizeof name);
        sighting->seen->firstClass = name;
    }
    return TRUE;
}

// A top-level window and all its children: a preview is the child of
// another process's window.
BOOL CALLBACK NoteTopLevel(HWND window, LPARAM parameter)
{
    NoteWindow(window, parameter);
    EnumChildWindows(window, NoteWindow, parameter);
    return TRUE;
}

}  // namespace

bool WatchUntilExit(Process& process, DWORD timeoutMs, std::int32_t* exitCode, WindowSightings* seen)
{
    Sighting sighting{process.Id(), {}, seen};
    const DWORD begin = GetTickCount();
    bool ended;
    do {
        ended = !process.Running();
        EnumWindows(NoteTopLevel, reinterpret_cast<LPARAM>(&sighting));
        PumpMessages();
    } while (!ended && GetTickCount() - begin < timeoutMs);
    seen->windows = static_cast<int>(sighting.windows.size());
    return ended && process.WaitExit(0, exitCode);
}

// ---------------------------------------------------------------- input

namespace {

bool SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

bool CursorArrives(LONG x, LONG y)
{
    return WaitUntil([&] { return CursorPos().x == x && CursorPos().y == y; }, 1000);
}

}  // namespace

bool PressKey(WORD virtualKey)
{
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[0].ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool ClickLeft()
{
    return SendMouse(MOUSEEVENTF_LEFTDOWN) && SendMouse(MOUSEEVENTF_LEFTUP);
}

bool ClickRight()
{
    return SendMouse(MOUSEEVENTF_RIGHTDOWN) && SendMouse(MOUSEEVENTF_RIGHTUP);
}

POINT CursorPos()
{
    POINT at{};
    GetCursorPos(&at);
    return at;
}

bool MoveCursorBy(int dx, int dy)
{
    // The system accelerates longer relative moves (30 pixels came out as
    // 60 here): steps of at most 6 pixels per axis, Windows' default first
    // acceleration threshold, arrive unchanged.
    const POINT before = CursorPos();
    for (int sentX = 0, sentY = 0; sentX != dx || sentY != dy;) {
        const int stepX = std::max(-6, std::min(6, dx - sentX)), stepY = std::max(-6, std::min(6, dy - sentY));
        if (!SendMouse(MOUSEEVENTF_MOVE, stepX, stepY)) return false;
        sentX += stepX;
        sentY += stepY;
    }
    return CursorArrives(before.x + dx, before.y + dy);
}

bool PlaceCursor(int x, int y)
{
    return SetCursorPos(x, y) && CursorArrives(x, y);
}

// ---------------------------------------------------------------- screen, registry, PASSWORD.CPL double

Screenshot CaptureScreen()
{
    Screenshot shot;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // rows from the top
    if (copied && GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == height) {
        for (auto& pixel : pixels) pixel &= 0x00FFFFFF;
        shot = {width, height, std::move(pixels)};
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

RegistryOverride::RegistryOverride(const char* key, const char* name, DWORD value) : keyName(key), valueName(name)
{
    ok = RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value) == ERROR_SUCCESS;
}

RegistryOverride::RegistryOverride(const char* key, const char* name, const char* value)
    : keyName(key), valueName(name)
{
    ok = RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1)) ==
         ERROR_SUCCESS;
}

RegistryOverride::~RegistryOverride()
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, keyName.c_str(), valueName.c_str());
}

std::vector<PasswordCall> ReadPasswordCalls(const std::string& folder)
{
    std::vector<PasswordCall> calls;
    const std::string text = ReadTextFile(JoinPath(folder, "password_cpl.log"));
    // Only whole lines: the last one may still be being written.
    for (size_t begin = 0, end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        PasswordCall call;
        char answer[16] = "";
        if (std::sscanf(text.c_str() + begin, "call owner=%lu start=%lu end=%lu depth=%d answer=%15[^ \r\n]",
                        &call.owner, &call.start, &call.end, &call.depth, answer) == 5) {
            call.answer = answer;
            calls.push_back(call);
        }
    }
    return calls;
}

int CountPasswordCallsBegun(const std::string& folder)
{
    const std::string text = "\n" + ReadTextFile(JoinPath(folder, "password_cpl.log"));
    int count = 0;
    for (size_t at = text.find("\nbegin "); at != std::string::npos; at = text.find("\nbegin ", at + 1)) ++count;
    return count;
}

bool SetPasswordControl(const std::string& folder, const std::string& control)
{
    std::FILE* file = std::fopen(JoinPath(folder, "password_cpl.ctl").c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(control.data(), 1, control.size(), file) == control.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace e2e

// Entry of every end-to-end test program: GoogleTest's own flags, then the
// --name=PATH arguments (see PathArgument).
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") != 0 || equals == std::string::npos) continue;
        std::string path = arg.substr(equals + 1);
        if (!path.empty() && path[0] == '/') path = "Z:" + path;
        std::replace(path.begin(), path.end(), '/', '\\');
        e2e::pathArguments[arg.substr(2, equals - 2)] = path;
    }
    return RUN_ALL_TESTS();
}
