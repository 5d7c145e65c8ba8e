// Runs a launch mode inside a structured-exception guard: a fault that the
// system's unhandled-exception filter hands back to us switches the
// screen-saver-running state off instead of leaving it set.
#pragma once

#include <windows.h>

#include <cstdint>

typedef std::int32_t (*LaunchMode)(const char* tail);

// Exit code of a mode that faulted and was ended by the guard. Neither 0 (a
// mode that ran) nor -1 (a command line that was refused), so whoever
// started the saver can tell a fault from both; a fixed value rather than the
// exception code, because a raised code may itself be 0 or -1.
constexpr std::int32_t kFaultExitCode = -2;

// mode(tail), or kFaultExitCode when a fault was handled.
std::int32_t RunGuarded(LaunchMode mode, const char* tail);

// The filter that decides a fault's fate; UnhandledExceptionFilter, except
// where tests need an answer Wine will not give without a debugger.
typedef LONG(WINAPI* FaultFilter)(EXCEPTION_POINTERS* pointers);
extern FaultFilter faultFilter;
