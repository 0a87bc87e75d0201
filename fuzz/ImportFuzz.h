// One import reader on any bytes, as "wabtool import" runs it: every contact
// read becomes property values, and what the writers make of it reads back.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/wabtool/Commands.h"
#include "tools/wabtool/Contact.h"
#include "tools/wabtool/Csv.h"
#include "tools/wabtool/VCard.h"

namespace fuzz {

inline void ImportOne(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<wabtool::Contact> contacts;
    std::vector<wabtool::Issue> warnings;
    wabtool::Issue error;
    if (!wabtool::ReadContactsFile(name, name, bytes, contacts, warnings, error)) {
        error.Format();
        return;
    }
    std::string v3;
    std::string v4;
    std::string csv;
    wabtool::WriteCsvHeader(csv);
    for (const wabtool::Contact& c : contacts) {
        if (c.HoldsNul()) {
            return; // import refuses these
        }
        wabtool::PropArray props(c);
        wabtool::WriteVCard(c, wabtool::VCardVersion::V3, v3);
        wabtool::WriteVCard(c, wabtool::VCardVersion::V4, v4);
        wabtool::WriteCsvRow(c, csv);
    }
    // An export of what was imported imports again, contact for contact.
    for (const auto& [written, file] : {std::pair{&v3, "out.vcf"}, std::pair{&v4, "out.vcf"}}) {
        std::vector<wabtool::Contact> again;
        warnings.clear();
        if (!wabtool::ReadContactsFile(file, file, *written, again, warnings, error) ||
            again.size() != contacts.size()) {
            std::abort();
        }
    }
}

} // namespace fuzz
