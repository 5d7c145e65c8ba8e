#include "harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace e2e {

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyFileTo(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

std::string ReadTextFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// ---------------------------------------------------------------- waiting

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD begin = GetTickCount();
    for (;;) {
        PumpMessages();
        if (cond()) return true;
        if (GetTickCount() - begin >= timeoutMs) return cond();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void Observe(DWORD ms)
{
    DWORD begin = GetTickCount();
    while (GetTickCount() - begin < ms) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    PumpMessages();
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
    std::string folder = exe.substr(0, exe.find_last_of("\\/") == std::string::npos ? 0 : exe.find_last_of("\\/"));
    std::string commandLine = "\"" + exe + "\"";
    if (!args.empty()) commandLine += " " + args;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info) != 0;
}

bool Process::WaitExit(DWORD timeoutMs, std::int32_t* exitCode)
{
    if (!info.hProcess) return false;
    bool ended = WaitUntil([this] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (!ended) return false;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    if (exitCode) *exitCode = static_cast<std::int32_t>(code);
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

// ---------------------------------------------------------------- windows

namespace {

struct TopLevelSearch {
    DWORD pid;
    const char* windowClass;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
    if (search->pid && ProcessOfWindow(window) != search->pid) return TRUE;
    char text[256];
    if (search->windowClass) {
        if (!GetClassNameA(window, text, sizeof text) || std::strcmp(text, search->windowClass) != 0) return TRUE;
    }
    if (search->title) {
        GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

struct ProcessWindows {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectChildren(HWND window, LPARAM parameter);

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* collect = reinterpret_cast<ProcessWindows*>(parameter);
    if (ProcessOfWindow(window) == collect->pid) collect->windows->push_back(window);
    // Children of other processes' windows count too (a preview pane's child).
    EnumChildWindows(window, CollectChildren, parameter);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM parameter)
{
    auto* collect = reinterpret_cast<ProcessWindows*>(parameter);
    if (ProcessOfWindow(window) == collect->pid) collect->windows->push_back(window);
    return TRUE;
}

}  // namespace

DWORD ProcessOfWindow(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

HWND FindTopLevel(DWORD pid, const char* windowClass, const char* title)
{
    TopLevelSearch search{pid, windowClass, title, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopLevel(DWORD pid, const char* windowClass, const char* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, windowClass, title)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<HWND> WindowsOfProcess(DWORD pid)
{
    std::vector<HWND> windows;
    ProcessWindows collect{pid, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&collect));
    return windows;
}

bool KillSaverStragglers()
{
    for (int round = 0; round < 10; ++round) {
        HWND left = FindTopLevel(0, kSaverClass, nullptr);
        if (!left) return true;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOfWindow(left));
        if (process) {
            TerminateProcess(process, 0xDEAD);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        WaitUntil([left] { return !IsWindow(left); }, 2000);
    }
    return FindTopLevel(0, kSaverClass, nullptr) == nullptr;
}

bool WatchUntilExit(Process& process, DWORD timeoutMs, std::int32_t* exitCode, WindowSightings* seen)
{
    std::set<HWND> windows;
    std::set<HWND> visible;
    DWORD begin = GetTickCount();
    bool ended = false;
    for (;;) {
        ended = WaitForSingleObject(process.Handle(), 0) == WAIT_OBJECT_0;
        for (HWND window : WindowsOfProcess(process.Id())) {
            if (windows.insert(window).second && seen->firstClass.empty()) {
                char name[128] = "";
                GetClassNameA(window, name, sizeof name);
                seen->firstClass = name;
            }
            if (IsWindowVisible(window)) visible.insert(window);
        }
        if (ended || GetTickCount() - begin >= timeoutMs) break;
        PumpMessages();
    }
    seen->windows = static_cast<int>(windows.size());
    seen->visible = static_cast<int>(visible.size());
    return ended && process.WaitExit(0, exitCode);
}

// ---------------------------------------------------------------- input

namespace {

bool Send(INPUT* inputs, UINT count)
{
    return SendInput(count, inputs, sizeof(INPUT)) == count;
}

bool SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return Send(&input, 1);
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
    return Send(inputs, 2);
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
    // The system accelerates longer relative moves (30 pixels came out as 60
    // here), so a longer move goes in steps of at most 6 pixels per axis,
    // Windows' default first acceleration threshold; the self-test checks
    // that such steps add up exactly.
    const int kLargestExactStep = 6;
    POINT before = CursorPos();
    int sentX = 0, sentY = 0;
    while (sentX != dx || sentY != dy) {
        int stepX = std::max(-kLargestExactStep, std::min(kLargestExactStep, dx - sentX));
        int stepY = std::max(-kLargestExactStep, std::min(kLargestExactStep, dy - sentY));
        if (!SendMouse(MOUSEEVENTF_MOVE, stepX, stepY)) return false;
        sentX += stepX;
        sentY += stepY;
    }
    return WaitUntil([&] {
        POINT now = CursorPos();
        return now.x == before.x + dx && now.y == before.y + dy;
    }, 1000);
}

bool PlaceCursor(int x, int y)
{
    SetCursorPos(x, y);
    return WaitUntil([&] {
        POINT now = CursorPos();
        return now.x == x && now.y == y;
    }, 1000);
}

// ---------------------------------------------------------------- screen

Screenshot CaptureScreen()
{
    Screenshot shot;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            shot.width = width;
            shot.height = height;
            const auto* source = static_cast<const std::uint32_t*>(bits);
            shot.pixels.assign(source, source + static_cast<size_t>(width) * height);
            for (auto& pixel : shot.pixels) pixel &= 0x00FFFFFF;
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool Screenshot::SaveBmp(const std::string& path) const
{
    if (width <= 0 || height <= 0) return false;
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER infoHeader{};
    DWORD imageSize = static_cast<DWORD>(pixels.size() * 4);
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof fileHeader + sizeof infoHeader;
    fileHeader.bfSize = fileHeader.bfOffBits + imageSize;
    infoHeader.biSize = sizeof infoHeader;
    infoHeader.biWidth = width;
    infoHeader.biHeight = -height;
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 32;
    infoHeader.biCompression = BI_RGB;
    std::string data(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    data.append(reinterpret_cast<const char*>(&infoHeader), sizeof infoHeader);
    data.append(reinterpret_cast<const char*>(pixels.data()), imageSize);
    return WriteTextFile(path, data);
}

// ---------------------------------------------------------------- registry

RegistryOverride::RegistryOverride(const char* key, const char* name, DWORD type, const void* data, DWORD size)
    : keyName(key), valueName(name)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD oldSize = 0;
    if (RegQueryValueExA(handle, name, nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS) {
        hadValue = true;
        oldData.resize(oldSize);
        if (oldSize && RegQueryValueExA(handle, name, nullptr, &oldType, oldData.data(), &oldSize) != ERROR_SUCCESS)
            hadValue = false;
    }
    restore = true;
    ok = RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(handle);
}

RegistryOverride::RegistryOverride(RegistryOverride&& other) noexcept
    : keyName(std::move(other.keyName)), valueName(std::move(other.valueName)), ok(other.ok),
      restore(other.restore), hadValue(other.hadValue), oldType(other.oldType), oldData(std::move(other.oldData))
{
    other.restore = false;
}

RegistryOverride::~RegistryOverride()
{
    if (!restore) return;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    if (hadValue)
        RegSetValueExA(handle, valueName.c_str(), 0, oldType, oldData.data(), static_cast<DWORD>(oldData.size()));
    else
        RegDeleteValueA(handle, valueName.c_str());
    RegCloseKey(handle);
}

RegistryOverride RegistryOverride::Dword(const char* key, const char* name, DWORD value)
{
    return RegistryOverride(key, name, REG_DWORD, &value, sizeof value);
}

RegistryOverride RegistryOverride::String(const char* key, const char* name, const char* value)
{
    return RegistryOverride(key, name, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
}

// ---------------------------------------------------------------- PASSWORD.CPL double

std::vector<PasswordCall> ReadPasswordCalls(const std::string& folder)
{
    std::vector<PasswordCall> calls;
    std::string text = ReadTextFile(JoinPath(folder, "password_cpl.log"));
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos) break;  // a line still being written
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        PasswordCall call;
        char answer[32] = "";
        if (std::sscanf(line.c_str(), "call owner=%lu start=%lu end=%lu depth=%d answer=%31s", &call.owner,
                        &call.start, &call.end, &call.depth, answer) != 5)
            continue;
        call.answer = answer;
        auto quoted = [&line](const char* field) {
            size_t at = line.find(field);
            if (at == std::string::npos) return std::string();
            at += std::strlen(field);
            size_t close = line.find('"', at);
            return line.substr(at, close == std::string::npos ? std::string::npos : close - at);
        };
        call.ownerClass = quoted("class=\"");
        call.ownerTitle = quoted("title=\"");
        calls.push_back(call);
    }
    return calls;
}

int CountPasswordCallsBegun(const std::string& folder)
{
    std::string text = ReadTextFile(JoinPath(folder, "password_cpl.log"));
    int count = 0;
    for (size_t at = text.find("begin "); at != std::string::npos; at = text.find("begin ", at + 1))
        if (at == 0 || text[at - 1] == '\n') ++count;
    return count;
}

bool SetPasswordControl(const std::string& folder, const std::string& control)
{
    return WriteTextFile(JoinPath(folder, "password_cpl.ctl"), control + "\r\n");
}

}  // namespace e2e

namespace e2e {

HWND StartFullScreenSaver(Process& saver, const std::string& exe, const std::string& args, DWORD timeoutMs)
{
    if (!saver.Start(exe, args)) return nullptr;
    HWND window = WaitForTopLevel(saver.Id(), kSaverClass, kFullScreenTitle, timeoutMs);
    if (!window) return nullptr;
    if (!WaitUntil([window] { return GetForegroundWindow() == window; }, timeoutMs)) return nullptr;
    return window;
}

}  // namespace e2e
