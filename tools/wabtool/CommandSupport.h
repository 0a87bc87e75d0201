// What every wabtool command shares: where it writes, how it reports, how it
// names an address book and an entry.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/wabtool/WabClient.h"

namespace wabtool {

struct Io {
    std::FILE* out;
    std::FILE* err;
};

// Messages quote file names and input: control characters in them are shown
// escaped, so a file cannot retitle or clear the terminal, nor cut a message
// short with a NUL.
void Say(std::FILE* to, const std::string& message);
// Status 2, with a pointer to the help.
int Usage(const Io& io, const std::string& problem);
// Status 1.
int Fail(const Io& io, const std::string& message);
bool IsHelp(const std::string& arg);

// An empty name would mean the default address book, so a script whose
// variable is unset would write into the user's own book.
extern const char kEmptyBook[];

std::string HexId(const SBinary& id);
void AppendHexId(std::string& out, const SBinary& id);
std::string BookName(const std::string& file);
// "FILE: cannot open the address book: REASON", status 1.
int CannotOpen(const Io& io, const std::string& file, HRESULT hr);

// The optional FILE of a command that takes nothing else but its options;
// false after a usage message (then `status` is set).
bool OnlyFile(const std::vector<std::string>& args, const char* command, const Io& io,
              std::string& file, int& status);

// The commands on deleted contacts.
int Deleted(const std::vector<std::string>& args, const Io& io);
int Restore(const std::vector<std::string>& args, const Io& io);
int Purge(const std::vector<std::string>& args, const Io& io);

} // namespace wabtool
