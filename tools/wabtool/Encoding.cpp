#include "tools/wabtool/Encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <uchardet.h>

#include "tools/wabtool/Text.h"

namespace wabtool {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string FromUtf16(std::string_view bytes, bool littleEndian) {
    auto unit = [&](std::size_t i) -> std::uint32_t {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? (a | (b << 8)) : ((a << 8) | b);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    if (i < bytes.size()) {
        out += kReplacement;
    }
    return out;
}

// UTF-16 without a byte-order mark: the ASCII that vCard and CSV structure
// is written in leaves every other byte zero, which no 8-bit text has.
int Utf16Order(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size() & ~std::size_t{1}, 4096);
    std::size_t evenZeros = 0;
    std::size_t oddZeros = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == '\0' ? 1 : 0;
        oddZeros += bytes[i + 1] == '\0' ? 1 : 0;
    }
    const std::size_t units = n / 2;
    if (units < 2) {
        return 0;
    }
    if (oddZeros * 3 >= units && evenZeros * 20 < units) {
        return 1; // little-endian
    }
    if (evenZeros * 3 >= units && oddZeros * 20 < units) {
        return 2; // big-endian
    }
    return 0;
}

std::string DetectCodePage(std::string_view bytes) {
    uchardet_t detector = uchardet_new();
    std::string found;
    if (detector != nullptr) {
        if (uchardet_handle_data(detector, bytes.data(), bytes.size()) == 0) {
            uchardet_data_end(detector);
            found = uchardet_get_charset(detector);
        }
        uchardet_delete(detector);
    }
    // Nothing found, or text that is UTF-8 but for a few stray bytes: those
    // are most likely the Windows code page, which ISO-8859-1 is a part of.
    if (found.empty() || found == "ASCII" || found == "UTF-8" || found == "ISO-8859-1") {
        return "WINDOWS-1252";
    }
    return found;
}

} // namespace

FileText DecodeFileText(std::string_view bytes) {
    FileText out;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        out.text = FromUtf16(bytes.substr(2), bytes[0] == '\xFF');
        out.source.unicode = true;
        return out;
    } else if (int order = Utf16Order(bytes); order != 0) {
        out.text = FromUtf16(bytes, order == 1);
        out.source.unicode = true;
        return out;
    }
    out.text.assign(bytes);
    if (!IsValidUtf8(out.text)) {
        out.source.codePage = DetectCodePage(out.text);
    }
    return out;
}

bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    out.clear();
    out.reserve(bytes.size() * 3 / 2);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += kReplacement; // a byte the code page has no character for
            if (errno == EINVAL) {
                break; // cut off at the end
            }
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return true;
}

std::string UndeclaredToUtf8(std::string_view bytes, const std::string& codePage) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    if (!ConvertToUtf8(bytes, codePage, out)) {
        ConvertToUtf8(bytes, "WINDOWS-1252", out);
    }
    return out;
}

} // namespace wabtool
