// vimra.scr in configure mode: the About box, centred and unowned, closed as
// a user would; then the request for configuration dialog 2003, which the
// program lacks (exit -1) and a copy given one shows, owned.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "harness/harness.h"

using namespace e2e;

namespace {

bool ClickOk(HWND box)
{
    RECT button;
    return GetWindowRect(GetDlgItem(box, IDOK), &button) &&
           PlaceCursor((button.left + button.right) / 2, (button.top + button.bottom) / 2) && ClickLeft();
}

// Waits for the About box of saver, checks how it shows, then closes it.
void CloseAboutBox(const Process& saver, const std::function<bool(HWND)>& close)
{
    HWND box = WaitForTopLevel(saver.Id(), "#32770", "Vimra 1.0", 15000);
    ASSERT_NE(box, nullptr) << "no About box";
    // Keys go where the focus is: wait until the box is in front.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, 5000));
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(box, &rect));
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    ASSERT_TRUE(close(box));
}

TEST(ConfigureMode, EndsWithMinusOneOnceTheAboutBoxIsClosed)
{
    ASSERT_TRUE(KillSaverStragglers());
    // OK clicked, and the About box given an owner: the test below.
    const struct {
        const char* args;
        WORD key;
    } cases[] = {{"", VK_ESCAPE}, {"/c", VK_RETURN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), c.args));
        ASSERT_NO_FATAL_FAILURE(CloseAboutBox(saver, [&](HWND) { return PressKey(c.key); }));
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code));
        EXPECT_EQ(code, -1);
    }
}

TEST(ConfigureMode, ShowsTheConfigurationDialogOwnedAfterTheAboutBoxWhenItExists)
{
    HWND owner = CreateWindowA("STATIC", "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240, 160, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    // A copy of the saver given dialog 2003: WS_POPUP | WS_CAPTION, no
    // controls, titled "Setup".
    const std::string exe = JoinPath(FreshFolder("configure-2003"), "vimra.scr");
    ASSERT_TRUE(CopyFileTo(SaverPath(), exe));
    const WORD dialog[] = {0, 0x80C0, 0, 0, 0, 0, 0, 120, 60, 0, 0, 'S', 'e', 't', 'u', 'p', 0};
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(2003), 1041, const_cast<WORD*>(dialog),
                                sizeof dialog));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    Process saver;
    ASSERT_TRUE(saver.Start(exe, "/c:" + std::to_string(reinterpret_cast<ULONG_PTR>(owner))));
    ASSERT_NO_FATAL_FAILURE(CloseAboutBox(saver, ClickOk));
    HWND setup = WaitForTopLevel(saver.Id(), "#32770", "Setup", 10000);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(FindTopLevel(saver.Id(), "#32770", "Vimra 1.0"), nullptr) << "the About box came first";
    EXPECT_EQ(GetWindow(setup, GW_OWNER), owner);
    // Its procedure ends it on nothing: the saver runs until killed.
    ASSERT_TRUE(PostMessageA(setup, WM_CLOSE, 0, 0));
    Observe(300);
    EXPECT_TRUE(saver.Running());
    saver.Kill();
    DestroyWindow(owner);
}

}  // namespace
