// The text of an input file, as people's programs write it: UTF-8, UTF-16
// with or without a byte-order mark in either byte order, or a legacy code
// page the file does not name, found by a detector made for it.
#pragma once

#include <string>
#include <string_view>

namespace wabtool {

// How to read the text of a file that names no encoding of its own.
struct TextSource {
    bool unicode = false; // the file was UTF-16: its text is UTF-8 already
    // For text that is not UTF-8 (an iconv name).
    std::string codePage = "WINDOWS-1252";
};

struct FileText {
    std::string text; // UTF-8 when the file was UTF-16; else its bytes as read
    TextSource source;
};

// Never fails: an unpaired UTF-16 surrogate or an odd last byte becomes U+FFFD.
FileText DecodeFileText(std::string_view bytes);

// `bytes` in the code page `charset` (an iconv name) as UTF-8; a sequence the
// code page does not have becomes U+FFFD. False when the code page is unknown.
bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& out);

// Text that names no encoding: UTF-8 as it is, else read in `codePage`.
std::string UndeclaredToUtf8(std::string_view bytes, const std::string& codePage);

} // namespace wabtool
