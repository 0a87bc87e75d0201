#include "tools/wabtool/Text.h"

#include <cctype>

namespace wabtool {
namespace {

bool ParseDigits(std::string_view text, std::size_t& pos, int count, int& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) {
            return false;
        }
        value = value * 10 + (text[pos++] - '0');
    }
    return true;
}

bool Accept(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468; // days since 1970-01-01
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// The bytes of the UTF-8 character at `i`; 0 where there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
        return 1;
    }
    int extra;
    std::uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {
        return 0;
    }
    for (int k = 1; k <= extra; ++k) {
        auto cc = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((cc & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    static const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return static_cast<std::size_t>(extra) + 1;
}

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kEpochDays1601 = -134774; // 1601-01-01 relative to 1970-01-01

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8Length(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

void AppendEscaped(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < text.size();) {
        // Printable ASCII, nearly all of most texts, goes over in runs.
        std::size_t run = i;
        while (run < text.size() && text[run] >= 0x20 && text[run] < 0x7F) {
            ++run;
        }
        if (run != i) {
            out.append(text.substr(i, run - i));
            i = run;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = Utf8Length(text, i);
        if (c == '\t' || c == '\n' || c == '\r') {
            out += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
        } else if (length == 0 || c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            const auto c1 = static_cast<unsigned char>(text[i + 1]);
            out += "\\u00";
            out += hex[c1 >> 4];
            out += hex[c1 & 0xF];
        } else {
            out.append(text.substr(i, length));
        }
        i += length == 0 ? 1 : length;
    }
}

std::size_t LineBreakAt(std::string_view text, std::size_t i) {
    if (text[i] == '\n') {
        return 1;
    }
    if (text[i] != '\r') {
        return 0;
    }
    if (text.substr(i, 3) == "\r\r\n") {
        return 3;
    }
    return text.substr(i, 2) == "\r\n" ? 2 : 1;
}

std::string UnifyLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    const char* blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i != 0) {
            out += separator;
        }
        out += parts[i];
    }
    return out;
}

std::optional<std::uint64_t> ToFileTime(const DateTime& w) {
    if (w.year < 1601 || w.year > 30827 || w.month < 1 || w.month > 12 || w.day < 1 ||
        w.day > DaysInMonth(w.year, w.month) || w.hour < 0 || w.hour > 23 || w.minute < 0 ||
        w.minute > 59 || w.second < 0 || w.second > 60) {
        return std::nullopt;
    }
    std::int64_t days = DaysFromCivil(w.year, w.month, w.day) - kEpochDays1601;
    std::int64_t seconds = days * 86400 + w.hour * 3600 + w.minute * 60 + w.second;
    return static_cast<std::uint64_t>(seconds * kTicksPerSecond);
}

DateTime FromFileTime(std::uint64_t fileTime) {
    auto seconds = static_cast<std::int64_t>(fileTime / kTicksPerSecond);
    std::int64_t days = seconds / 86400 + kEpochDays1601;
    std::int64_t rest = seconds % 86400;
    // Civil date from days since 1970-01-01.
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    DateTime out;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    out.hour = static_cast<int>(rest / 3600);
    out.minute = static_cast<int>(rest / 60 % 60);
    out.second = static_cast<int>(rest % 60);
    return out;
}

std::uint64_t PackFileTime(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME UnpackFileTime(std::uint64_t value) {
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

std::optional<DateTime> ParseIsoDate(std::string_view text) {
    text = Trim(text);
    std::size_t pos = 0;
    DateTime d;
    if (!ParseDigits(text, pos, 4, d.year)) {
        return std::nullopt;
    }
    bool dashes = Accept(text, pos, '-');
    if (!ParseDigits(text, pos, 2, d.month) || (dashes && !Accept(text, pos, '-')) ||
        !ParseDigits(text, pos, 2, d.day)) {
        return std::nullopt;
    }
    if (Accept(text, pos, 'T') || Accept(text, pos, 't') || Accept(text, pos, ' ')) {
        bool colons = false;
        if (!ParseDigits(text, pos, 2, d.hour)) {
            return std::nullopt;
        }
        colons = Accept(text, pos, ':');
        if (!ParseDigits(text, pos, 2, d.minute)) {
            return std::nullopt;
        }
        if ((colons && Accept(text, pos, ':')) ||
            (!colons && pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))) {
            if (!ParseDigits(text, pos, 2, d.second)) {
                return std::nullopt;
            }
        }
        if (Accept(text, pos, '.')) { // fractions of a second are dropped
            while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
                ++pos;
            }
        }
        int offset = 0;
        if (Accept(text, pos, 'Z') || Accept(text, pos, 'z')) {
        } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            int sign = text[pos++] == '-' ? -1 : 1;
            int oh = 0;
            int om = 0;
            if (!ParseDigits(text, pos, 2, oh)) {
                return std::nullopt;
            }
            Accept(text, pos, ':');
            if (pos < text.size() && !ParseDigits(text, pos, 2, om)) {
                return std::nullopt;
            }
            offset = sign * (oh * 60 + om);
        }
        if (offset != 0) {
            auto ft = ToFileTime(d);
            if (!ft) {
                return std::nullopt;
            }
            std::int64_t shifted = static_cast<std::int64_t>(*ft) -
                                   static_cast<std::int64_t>(offset) * 60 * kTicksPerSecond;
            if (shifted < 0) {
                return std::nullopt;
            }
            d = FromFileTime(static_cast<std::uint64_t>(shifted));
        }
    }
    if (pos != text.size() || !ToFileTime(d)) {
        return std::nullopt;
    }
    return d;
}

std::optional<DateTime> ParseAnyDate(std::string_view text) {
    text = Trim(text);
    if (auto iso = ParseIsoDate(text)) {
        return iso;
    }
    // m/d/yyyy (the spreadsheet default of US exports) and d.m.yyyy.
    for (char separator : {'/', '.'}) {
        std::vector<std::string> parts = Split(text, std::string_view(&separator, 1));
        if (parts.size() != 3) {
            continue;
        }
        int numbers[3];
        bool ok = true;
        for (int i = 0; i < 3; ++i) {
            std::size_t pos = 0;
            std::string_view part = Trim(parts[static_cast<std::size_t>(i)]);
            ok = ok && !part.empty() && part.size() <= 4 &&
                 ParseDigits(part, pos, static_cast<int>(part.size()), numbers[i]);
        }
        if (!ok) {
            continue;
        }
        DateTime d;
        d.year = numbers[2];
        if (Trim(parts[2]).size() == 2) {
            d.year += d.year < 50 ? 2000 : 1900;
        }
        d.month = separator == '/' ? numbers[0] : numbers[1];
        d.day = separator == '/' ? numbers[1] : numbers[0];
        if (ToFileTime(d)) {
            return d;
        }
    }
    return std::nullopt;
}

} // namespace wabtool
