// What the entry point does before it creates the application.
#pragma once

#include <string>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Empty when a display (or a platform that needs none) is there; otherwise
// the one line telling the user how to get one.
std::string MissingDisplayMessage();

// Every refresh frees all contact records and reads them anew: a large
// address book is hundreds of megabytes of fixed-size records. Handing that
// memory back to the system at each close, only to fault it back in at once,
// costs more than the reading itself, so the process keeps what it frees.
inline void KeepFreedHeap() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 16 << 20);
#endif
}
