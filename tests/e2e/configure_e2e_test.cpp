// vimra.scr in configure mode (no switch, /c, /c:<hwnd>): the About box,
// centred on the screen and without an owner, closed by OK, Escape or Enter
// as a user would, after which the program ends with -1.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "harness/harness.h"

using namespace e2e;

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kAboutTitle = "Vimra 1.0";

// A window of the launcher's own, as a settings dialog would pass.
class OwnerWindow {
public:
    OwnerWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VimraE2eConfigureOwner";
        RegisterClassA(&windowClass);
        window = CreateWindowA("VimraE2eConfigureOwner", "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240,
                               160, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        PumpMessages();
    }
    ~OwnerWindow() { DestroyWindow(window); }
    HWND Handle() const { return window; }
    std::string Decimal() const { return std::to_string(reinterpret_cast<ULONG_PTR>(window)); }

private:
    HWND window = nullptr;
};

bool ClickOk(HWND box)
{
    RECT button;
    if (!GetWindowRect(GetDlgItem(box, IDOK), &button)) return false;
    return PlaceCursor((button.left + button.right) / 2, (button.top + button.bottom) / 2) && ClickLeft();
}

class ConfigureMode : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
    }
};

TEST_F(ConfigureMode, ShowsTheCentredAboutBoxAndEndsWithMinusOneWhenItIsClosed)
{
    OwnerWindow owner;
    ASSERT_NE(owner.Handle(), nullptr);
    struct Case {
        const char* what;
        std::string args;
        std::function<bool(HWND)> close;
    };
    const Case cases[] = {
        {"no switch, OK clicked", "", ClickOk},
        {"/c, Escape", "/c", [](HWND) { return PressKey(VK_ESCAPE); }},
        {"/c:<owner>, Enter", "/c:" + owner.Decimal(), [](HWND) { return PressKey(VK_RETURN); }},
        {"-C, OK clicked", "-C", ClickOk},
        {"/c: with a stale handle, Escape", "/c:4000000000", [](HWND) { return PressKey(VK_ESCAPE); }},
    };
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), c.args));
        HWND box = WaitForTopLevel(saver.Id(), kDialogClass, kAboutTitle, 15000);
        ASSERT_NE(box, nullptr) << "no About box";
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(box) != 0; }, 5000));
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the About box has no owner";

        RECT rect;
        ASSERT_TRUE(GetWindowRect(box, &rect));
        const LONG width = rect.right - rect.left;
        const LONG height = rect.bottom - rect.top;
        EXPECT_EQ(rect.left, (screenWidth - width) / 2);
        EXPECT_EQ(rect.top, (screenHeight - height) / 2);
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        // Keys go where the focus is: wait until the box is in front.
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, 5000))
            << "the About box is not in front";

        ASSERT_TRUE(c.close(box));
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code)) << "did not end after the About box was closed";
        EXPECT_EQ(code, -1);
    }
}

}  // namespace
