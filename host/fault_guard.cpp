// The fault guard around a launch mode.
//
// i686 mingw has no __try/__except, so the guard links an exception
// registration record into the thread's chain (fs:[0]) by hand. The record
// lives on RunGuarded's own stack (the dispatcher ignores records outside
// the stack) and is unlinked on every way out. When the filter answers
// EXCEPTION_EXECUTE_HANDLER, the handler unwinds every record above ours
// with RtlUnwind and resumes RunGuarded through __builtin_longjmp, which
// restores the stack and frame pointers saved by __builtin_setjmp.
#include "fault_guard.h"

#include "password_verifier.h"

FaultFilter faultFilter = UnhandledExceptionFilter;

namespace {

struct GuardRecord {
    // Must come first: the dispatcher hands its address to the handler.
    EXCEPTION_REGISTRATION_RECORD registration;
    // Written by __builtin_setjmp: frame pointer, resume address, stack
    // pointer (five words reserved as the builtin requires).
    void* resume[5];
};

// The record being resumed, read back after RtlUnwind: RtlUnwind need not
// preserve ebx, esi and edi everywhere, so nothing may stay in a register
// across it.
GuardRecord* volatile resumingRecord = nullptr;

// The thread information block, through its own linear address at fs:[0x18];
// its first word (fs:[0]) heads the chain of exception registration records.
NT_TIB* ThreadInformation()
{
    NT_TIB* self;
    asm volatile("movl %%fs:0x18, %0" : "=r"(self));
    return self;
}

EXCEPTION_DISPOSITION NTAPI GuardHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                         CONTEXT* context, void*)
{
    if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0) {
        return ExceptionContinueSearch;
    }
    EXCEPTION_POINTERS pointers;
    pointers.ExceptionRecord = record;
    pointers.ContextRecord = context;
    const LONG answer = faultFilter(&pointers);
    // The filter's three answers mean what they mean to an __except filter.
    if (answer == EXCEPTION_CONTINUE_EXECUTION) {
        return ExceptionContinueExecution;
    }
    if (answer != EXCEPTION_EXECUTE_HANDLER) {
        // Left to the system's default handling.
        return ExceptionContinueSearch;
    }
    resumingRecord = static_cast<GuardRecord*>(establisherFrame);
    // Calls and removes every record above ours (the dispatcher's among
    // them); afterwards ours is the head of the chain again.
    RtlUnwind(establisherFrame, nullptr, record, nullptr);
    __builtin_longjmp(resumingRecord->resume, 1);
}

} // namespace

std::int32_t RunGuarded(LaunchMode mode, const char* tail)
{
    GuardRecord guard;
    NT_TIB* volatile thread = ThreadInformation();
    guard.registration.Next = thread->ExceptionList;
    guard.registration.Handler = GuardHandler;
    if (__builtin_setjmp(guard.resume) != 0) {
        // Resumed by the handler after a fault the filter let us handle. A
        // password verifier stays loaded: the process is about to end.
        thread = ThreadInformation();
        thread->ExceptionList = guard.registration.Next;
        SetScreenSaverRunning(0);
        return kFaultExitCode;
    }
    thread->ExceptionList = &guard.registration;
    const std::int32_t result = mode(tail);
    thread->ExceptionList = guard.registration.Next;
    return result;
}
