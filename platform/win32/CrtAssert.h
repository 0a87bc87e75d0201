// Internal consistency checks. Unlike assert() they stay in release builds:
// the code they guard would otherwise go on with a broken invariant (a null
// entry point, say). A failing check shows "Assertion failed: <expr>, file
// <path>, line <n>" in an error box and on standard error, then aborts.
#pragma once

namespace win32 {
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);
} // namespace win32

#define CRT_ASSERT(expr)                                                                           \
    (static_cast<bool>(expr) ? static_cast<void>(0)                                                \
                             : ::win32::AssertionFailed(#expr, __FILE__, __LINE__))
