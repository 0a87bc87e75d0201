// The wabtool commands, callable in-process (the program, tests, benchmarks).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace wabtool {

// Runs one command line without the program name; returns the exit status:
// 0 done, 1 failed (bad input or address book), 2 wrong usage.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace wabtool
