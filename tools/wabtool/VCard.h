// vCard 2.1, 3.0 and 4.0 in; 3.0 and 4.0 out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/wabtool/Contact.h"
#include "tools/wabtool/Encoding.h"

namespace wabtool {

// Every card of a file (text already UTF-8 or as read; `source` says how to
// read text that names no encoding). False with `error` set on the first
// problem; warnings are values that were left out or read otherwise than
// they say.
bool ReadVCards(std::string_view text, const std::string& file, std::vector<Contact>& contacts,
                std::vector<Issue>& warnings, Issue& error, const TextSource& source = {});

enum class VCardVersion { V3, V4 };
void WriteVCard(const Contact& contact, VCardVersion version, std::string& out);

} // namespace wabtool
