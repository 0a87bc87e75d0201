// Contacts as CSV with a header row: in, the exports of the common mail
// clients and contact services; out, the address book's own field labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/wabtool/Contact.h"
#include "tools/wabtool/Encoding.h"

namespace wabtool {

// `source` says how to read text that names no encoding.
bool ReadCsv(std::string_view text, const std::string& file, std::vector<Contact>& contacts,
             std::vector<Issue>& warnings, Issue& error, const TextSource& source = {});

void WriteCsvHeader(std::string& out);
void WriteCsvRow(const Contact& contact, std::string& out);

} // namespace wabtool
