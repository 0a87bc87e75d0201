// The wabtool commands, callable in-process (the program, tests, benchmarks).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/wabtool/Contact.h"

namespace wabtool {

// Runs one command line without the program name; returns the exit status:
// 0 done, 1 failed (bad input or address book), 2 wrong usage.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// One input file as import reads it: its encoding found, then read as vCard
// or CSV by its name or content. `shown` names it in messages.
bool ReadContactsFile(const std::string& name, const std::string& shown, std::string_view bytes,
                      std::vector<Contact>& contacts, std::vector<Issue>& warnings, Issue& error);

} // namespace wabtool
