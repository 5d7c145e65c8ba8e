// The fault guard: a fault inside a mode ends it with kFaultExitCode, the
// exception chain as it was and the screen-saver-running state off; a filter
// that answers continue-search passes the fault on; results pass through.
#include <gtest/gtest.h>

#include <windows.h>

#include "fault_guard.h"
#include "host_state.h"

namespace {

int filterCalls;
LONG firstAnswer;  // the filter's answer to its first call; later ones handle

LONG WINAPI ScriptedFilter(EXCEPTION_POINTERS*)
{
    return ++filterCalls == 1 ? firstAnswer : EXCEPTION_EXECUTE_HANDLER;
}

// Head of this thread's exception registration chain, fs:[0].
void* ChainHead()
{
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

BOOL SaverRunning()
{
    BOOL running = 2;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

std::int32_t WriteThroughNull(const char*)
{
    *static_cast<volatile int*>(nullptr) = 1;
    return 1;
}

int FaultAtDepth(int depth)
{
    volatile int padding[16] = {depth};
    return depth == 0 ? WriteThroughNull(nullptr) : FaultAtDepth(depth - 1) + padding[0];
}

std::int32_t FaultDeepDown(const char*) { return FaultAtDepth(200); }
std::int32_t ReturnMinus1(const char*) { return -1; }
std::int32_t TailLength(const char* tail) { return lstrlenA(tail); }

bool innerReturned;

std::int32_t GuardedFault(const char*)
{
    const std::int32_t result = RunGuarded(WriteThroughNull, "");
    innerReturned = true;
    return result;
}

class FaultGuard : public testing::Test {
protected:
    void SetUp() override
    {
        win9xPlatform = 1;  // the running state is only switched there
        faultFilter = ScriptedFilter;
    }
    void TearDown() override
    {
        faultFilter = UnhandledExceptionFilter;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
        win9xPlatform = 0;
    }
    // Runs mode in the guard with the running state on; checks the chain.
    std::int32_t Run(LaunchMode mode, const char* tail)
    {
        filterCalls = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
        void* const head = ChainHead();
        const std::int32_t result = RunGuarded(mode, tail);
        EXPECT_EQ(ChainHead(), head) << "exception chain restored";
        return result;
    }
};

TEST_F(FaultGuard, FaultsEndTheModeWithTheFaultCodeAndTheStateOffResultsPassThrough)
{
    firstAnswer = EXCEPTION_EXECUTE_HANDLER;
    const struct {
        LaunchMode mode;
        const char* tail;
        std::int32_t result;
    } cases[] = {
        {TailLength, "/p 1234", 7},
        {ReturnMinus1, "", -1},
        {WriteThroughNull, "", kFaultExitCode},
        {FaultDeepDown, "", kFaultExitCode},
        {TailLength, "", 0},  // a guard still works after a fault
    };
    for (const auto& c : cases) {
        const bool fault = c.result == kFaultExitCode;
        EXPECT_EQ(Run(c.mode, c.tail), c.result) << c.result;
        EXPECT_EQ(filterCalls, fault ? 1 : 0) << c.result;
        EXPECT_EQ(SaverRunning(), fault ? FALSE : TRUE) << c.result;
    }
}

TEST_F(FaultGuard, ContinueSearchPassesTheFaultOnToTheNextHandler)
{
    // The inner guard's filter answers continue-search; the outer one handles.
    firstAnswer = EXCEPTION_CONTINUE_SEARCH;
    innerReturned = false;
    EXPECT_EQ(Run(GuardedFault, ""), kFaultExitCode);
    EXPECT_FALSE(innerReturned);
    EXPECT_EQ(filterCalls, 2);
    EXPECT_EQ(SaverRunning(), FALSE);
}

}  // namespace
