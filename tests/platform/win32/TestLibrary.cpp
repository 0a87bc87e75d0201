extern "C" __attribute__((visibility("default"))) int win32testlib_answer() {
    return 42;
}
