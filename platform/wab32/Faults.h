// Scripted failures of the test build (libwab32fail.so). The environment
// variable WAB32FAIL, read at every WABOpen, lists operations that fail:
// "Name" fails every call, "Name:N" only the N-th call after that WABOpen,
// e.g. WAB32FAIL=QueryRows:3,DeleteEntries. The ordinary build never fails.
// WAB32NOW, read at the same time, sets the library's clock (seconds since
// 1970) in the test build; the ordinary build reads the system clock.
#pragma once

#include <cstdint>

namespace wab {

#ifdef WAB32_FAULTS
void ResetFaults();
bool Fault(const char* operation);
// True with the scripted time, in seconds since 1970.
bool ScriptedTime(std::int64_t& seconds);
#else
inline void ResetFaults() {}
inline bool Fault(const char*) {
    return false;
}
inline bool ScriptedTime(std::int64_t&) {
    return false;
}
#endif

} // namespace wab
