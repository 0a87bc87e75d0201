// vCard 2.1, 3.0 and 4.0 in; 3.0 and 4.0 out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/wabtool/Contact.h"

namespace wabtool {

// Every card of a file (text already UTF-8 or as read). False with `error`
// set on the first problem; warnings are values that were left out.
bool ReadVCards(std::string_view text, const std::string& file, std::vector<Contact>& contacts,
                std::vector<Issue>& warnings, Issue& error);

enum class VCardVersion { V3, V4 };
void WriteVCard(const Contact& contact, VCardVersion version, std::string& out);

} // namespace wabtool
