// The About box's position arithmetic, and the password-change request
// against the MPR.DLL doubles. Each double is loaded by full path first;
// ChangePassword's LoadLibraryA("MPR.DLL") then finds it by name (the test
// runs with WINEDLLOVERRIDES=mpr=n, so Wine's own mpr is not preferred).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "configure.h"

TEST(AboutBoxPosition, CentresAgainstTheDesktopsRightAndBottomEdgesTruncatingTowardZero)
{
    const struct {
        RECT desktop;
        std::int32_t width, height;
        LONG x, y;
    } cases[] = {
        {{0, 0, 1024, 768}, 301, 203, 361, 282},
        {{-200, -100, 1080, 700}, 280, 200, 400, 250},  // right and bottom, not width and height
        {{0, 0, 100, 60}, 301, 63, -100, -1},           // not the -101, -2 of a shift or a floor
    };
    for (const auto& c : cases) {
        const POINT corner = AboutBoxPosition(c.desktop, c.width, c.height);
        EXPECT_EQ(corner.x, c.x) << c.width;
        EXPECT_EQ(corner.y, c.y) << c.height;
    }
}

TEST(ChangePassword, CallsTheRouterWithScrsaveAndTheOwnerAndReleasesItEachTime)
{
    std::string log(kMprDouble);
    log.replace(log.find_last_of("/\\") + 1, std::string::npos, "mpr.log");
    DeleteFileA(log.c_str());
    HWND owner = CreateWindowA("STATIC", "owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const std::string call = "SCRSAVE " + std::to_string(reinterpret_cast<ULONG_PTR>(owner)) + " 0 0\n";
    const struct {
        const char* router;
        std::string logAfter;
    } cases[] = {
        {kMprDouble, call},
        {kMprDoubleWithoutExport, call},  // loaded and released, not called
        {kMprDouble, call + call},
    };
    for (const auto& c : cases) {
        HMODULE router = LoadLibraryA(c.router);
        ASSERT_NE(router, nullptr) << c.router;
        ChangePassword(owner);
        FreeLibrary(router);
        EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << c.router << ": the request released the router";
        std::ostringstream text;
        text << std::ifstream(log).rdbuf();
        EXPECT_EQ(text.str(), c.logAfter) << c.router;
    }
    DestroyWindow(owner);
}
