// The fault guard: faults of every kind and depth end the mode through the
// guard with kFaultExitCode and the screen-saver-running state switched off;
// the exception chain is left as it was on every way out; the filter's other
// answers pass the fault on or resume it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "fault_guard.h"
#include "host_state.h"

namespace {

constexpr DWORD kTestException = 0xE0564D52;
constexpr UINT kFaultMessage = WM_APP + 1;

std::vector<DWORD> filteredCodes;
std::vector<LONG> filterAnswers;  // answers to give, in order; then the system's

LONG WINAPI RecordingFilter(EXCEPTION_POINTERS* pointers)
{
    filteredCodes.push_back(pointers->ExceptionRecord->ExceptionCode);
    const size_t call = filteredCodes.size() - 1;
    if (call < filterAnswers.size()) return filterAnswers[call];
    return UnhandledExceptionFilter(pointers);
}

// Head of this thread's exception registration chain, fs:[0].
void* ChainHead()
{
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

BOOL SaverRunningState()
{
    BOOL running = 2;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

void SetSaverRunningState(BOOL on)
{
    BOOL previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on, &previous, 0);
}

std::int32_t WriteThroughNull(const char*)
{
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 1;
}

std::int32_t DivideByZero(const char*)
{
    volatile int zero = 0;
    return 10 / zero;
}

std::int32_t RaiseTestException(const char*)
{
    RaiseException(kTestException, 0, 0, nullptr);
    return 1;
}

int FaultAtDepth(int depth)
{
    if (depth == 0) return WriteThroughNull(nullptr);
    volatile int padding[16] = {depth};
    return FaultAtDepth(depth - 1) + padding[0];
}

std::int32_t FaultDeepDown(const char*)
{
    return FaultAtDepth(200);
}

LRESULT CALLBACK FaultingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFaultMessage) WriteThroughNull(nullptr);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeFaultingWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FaultingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FaultGuardTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowA("FaultGuardTestWindow", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

std::int32_t FaultInDispatchedMessage(const char*)
{
    HWND window = MakeFaultingWindow();
    PostMessageA(window, kFaultMessage, 0, 0);
    MSG message;
    // Bounded: the posted message is the first this window gets dispatched.
    for (int i = 0; i < 1000 && GetMessageA(&message, nullptr, 0, 0) > 0; ++i) DispatchMessageA(&message);
    return 2;
}

std::int32_t FaultInSentMessage(const char*)
{
    SendMessageA(MakeFaultingWindow(), kFaultMessage, 0, 0);
    return 3;
}

class FaultGuard : public testing::Test {
protected:
    void SetUp() override
    {
        savedPlatform = win9xPlatform;
        win9xPlatform = 1;
        filteredCodes.clear();
        filterAnswers.clear();
        faultFilter = RecordingFilter;
    }
    void TearDown() override
    {
        faultFilter = UnhandledExceptionFilter;
        SetSaverRunningState(0);
        win9xPlatform = savedPlatform;
    }
    std::int32_t savedPlatform = 0;
};

TEST_F(FaultGuard, FaultsEndTheModeThroughTheGuardAndSwitchTheSaverStateOff)
{
    struct FaultCase {
        const char* what;
        LaunchMode mode;
        DWORD code;
    };
    const FaultCase cases[] = {
        {"write through null", WriteThroughNull, EXCEPTION_ACCESS_VIOLATION},
        {"integer division by zero", DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO},
        {"a raised exception", RaiseTestException, kTestException},
        {"a fault 200 calls down", FaultDeepDown, EXCEPTION_ACCESS_VIOLATION},
        {"a fault in a window procedure reached through DispatchMessage", FaultInDispatchedMessage,
         EXCEPTION_ACCESS_VIOLATION},
        {"a fault in a window procedure reached through SendMessage", FaultInSentMessage,
         EXCEPTION_ACCESS_VIOLATION},
    };
    for (const FaultCase& c : cases) {
        filteredCodes.clear();
        SetSaverRunningState(1);
        ASSERT_EQ(SaverRunningState(), TRUE) << "the system keeps the screen-saver-running state";
        void* const head = ChainHead();

        EXPECT_EQ(RunGuarded(c.mode, ""), kFaultExitCode) << c.what;

        EXPECT_EQ(ChainHead(), head) << c.what << ": exception chain restored";
        ASSERT_EQ(filteredCodes.size(), 1u) << c.what;
        EXPECT_EQ(filteredCodes[0], c.code) << c.what;
        EXPECT_EQ(SaverRunningState(), FALSE) << c.what;
    }
}

std::int32_t Return0(const char*) { return 0; }
std::int32_t ReturnMinus1(const char*) { return -1; }
std::int32_t ReturnLarge(const char*) { return 0x7FFFFFFF; }
std::int32_t ReturnTailLength(const char* tail) { return static_cast<std::int32_t>(lstrlenA(tail)); }

TEST_F(FaultGuard, ModesThatReturnPassTheirResultAndLeaveTheStateAlone)
{
    struct ReturnCase {
        LaunchMode mode;
        const char* tail;
        std::int32_t result;
    };
    const ReturnCase cases[] = {
        {Return0, "", 0},
        {ReturnMinus1, "", -1},
        {ReturnLarge, "", 0x7FFFFFFF},
        {ReturnTailLength, "/p 1234", 7},
        {WriteThroughNull, "", kFaultExitCode},  // a guard used after a fault still works
        {ReturnTailLength, "/c", 2},
    };
    for (const ReturnCase& c : cases) {
        SetSaverRunningState(1);
        void* const head = ChainHead();
        EXPECT_EQ(RunGuarded(c.mode, c.tail), c.result) << c.tail;
        EXPECT_EQ(ChainHead(), head);
        EXPECT_EQ(SaverRunningState(), c.result == kFaultExitCode ? FALSE : TRUE) << c.result;
    }
}

bool innerReturned;

std::int32_t GuardedFault(const char*)
{
    const std::int32_t result = RunGuarded(WriteThroughNull, "");
    innerReturned = true;
    return result;
}

TEST_F(FaultGuard, ContinueSearchPassesTheFaultOnToTheNextHandler)
{
    // The inner guard's filter answers continue-search: the fault goes on to
    // the outer guard, whose filter (the system's) lets it handle it.
    filterAnswers = {EXCEPTION_CONTINUE_SEARCH};
    innerReturned = false;
    SetSaverRunningState(1);
    void* const head = ChainHead();

    EXPECT_EQ(RunGuarded(GuardedFault, ""), kFaultExitCode);

    EXPECT_FALSE(innerReturned) << "the inner guard did not end the inner mode";
    EXPECT_EQ(filteredCodes.size(), 2u);
    EXPECT_EQ(ChainHead(), head);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

std::int32_t RaiseAndGoOn(const char*)
{
    RaiseException(kTestException, 0, 0, nullptr);
    return 42;
}

TEST_F(FaultGuard, ContinueExecutionResumesWhereTheExceptionWasRaised)
{
    filterAnswers = {EXCEPTION_CONTINUE_EXECUTION};
    SetSaverRunningState(1);
    void* const head = ChainHead();

    EXPECT_EQ(RunGuarded(RaiseAndGoOn, ""), 42);

    EXPECT_EQ(filteredCodes.size(), 1u);
    EXPECT_EQ(ChainHead(), head);
    EXPECT_EQ(SaverRunningState(), TRUE) << "no fault ended the mode";
}

}  // namespace
