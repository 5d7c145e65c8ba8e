// The password-change request: the router's export is called with the
// provider name and the owner, the router is released after every request,
// and a router that is missing or lacks the export is passed over quietly.
//
// The doubles are loaded by full path first; ChangePassword's
// LoadLibraryA("MPR.DLL") then finds that module by its name (the test runs
// with WINEDLLOVERRIDES=mpr=n, so Wine's own mpr is not preferred).
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "configure.h"

namespace {

std::string Folder(const char* path)
{
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("/\\") + 1);
}

std::vector<std::string> LogLines(const std::string& folder)
{
    std::vector<std::string> lines;
    std::ifstream in(folder + "mpr.log");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Decimal(HWND window)
{
    return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

HWND MakeOwner()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PasswordChangeOwner";
    RegisterClassA(&windowClass);
    return CreateWindowA("PasswordChangeOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST(ChangePassword, CallsTheRouterWithScrsaveAndTheOwnerAndReleasesItEachTime)
{
    ASSERT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "nothing has loaded a router yet";
    const std::string folder = Folder(kMprDouble);
    DeleteFileA((folder + "mpr.log").c_str());
    HMODULE router = LoadLibraryA(kMprDouble);
    ASSERT_NE(router, nullptr) << kMprDouble;
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);

    struct OwnerCase {
        const char* what;
        HWND owner;
        const char* ownerClass;
    };
    const OwnerCase cases[] = {
        {"a live owner", owner, "PasswordChangeOwner"},
        {"no owner", nullptr, ""},
        {"a handle that is no window", reinterpret_cast<HWND>(0x7FFF0010), ""},
        {"the live owner again: loaded afresh", owner, "PasswordChangeOwner"},
    };
    size_t calls = 0;
    for (const OwnerCase& c : cases) {
        ChangePassword(c.owner);
        ++calls;
        const std::vector<std::string> lines = LogLines(folder);
        ASSERT_EQ(lines.size(), calls) << c.what << ": one call per request";
        EXPECT_EQ(lines.back(), "call provider=\"SCRSAVE\" owner=" + Decimal(c.owner) +
                                    " reserved1=0 reserved2=0 owner_class=\"" + c.ownerClass + "\"")
            << c.what;
    }

    DestroyWindow(owner);
    FreeLibrary(router);
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "every request released the router it loaded";
}

TEST(ChangePassword, RouterWithoutTheExportIsLoadedAndReleasedWithoutACall)
{
    ASSERT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    const std::string folder = Folder(kMprDoubleWithoutExport);
    DeleteFileA((folder + "mpr.log").c_str());
    DeleteFileA((Folder(kMprDouble) + "mpr.log").c_str());
    HMODULE router = LoadLibraryA(kMprDoubleWithoutExport);
    ASSERT_NE(router, nullptr) << kMprDoubleWithoutExport;
    ASSERT_EQ(GetProcAddress(router, "PwdChangePasswordA"), nullptr);
    HWND owner = MakeOwner();

    ChangePassword(owner);
    ChangePassword(nullptr);

    EXPECT_TRUE(LogLines(folder).empty());
    EXPECT_TRUE(LogLines(Folder(kMprDouble)).empty()) << "no other router was loaded instead";
    DestroyWindow(owner);
    FreeLibrary(router);
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
}

// Run on its own with WINEDLLOVERRIDES=mpr=d, where no MPR.DLL can be loaded.
TEST(ChangePasswordWithoutRouter, ReturnsAndLoadsNothing)
{
    HMODULE probe = LoadLibraryA("MPR.DLL");
    if (probe != nullptr) FreeLibrary(probe);
    ASSERT_EQ(probe, nullptr) << "this case needs a system without MPR.DLL (WINEDLLOVERRIDES=mpr=d)";
    HWND owner = MakeOwner();

    ChangePassword(owner);
    ChangePassword(nullptr);

    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    EXPECT_TRUE(IsWindow(owner));
    DestroyWindow(owner);
}

}  // namespace
