// Address books and files of a given size for the benchmarks.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/wabtool/WabClient.h"

namespace benchsupport {

inline std::filesystem::path MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenby-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

// A temp folder for the whole run, removed at exit (before the path itself
// is destroyed: the handler is registered after it was made).
inline const std::filesystem::path& Folder() {
    static const std::filesystem::path path = MakeFolder();
    static const bool cleanup = (std::atexit([] {
                                     std::error_code ec;
                                     std::filesystem::remove_all(Folder(), ec);
                                 }),
                                 true);
    (void)cleanup;
    return path;
}

inline std::string Name(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%06d", i);
    return text;
}

// A new address book of `count` contacts with the fields people fill in most.
// With pairs, contacts 2k and 2k + 1 share an e-mail address: half of the
// book are duplicates.
inline void MakeBook(const std::string& file, int count, bool pairs = false) {
    wabtool::AddressBook book;
    if (book.Open(file, WAB_CREATE_STORE) != S_OK || book.BeginTransaction() != S_OK) {
        std::fprintf(stderr, "cannot create %s\n", file.c_str());
        std::exit(1);
    }
    for (int i = 0; i < count; ++i) {
        const std::string n = Name(i);
        const std::string display = "Contact " + n;
        const std::string given = "Given" + n;
        const std::string surname = "Surname" + n;
        const std::string email = "contact" + Name(pairs ? i - i % 2 : i) + "@example.org";
        const std::string phone = "+1 555 " + n;
        const std::string company = "Company " + std::to_string(i % 500);
        const std::string city = "City " + std::to_string(i % 100);
        SPropValue props[8] = {};
        const std::pair<ULONG, const std::string*> values[] = {
            {PR_DISPLAY_NAME, &display},
            {PR_GIVEN_NAME, &given},
            {PR_SURNAME, &surname},
            {PR_EMAIL_ADDRESS, &email},
            {PR_BUSINESS_TELEPHONE_NUMBER, &phone},
            {PR_COMPANY_NAME, &company},
            {PR_HOME_ADDRESS_CITY, &city}};
        ULONG c = 0;
        for (const auto& [tag, text] : values) {
            props[c].ulPropTag = tag;
            props[c].Value.lpszA = const_cast<char*>(text->c_str());
            ++c;
        }
        props[c].ulPropTag = PR_ADDRTYPE;
        props[c].Value.lpszA = const_cast<char*>("SMTP");
        ++c;
        if (book.Add(MAPI_MAILUSER, props, c) != S_OK) {
            std::fprintf(stderr, "cannot fill %s\n", file.c_str());
            std::exit(1);
        }
    }
    if (book.CommitTransaction() != S_OK) {
        std::fprintf(stderr, "cannot save %s\n", file.c_str());
        std::exit(1);
    }
}

} // namespace benchsupport
