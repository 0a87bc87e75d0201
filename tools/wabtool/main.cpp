// wabtool: gets contacts into and out of an address book through the
// address-book library. See "wabtool --help".
#include "tools/wabtool/Commands.h"

#include <cstdio>
#include <exception>
#include <new>

int main(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return wabtool::Run(args, stdout, stderr);
    } catch (const std::bad_alloc&) {
        // An input too large to hold: the unwinding has undone any open
        // transaction, so nothing was added.
        std::fputs("wabtool: out of memory; the address book was not changed\n", stderr);
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wabtool: %s; the address book was not changed\n", e.what());
        return 1;
    }
}
