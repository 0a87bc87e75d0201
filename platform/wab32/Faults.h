// Scripted failures of the test build (libwab32fail.so). The environment
// variable WAB32FAIL, read at every WABOpen, lists operations that fail:
// "Name" fails every call, "Name:N" only the N-th call after that WABOpen,
// e.g. WAB32FAIL=QueryRows:3,DeleteEntries. The ordinary build never fails.
#pragma once

namespace wab {

#ifdef WAB32_FAULTS
void ResetFaults();
bool Fault(const char* operation);
#else
inline void ResetFaults() {}
inline bool Fault(const char*) {
    return false;
}
#endif

} // namespace wab
