// Configure mode: the About box first, unowned and centred, then the request
// for the configuration dialog, whose absence ends the mode with -1.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "configure.h"
#include "dialog_watch.h"
#include "host_state.h"

namespace {

void ClickOk(HWND dialog)
{
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class ConfigureMode : public testing::Test {
protected:
    void SetUp() override
    {
        savedInstance = instanceHandle;
        instanceHandle = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ConfigureModeOwner";
        RegisterClassA(&windowClass);
        owner = CreateWindowA("ConfigureModeOwner", "owner", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        instanceHandle = savedInstance;
    }

    HINSTANCE savedInstance = nullptr;
    HWND owner = nullptr;
};

TEST_F(ConfigureMode, ShowsTheAboutBoxUnownedAndCentredThenEndsWithMinusOne)
{
    struct OwnerCase {
        const char* what;
        HWND owner;
    };
    const OwnerCase cases[] = {{"no owner", nullptr}, {"an owner window", owner}};
    for (const OwnerCase& c : cases) {
        DialogWatch watch("Vimra 1.0", ClickOk);
        EXPECT_EQ(RunConfigure(c.owner), -1) << c.what;
        const DialogSighting about = watch.Sighting();
        ASSERT_TRUE(about.found) << c.what << ": the About box showed";
        EXPECT_FALSE(about.forced) << c.what;
        EXPECT_TRUE(about.visible) << c.what;
        EXPECT_EQ(about.owner, nullptr) << c.what << ": the About box never has an owner";
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_LE(std::abs(about.rect.left + about.rect.right - screenWidth), 1) << c.what;
        EXPECT_LE(std::abs(about.rect.top + about.rect.bottom - screenHeight), 1) << c.what;
    }
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is left usable";
}

TEST_F(ConfigureMode, PreConfigureHookShowsTheAboutBoxAndLetsTheModeGoOn)
{
    DialogWatch watch("Vimra 1.0", ClickOk);
    EXPECT_EQ(PreConfigureHook(GetModuleHandleA(nullptr)), 1);
    EXPECT_TRUE(watch.Sighting().found);
    EXPECT_FALSE(watch.Sighting().forced);
}

TEST_F(ConfigureMode, AsksForTheConfigurationDialogWithItsOwnerAndReturnsItsResult)
{
    // In a module that has template 2003 the request succeeds: it comes after
    // the About box, is owned by the mode's owner, and its dialog procedure
    // never ends it, so only the watch's forced end (99) comes back.
    HMODULE templates = LoadLibraryA(kConfigureTemplates);
    ASSERT_NE(templates, nullptr) << kConfigureTemplates;
    instanceHandle = templates;
    bool aboutClosedFirst = false;
    DialogWatch watch("Test about", ClickOk, "Test configuration", [&](HWND configuration) {
        aboutClosedFirst = !IsWindow(FindWindowA("#32770", "Test about"));
        // A command, a close request and Escape all leave it open.
        PostMessageA(configuration, WM_COMMAND, IDOK, 0);
        PostMessageA(configuration, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(RunConfigure(owner), kForcedDialogResult);
    const DialogSighting about = watch.Sighting(0);
    const DialogSighting configuration = watch.Sighting(1);
    EXPECT_TRUE(about.found);
    EXPECT_EQ(about.owner, nullptr);
    ASSERT_TRUE(configuration.found);
    EXPECT_TRUE(aboutClosedFirst);
    EXPECT_EQ(configuration.owner, owner);
    EXPECT_TRUE(configuration.forced) << "nothing but the forced end closes it";
    FreeLibrary(templates);
}

TEST(ConfigureDialogProc, AnswersOneToEveryMessage)
{
    const UINT messages[] = {WM_INITDIALOG, WM_COMMAND, WM_CLOSE, WM_PAINT, WM_NULL, WM_DESTROY, WM_APP + 7};
    for (UINT message : messages) {
        EXPECT_EQ(ConfigureDialogProc(nullptr, message, 1, 2), 1) << "message " << message;
    }
}

}  // namespace
