// wabtool: gets contacts into and out of an address book through the
// address-book library. See "wabtool --help".
#include "tools/wabtool/Commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return wabtool::Run(args, stdout, stderr);
}
