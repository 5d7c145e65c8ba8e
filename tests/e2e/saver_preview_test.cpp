// vimra.scr /p and /l end to end: the preview inside a pane that another
// process owns (as the display settings' pane is), and the command lines that
// are refused with -1 before anything is shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness/harness.h"

using namespace e2e;

namespace {

std::string Decimal(HWND window)
{
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

// A stand-in for the display settings dialog: a top-level window with a pane
// of the given client size, into which the saver is asked to draw.
class SettingsWindow {
public:
    SettingsWindow(int paneWidth, int paneHeight)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = "VimraE2eSettings";
        RegisterClassA(&windowClass);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "VimraE2ePane";
        RegisterClassA(&windowClass);
        top = CreateWindowExA(0, "VimraE2eSettings", "Settings", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                              nullptr, nullptr, instance, nullptr);
        pane = CreateWindowExA(0, "VimraE2ePane", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, paneWidth,
                               paneHeight, top, nullptr, instance, nullptr);
        if (top) SetForegroundWindow(top);
        PumpMessages();
    }
    ~SettingsWindow()
    {
        if (top && IsWindow(top)) DestroyWindow(top);
    }
    HWND top = nullptr;
    HWND pane = nullptr;
};

class PreviewSaver : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
    }
};

// The saver's window inside the pane, once it has been made visible (the
// style's visible bit is set only at the end of its creation); if it is
// never shown, the window found, or null.
HWND WaitForPreview(HWND pane, DWORD timeoutMs)
{
    HWND preview = nullptr;
    WaitUntil([&] {
        preview = FindWindowExA(pane, nullptr, kSaverClass, nullptr);
        return preview && (GetWindowLongA(preview, GWL_STYLE) & WS_VISIBLE);
    }, timeoutMs);
    return preview;
}

TEST_F(PreviewSaver, FillsAPaneOfAnotherProcessAndEndsWithItsParent)
{
    const struct {
        const char* form;  // command line, %s the pane's handle
        int width, height;
        bool sendInput;
    } cases[] = {
        {"/p %s", 152, 112, true},
        {"/p%s", 152, 112, false},
        {"/l %s", 200, 150, false},
        {"-P  %s", 152, 112, false},
        {"/p %s", 0, 0, false},  // an empty pane still gets a child of that size
    };
    for (const auto& c : cases) {
        SettingsWindow settings(c.width, c.height);
        ASSERT_NE(settings.pane, nullptr);
        char args[64];
        std::snprintf(args, sizeof args, c.form, Decimal(settings.pane).c_str());
        SCOPED_TRACE(std::string(args) + " in a " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                     " pane");

        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), args));
        HWND preview = WaitForPreview(settings.pane, 15000);
        ASSERT_NE(preview, nullptr) << "no preview window inside the pane";

        EXPECT_EQ(ProcessOfWindow(preview), saver.Id());
        EXPECT_EQ(GetParent(preview), settings.pane);
        char title[64] = "";
        GetWindowTextA(preview, title, sizeof title);
        EXPECT_STREQ(title, kPreviewTitle);
        LONG style = GetWindowLongA(preview, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_FALSE(GetWindowLongA(preview, GWL_EXSTYLE) & WS_EX_TOPMOST);
        RECT client;
        GetClientRect(preview, &client);
        EXPECT_EQ(client.right, c.width);
        EXPECT_EQ(client.bottom, c.height);
        RECT where;
        GetWindowRect(preview, &where);
        POINT paneOrigin{0, 0};
        ClientToScreen(settings.pane, &paneOrigin);
        EXPECT_EQ(where.left, paneOrigin.x);
        EXPECT_EQ(where.top, paneOrigin.y);
        EXPECT_EQ(FindTopLevel(saver.Id(), kSaverClass, nullptr), nullptr) << "a preview made a top-level window";

        if (c.sendInput) {
            // Input over the preview does not end it.
            ASSERT_TRUE(PlaceCursor(where.left + c.width / 2, where.top + c.height / 2));
            ASSERT_TRUE(ClickLeft());
            ASSERT_TRUE(ClickRight());
            ASSERT_TRUE(MoveCursorBy(30, 20));
            ASSERT_TRUE(MoveCursorBy(-30, -20));
            ASSERT_TRUE(PressKey('A'));
            EXPECT_TRUE(StaysShown(preview, 1000)) << "input ended the preview";
            EXPECT_TRUE(saver.Running());
        }

        DestroyWindow(settings.top);
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code)) << "the preview outlived its parent";
        EXPECT_EQ(code, 0);
    }
}

TEST_F(PreviewSaver, RefusedCommandLinesEndWithMinusOneAndShowNothing)
{
    // A handle that was a window and is one no more.
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    ASSERT_FALSE(IsWindow(gone));
    SettingsWindow settings(152, 112);
    ASSERT_NE(settings.pane, nullptr);

    const std::string cases[] = {
        "/x",
        "/1",
        "/p",
        "/p 0",
        "/p " + Decimal(gone),
        "/l " + Decimal(gone),
        "/p:" + Decimal(settings.pane),  // the colon stops the number at 0
        "/p -" + Decimal(settings.pane), // no sign is accepted
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args);
        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), args));
        WindowSightings seen;
        std::int32_t code = 1234;
        ASSERT_TRUE(WatchUntilExit(saver, 5000, &code, &seen)) << "did not end";
        EXPECT_EQ(code, -1);
        EXPECT_EQ(seen.windows, 0) << "a window was made, first of class '" << seen.firstClass << "'";
        EXPECT_EQ(FindWindowExA(settings.pane, nullptr, kSaverClass, nullptr), nullptr);
    }
}

}  // namespace
