#include "tools/wabtool/VCard.h"

#include <cstdio>
#include <cstdlib>

#include "tools/wabtool/Encoding.h"
#include "tools/wabtool/Text.h"

namespace wabtool {
namespace {

// ---- Reading: lines, properties, values -----------------------------------------

struct PhysicalLine {
    std::string_view text;
    std::size_t number;
};

std::vector<PhysicalLine> SplitLines(std::string_view text) {
    std::vector<PhysicalLine> lines;
    std::size_t start = 0;
    std::size_t number = 1;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = LineBreakAt(text, i); length != 0) {
            lines.push_back({text.substr(start, i - start), number++});
            i += length;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        lines.push_back({text.substr(start), number});
    }
    return lines;
}

struct Property {
    std::string group; // lower case, without the dot
    std::string name;  // upper case
    std::set<std::string> types;
    std::string encoding;
    std::string charset;
    std::string valueType;
    int pref = 0; // 1 is the most preferred; 0 none
    std::string value;
    std::size_t line = 0;
};

// The ':' that ends name and parameters; a quoted parameter value may hold one.
std::size_t HeaderEnd(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::vector<std::string> SplitOutsideQuotes(std::string_view s, char separator) {
    std::vector<std::string> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] == '"') {
            quoted = !quoted;
        } else if (i == s.size() || (s[i] == separator && !quoted)) {
            std::string part(Trim(s.substr(start, i - start)));
            if (part.size() >= 2 && part.front() == '"' && part.back() == '"') {
                part = part.substr(1, part.size() - 2);
            }
            parts.push_back(part);
            start = i + 1;
        }
    }
    return parts;
}

bool IsEncodingName(const std::string& token) {
    return token == "QUOTED-PRINTABLE" || token == "BASE64" || token == "B" || token == "8BIT" ||
           token == "7BIT";
}

bool ParseProperty(std::string_view line, Property& p) {
    std::size_t colon = HeaderEnd(line);
    if (colon == std::string_view::npos) {
        return false;
    }
    p.value = std::string(line.substr(colon + 1));
    std::vector<std::string> parts = SplitOutsideQuotes(line.substr(0, colon), ';');
    const std::string& full = parts[0];
    std::size_t dot = full.find('.');
    if (dot != std::string::npos) {
        p.group = ToLower(full.substr(0, dot));
        p.name = ToUpper(full.substr(dot + 1));
    } else {
        p.name = ToUpper(full);
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty()) {
            continue;
        }
        std::size_t eq = part.find('=');
        if (eq == std::string::npos) { // vCard 2.1 writes bare values
            std::string token = ToUpper(part);
            if (IsEncodingName(token)) {
                p.encoding = token;
            } else {
                p.types.insert(token);
            }
            continue;
        }
        std::string key = ToUpper(Trim(part.substr(0, eq)));
        std::vector<std::string> values = SplitOutsideQuotes(part.substr(eq + 1), ',');
        if (key == "TYPE") {
            for (const std::string& v : values) {
                if (!v.empty()) {
                    p.types.insert(ToUpper(v));
                }
            }
        } else if (key == "ENCODING") {
            p.encoding = ToUpper(values[0]);
        } else if (key == "CHARSET") {
            p.charset = ToUpper(values[0]);
        } else if (key == "VALUE") {
            p.valueType = ToLower(values[0]);
        } else if (key == "PREF") {
            p.pref = std::atoi(values[0].c_str());
        }
    }
    if (p.pref == 0 && p.types.count("PREF") != 0) {
        p.pref = 1;
    }
    return !p.name.empty();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// As a robust reader should: an "=" not followed by two hex digits stays as
// it is. Soft line breaks are gone already.
std::string DecodeQuotedPrintable(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size() && HexValue(in[i + 1]) >= 0 &&
            HexValue(in[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2]));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return out;
}

// A quoted-printable line ends in a soft break: "=", perhaps followed by
// blanks a transport added. Takes the break off.
bool TakeSoftBreak(std::string& line) {
    std::size_t end = line.find_last_not_of(" \t");
    if (end == std::string::npos || line[end] != '=') {
        return false;
    }
    line.resize(end);
    return true;
}

bool DecodeBase64(std::string_view in, std::string& out) {
    out.clear();
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : in) {
        int v;
        if (c >= 'A' && c <= 'Z') {
            v = c - 'A';
        } else if (c >= 'a' && c <= 'z') {
            v = c - 'a' + 26;
        } else if (c >= '0' && c <= '9') {
            v = c - '0' + 52;
        } else if (c == '+') {
            v = 62;
        } else if (c == '/') {
            v = 63;
        } else if (c == '=' || c == ' ' || c == '\t') {
            continue;
        } else {
            return false;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return true;
}

// Brings a value into UTF-8: by its CHARSET parameter where it names one,
// else as the file's other text. What cannot be read as declared is read as
// undeclared, and `problem` says so.
std::string ToUtf8(std::string_view value, const std::string& charset, bool encoded,
                   const TextSource& source, std::string& problem) {
    if (source.unicode && !encoded) {
        return std::string(value); // the whole file is UTF-8 by now
    }
    if (!charset.empty() && charset != "US-ASCII" && charset != "ASCII") {
        std::string out;
        if (charset == "UTF-8" || charset == "UTF8") {
            if (IsValidUtf8(value)) {
                return std::string(value);
            }
            problem = "the text is not UTF-8 although CHARSET=UTF-8 says so";
        } else if (ConvertToUtf8(value, charset, out)) {
            return out;
        } else {
            problem = "unknown CHARSET=" + charset;
        }
    }
    return UndeclaredToUtf8(value, source.codePage);
}

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        switch (c) {
        case 'n':
        case 'N':
            out += '\n';
            break;
        case '\\':
        case ',':
        case ';':
        case ':':
            out += c;
            break;
        default: // not an escape: keep it as written
            out += '\\';
            out += c;
            break;
        }
    }
    return out;
}

// Splits at separators that are not escaped, then unescapes each part.
std::vector<std::string> Components(std::string_view s, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == separator) {
            parts.push_back(Unescape(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    parts.push_back(Unescape(s.substr(start)));
    return parts;
}

std::string Part(const std::vector<std::string>& parts, std::size_t i) {
    return i < parts.size() ? parts[i] : std::string();
}

bool IsBinaryProperty(const std::string& name) {
    return name == "PHOTO" || name == "LOGO" || name == "SOUND" || name == "KEY";
}

// ---- From properties to a contact ---------------------------------------------------

struct CardReader {
    const std::string& file;
    std::vector<Issue>& warnings;

    void Warn(std::size_t line, const std::string& message) {
        warnings.push_back({file, line, "warning: " + message});
    }

    // The value by its ENCODING, in UTF-8 by its CHARSET; false when it cannot
    // be read at all.
    bool Decode(Property& p, const TextSource& source, Issue& error) {
        const bool qp = p.encoding == "QUOTED-PRINTABLE";
        const bool base64 = p.encoding == "BASE64" || p.encoding == "B";
        if (qp) {
            p.value = DecodeQuotedPrintable(p.value);
        } else if (base64) {
            std::string decoded;
            if (!DecodeBase64(p.value, decoded)) {
                error = {file, p.line, "bad base64 text in " + p.name};
                return false;
            }
            p.value = std::move(decoded);
        }
        std::string problem;
        p.value = ToUtf8(p.value, p.charset, qp || base64, source, problem);
        if (!problem.empty()) {
            Warn(p.line, problem + " in " + p.name + "; read as " + source.codePage);
        }
        // Encoded line breaks come as CR LF too; the address book keeps LF,
        // as every other line break in a value is read.
        p.value = UnifyLineBreaks(p.value);
        return true;
    }

    std::optional<std::uint64_t> Date(const Property& p, const char* what) {
        std::string value = Unescape(Trim(p.value));
        auto date = ParseIsoDate(value);
        std::optional<std::uint64_t> ft = date ? ToFileTime(*date) : std::nullopt;
        if (!ft) {
            Warn(p.line, std::string(what) + " \"" + value +
                             "\" is not a full date from 1601 on; left out");
        }
        return ft;
    }

    bool Map(std::vector<Property>& props, std::size_t cardLine, Contact& c, Issue& error) {
        c.file = file;
        c.line = cardLine;
        std::map<std::string, std::string> labels; // item group -> its label
        for (const Property& p : props) {
            if (p.name == "X-ABLABEL" && !p.group.empty()) {
                labels[p.group] = Unescape(p.value);
            }
        }
        struct Email {
            std::string address;
            int pref;
        };
        std::vector<Email> emails;
        std::vector<std::pair<PhoneKind, std::string>> phones;

        for (const Property& p : props) {
            const std::string label = p.group.empty() ? std::string() : labels[p.group];
            const std::string& v = p.value;
            const std::string& n = p.name;
            if (n == "FN") {
                if (!c.Has(PR_DISPLAY_NAME)) {
                    c.SetText(PR_DISPLAY_NAME, Unescape(v));
                }
            } else if (n == "N") {
                std::vector<std::string> parts = Components(v, ';');
                c.SetText(PR_SURNAME, Part(parts, 0));
                c.SetText(PR_GIVEN_NAME, Part(parts, 1));
                c.SetText(PR_MIDDLE_NAME, Part(parts, 2));
                c.SetText(PR_DISPLAY_NAME_PREFIX, Part(parts, 3));
                c.SetText(PR_GENERATION, Part(parts, 4));
            } else if (n == "EMAIL") {
                std::string address(Trim(Unescape(v)));
                if (address.rfind("mailto:", 0) == 0) {
                    address = address.substr(7);
                }
                if (!address.empty()) {
                    emails.push_back({address, p.pref});
                }
            } else if (n == "TEL") {
                std::string number(Trim(Unescape(v)));
                if (number.rfind("tel:", 0) == 0) {
                    number = number.substr(4);
                }
                phones.emplace_back(PhoneKindOf(p.types, label), number);
            } else if (n == "ADR") {
                std::vector<std::string> parts = Components(v, ';');
                std::vector<std::string> street;
                for (std::size_t i : {2u, 1u, 0u}) { // street, extended address, PO box
                    if (!Trim(Part(parts, i)).empty()) {
                        street.push_back(Part(parts, i));
                    }
                }
                Address a{Join(street, "\n"), Part(parts, 3), Part(parts, 4), Part(parts, 5),
                          Part(parts, 6)};
                if (!AddAddress(c, PlaceOf(p.types, label), a)) {
                    Warn(p.line, "no free address field for another address; left out");
                }
            } else if (n == "ORG") {
                Organization(c, p);
            } else if (n == "TITLE") {
                c.SetText(PR_TITLE, Unescape(v));
            } else if (n == "ROLE") {
                c.SetText(PR_PROFESSION, Unescape(v));
            } else if (n == "NOTE") {
                c.AppendText(PR_COMMENT, Unescape(v));
            } else if (n == "BDAY") {
                if (auto ft = Date(p, "BDAY")) {
                    c.numbers[PR_BIRTHDAY] = static_cast<std::int64_t>(*ft);
                }
            } else if (n == "ANNIVERSARY" || n == "X-ANNIVERSARY" || n == "X-MS-ANNIVERSARY" ||
                       n == "X-EVOLUTION-ANNIVERSARY") {
                if (auto ft = Date(p, n.c_str())) {
                    c.numbers[PR_WEDDING_ANNIVERSARY] = static_cast<std::int64_t>(*ft);
                }
            } else if (n == "URL") {
                const std::string url(Trim(Unescape(v)));
                if (!AddWebPage(c, PlaceOf(p.types, label), url)) {
                    Warn(p.line, "the address book keeps two web pages; \"" + url + "\" left out");
                }
            } else if (n == "NICKNAME") {
                if (!c.Has(PR_NICKNAME)) {
                    c.SetText(PR_NICKNAME, Unescape(v));
                }
            } else if (n == "GENDER") {
                std::vector<std::string> parts = Components(v, ';');
                short g = GenderOf(Part(parts, 0));
                if (g == genderUnspecified) {
                    g = GenderOf(Part(parts, 1));
                }
                if (g != genderUnspecified) {
                    c.numbers[PR_GENDER] = g;
                }
            } else if (n == "X-GENDER") {
                short g = GenderOf(Unescape(v));
                if (g != genderUnspecified) {
                    c.numbers[PR_GENDER] = g;
                }
            } else if (n == "RELATED" || n == "X-ABRELATEDNAMES") {
                std::string kind = ToLower(label);
                for (const std::string& t : p.types) {
                    kind += " " + ToLower(t);
                }
                Related(c, kind, Unescape(v), p.line);
            } else if (n == "X-SPOUSE" || n == "X-MS-SPOUSE" || n == "X-EVOLUTION-SPOUSE" ||
                       n == "X-KADDRESSBOOK-X-SPOUSENAME") {
                Related(c, "spouse", Unescape(v), p.line);
            } else if (n == "X-CHILD" || n == "X-MS-CHILD" || n == "X-CHILDREN") {
                Related(c, "child", Unescape(v), p.line);
            } else if (n == "X-ASSISTANT" || n == "X-MS-ASSISTANT" ||
                       n == "X-EVOLUTION-ASSISTANT" || n == "X-KADDRESSBOOK-X-ASSISTANTSNAME") {
                Related(c, "assistant", Unescape(v), p.line);
            } else if (n == "X-MANAGER" || n == "X-MS-MANAGER" || n == "X-EVOLUTION-MANAGER" ||
                       n == "X-KADDRESSBOOK-X-MANAGERSNAME") {
                Related(c, "manager", Unescape(v), p.line);
            } else if (n == "LANG") {
                if (!c.Has(PR_LANGUAGE)) {
                    c.SetText(PR_LANGUAGE, Unescape(v));
                }
            } else if (n == "KIND" || n == "X-ADDRESSBOOKSERVER-KIND") {
                if (EqualsNoCase(Trim(v), "group")) {
                    c.objectType = MAPI_DISTLIST;
                }
            } else if (n.rfind("X-WAB-", 0) == 0 && n.size() == 14) {
                Tagged(c, p);
            }
        }

        std::vector<std::string> addresses;
        std::size_t preferred = 0;
        for (std::size_t i = 0; i < emails.size(); ++i) {
            addresses.push_back(emails[i].address);
            int best = emails[preferred].pref;
            if (emails[i].pref > 0 && (best == 0 || emails[i].pref < best)) {
                preferred = i;
            }
        }
        c.SetEmails(addresses, preferred);
        for (const auto& [kind, number] : phones) {
            if (!AddPhone(c, kind, number)) {
                Warn(cardLine, "no free telephone field for " + number + "; left out");
            }
        }
        if (!c.CompleteDisplayName()) {
            error = {file, cardLine, "contact has no name, e-mail address or telephone number"};
            return false;
        }
        return true;
    }

    void Related(Contact& c, const std::string& kind, const std::string& name, std::size_t line) {
        if (Trim(name).empty()) {
            return;
        }
        auto one = [&](ULONG tag, const char* what) {
            if (!c.SetFirstFree({tag}, name)) {
                Warn(line, std::string("the address book keeps one ") + what + "; \"" + name +
                               "\" left out");
            }
        };
        if (kind.find("spouse") != std::string::npos || kind.find("partner") != std::string::npos) {
            one(PR_SPOUSE_NAME, "spouse");
        } else if (kind.find("child") != std::string::npos ||
                   kind.find("son") != std::string::npos ||
                   kind.find("daughter") != std::string::npos) {
            c.lists[PR_CHILDRENS_NAMES].push_back(name);
        } else if (kind.find("assistant") != std::string::npos) {
            one(PR_ASSISTANT, "assistant");
        } else if (kind.find("manager") != std::string::npos) {
            one(PR_MANAGER_NAME, "manager");
        }
    }

    // Company and units; a second company has no field of its own.
    void Organization(Contact& c, const Property& p) {
        std::vector<std::string> parts = Components(p.value, ';');
        if (c.Has(PR_COMPANY_NAME)) {
            Warn(p.line, "the address book keeps one company; \"" + Part(parts, 0) + "\" left out");
            return;
        }
        c.SetText(PR_COMPANY_NAME, Part(parts, 0));
        std::vector<std::string> units;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (!Trim(Part(parts, i)).empty()) {
                units.push_back(Part(parts, i));
            }
        }
        c.SetText(PR_DEPARTMENT_NAME, Join(units, ", "));
    }

    // X-WAB-<tag>: a property we have no vCard name for, by its tag.
    void Tagged(Contact& c, const Property& p) {
        char* end = nullptr;
        unsigned long tag = std::strtoul(p.name.c_str() + 6, &end, 16);
        if (end == nullptr || *end != '\0' || tag == PR_OBJECT_TYPE || tag == PR_ENTRYID) {
            return;
        }
        auto t = static_cast<ULONG>(tag);
        switch (PROP_TYPE(t)) {
        case PT_STRING8:
            c.SetText(t, Unescape(p.value));
            break;
        case PT_SHORT:
        case PT_LONG:
        case PT_SYSTIME: {
            std::string digits(Trim(p.value));
            char* stop = nullptr;
            long long n = std::strtoll(digits.c_str(), &stop, 10);
            if (digits.empty() || *stop != '\0') {
                Warn(p.line, p.name + " \"" + digits + "\" is not a number; left out");
            } else {
                c.numbers[t] = n;
            }
            break;
        }
        case PT_MV_STRING8:
            c.lists[t] = Components(p.value, ',');
            break;
        default:
            break;
        }
    }
};

// A BEGIN or END line, or any line outside a card, which must be a BEGIN.
bool CardBoundary(const Property& p, const std::string& value, bool& inCard, Issue& error) {
    if (p.name == "BEGIN") {
        if (!EqualsNoCase(value, "VCARD")) {
            error.message = "unexpected BEGIN:" + value;
            return false;
        }
        if (inCard) {
            error.message = "BEGIN:VCARD inside a card (is END:VCARD missing?)";
            return false;
        }
        inCard = true;
        return true;
    }
    if (!inCard) {
        error.message = "expected BEGIN:VCARD";
        return false;
    }
    if (!EqualsNoCase(value, "VCARD")) {
        error.message = "unexpected END:" + value;
        return false;
    }
    inCard = false;
    return true;
}

bool IsQuotedPrintable(std::string_view line) {
    static constexpr std::string_view kName = "QUOTED-PRINTABLE";
    const std::string_view header = line.substr(0, HeaderEnd(line));
    for (std::size_t i = 0; i + kName.size() <= header.size(); ++i) {
        if (EqualsNoCase(header.substr(i, kName.size()), kName)) {
            return true;
        }
    }
    return false;
}

// The next property, unfolded. A quoted-printable value goes on after a soft
// break, on a line that may be folded as well (as the published vCard 2.1
// examples write it), and ends at a line without one, even a blank one.
std::string NextLogicalLine(const std::vector<PhysicalLine>& lines, std::size_t& i) {
    std::string logical(lines[i++].text);
    const bool qp = IsQuotedPrintable(logical);
    for (;;) {
        const bool more = i < lines.size();
        const bool folded =
            more && !lines[i].text.empty() && (lines[i].text[0] == ' ' || lines[i].text[0] == '\t');
        if (qp && TakeSoftBreak(logical)) {
            if (!more) {
                break;
            }
            logical.append(folded ? lines[i].text.substr(1) : lines[i].text);
            ++i;
        } else if (folded) {
            logical.append(lines[i++].text.substr(1));
        } else {
            break;
        }
    }
    return logical;
}

// ---- Writing ----------------------------------------------------------------------------

// At most 75 bytes a line, folded before a UTF-8 character, never inside one.
void AppendFolded(std::string& out, const std::string& line) {
    std::size_t pos = 0;
    bool first = true;
    for (;;) {
        std::size_t room = first ? 75 : 74;
        if (!first) {
            out += ' ';
        }
        if (line.size() - pos <= room) {
            out.append(line, pos, std::string::npos);
            out += "\r\n";
            return;
        }
        std::size_t cut = pos + room;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        if (cut == pos) {
            cut = pos + room;
        }
        out.append(line, pos, cut - pos);
        out += "\r\n";
        pos = cut;
        first = false;
    }
}

std::string Escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            if (i + 1 < s.size() && s[i + 1] == '\n') {
                break;
            }
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        case ',':
            out += "\\,";
            break;
        case ';':
            out += "\\;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string DateText(std::uint64_t fileTime, bool v4) {
    DateTime d = FromFileTime(fileTime);
    char text[40];
    bool midnight = d.hour == 0 && d.minute == 0 && d.second == 0;
    if (v4) {
        std::snprintf(text, sizeof text, midnight ? "%04d%02d%02d" : "%04d%02d%02dT%02d%02d%02dZ",
                      d.year, d.month, d.day, d.hour, d.minute, d.second);
    } else {
        std::snprintf(text, sizeof text,
                      midnight ? "%04d-%02d-%02d" : "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year,
                      d.month, d.day, d.hour, d.minute, d.second);
    }
    return text;
}

std::string TagName(ULONG tag) {
    char text[16];
    std::snprintf(text, sizeof text, "X-WAB-%08X", static_cast<unsigned>(tag));
    return text;
}

struct PhoneLine {
    ULONG tag;
    const char* v3;
    const char* v4;
};

// In the order that maps each one back to its own field on import.
const PhoneLine kPhoneLines[] = {
    {PR_PRIMARY_TELEPHONE_NUMBER, "PREF,VOICE", "voice;PREF=1"},
    {PR_BUSINESS_TELEPHONE_NUMBER, "WORK,VOICE", "work,voice"},
    {PR_BUSINESS2_TELEPHONE_NUMBER, "WORK,VOICE", "work,voice"},
    {PR_HOME_TELEPHONE_NUMBER, "HOME,VOICE", "home,voice"},
    {PR_HOME2_TELEPHONE_NUMBER, "HOME,VOICE", "home,voice"},
    {PR_MOBILE_TELEPHONE_NUMBER, "CELL", "cell"},
    {PR_PAGER_TELEPHONE_NUMBER, "PAGER", "pager"},
    {PR_CAR_TELEPHONE_NUMBER, "CAR", "x-car"},
    {PR_ISDN_NUMBER, "ISDN", "x-isdn"},
    {PR_ASSISTANT_TELEPHONE_NUMBER, "X-ASSISTANT", "x-assistant"},
    {PR_CALLBACK_TELEPHONE_NUMBER, "X-CALLBACK", "x-callback"},
    {PR_RADIO_TELEPHONE_NUMBER, "X-RADIO", "x-radio"},
    {PR_BUSINESS_FAX_NUMBER, "WORK,FAX", "work,fax"},
    {PR_HOME_FAX_NUMBER, "HOME,FAX", "home,fax"},
    {PR_PRIMARY_FAX_NUMBER, "FAX", "fax"},
    {PR_OTHER_TELEPHONE_NUMBER, "X-OTHER", "x-other"},
};

} // namespace

bool ReadVCards(std::string_view text, const std::string& file, std::vector<Contact>& contacts,
                std::vector<Issue>& warnings, Issue& error, const TextSource& source) {
    std::vector<PhysicalLine> lines = SplitLines(text);
    CardReader reader{file, warnings};
    bool inCard = false;
    std::size_t cardLine = 0;
    std::vector<Property> props;
    std::size_t found = 0;

    for (std::size_t i = 0; i < lines.size();) {
        const std::size_t number = lines[i].number;
        const std::string logical = NextLogicalLine(lines, i);
        if (Trim(logical).empty()) {
            continue;
        }
        Property p;
        p.line = number;
        if (!ParseProperty(logical, p)) {
            error = {file, number,
                     inCard ? "expected NAME:VALUE, found \"" + std::string(Trim(logical)) + "\""
                            : "expected BEGIN:VCARD"};
            return false;
        }
        const std::string value(Trim(p.value));
        if (p.name == "BEGIN" || p.name == "END" || !inCard) {
            if (!CardBoundary(p, value, inCard, error)) {
                error.file = file;
                error.line = number;
                return false;
            }
            if (p.name == "BEGIN") {
                cardLine = number;
                props.clear();
            } else {
                Contact contact;
                if (!reader.Map(props, cardLine, contact, error)) {
                    return false;
                }
                contacts.push_back(std::move(contact));
                ++found;
            }
            continue;
        }
        if (p.name == "VERSION") {
            if (value != "2.1" && value != "3.0" && value != "4.0") {
                error = {file, number, "unsupported vCard version " + value};
                return false;
            }
            continue;
        }
        if (IsBinaryProperty(p.name)) {
            continue; // pictures and keys have no place in the address book
        }
        if (!reader.Decode(p, source, error)) {
            return false;
        }
        props.push_back(std::move(p));
    }
    if (inCard) {
        error = {file, cardLine, "card has no END:VCARD"};
        return false;
    }
    if (found == 0) {
        error = {file, 0, "no vCard found"};
        return false;
    }
    return true;
}

void WriteVCard(const Contact& c, VCardVersion version, std::string& out) {
    const bool v4 = version == VCardVersion::V4;
    std::set<ULONG> done = {PR_ADDRTYPE, PR_CONTACT_ADDRTYPES, PR_CONTACT_DEFAULT_ADDRESS_INDEX,
                            PR_CONTACT_EMAIL_ADDRESSES, PR_EMAIL_ADDRESS};
    auto text = [&](ULONG tag) {
        done.insert(tag);
        return c.Text(tag);
    };
    auto line = [&](const std::string& s) { AppendFolded(out, s); };
    auto simple = [&](const char* name, ULONG tag) {
        std::string value = text(tag);
        if (!value.empty()) {
            line(std::string(name) + ":" + Escape(value));
        }
    };

    line("BEGIN:VCARD");
    line(v4 ? "VERSION:4.0" : "VERSION:3.0");
    if (c.objectType == MAPI_DISTLIST) {
        line(v4 ? "KIND:group" : "X-ADDRESSBOOKSERVER-KIND:group");
    }
    line("FN:" + Escape(text(PR_DISPLAY_NAME)));
    std::vector<std::string> n;
    bool anyName = false;
    for (ULONG tag :
         {PR_SURNAME, PR_GIVEN_NAME, PR_MIDDLE_NAME, PR_DISPLAY_NAME_PREFIX, PR_GENERATION}) {
        n.push_back(Escape(text(tag)));
        anyName = anyName || !n.back().empty();
    }
    if (anyName || !v4) { // 3.0 requires N
        line("N:" + Join(n, ";"));
    }
    simple("NICKNAME", PR_NICKNAME);

    std::size_t preferred = 0;
    std::vector<std::string> emails = c.Emails(preferred);
    for (std::size_t i = 0; i < emails.size(); ++i) {
        bool pref = emails.size() > 1 && i == preferred;
        if (v4) {
            line(std::string("EMAIL") + (pref ? ";PREF=1" : "") + ":" + Escape(emails[i]));
        } else {
            line(std::string("EMAIL;TYPE=INTERNET") + (pref ? ",PREF" : "") + ":" +
                 Escape(emails[i]));
        }
    }
    for (const PhoneLine& phone : kPhoneLines) {
        std::string number = text(phone.tag);
        // A second number without a first would come back as the first.
        const bool second =
            phone.tag == PR_BUSINESS2_TELEPHONE_NUMBER || phone.tag == PR_HOME2_TELEPHONE_NUMBER;
        const ULONG first = phone.tag == PR_HOME2_TELEPHONE_NUMBER ? PR_HOME_TELEPHONE_NUMBER
                                                                   : PR_BUSINESS_TELEPHONE_NUMBER;
        if (number.empty()) {
            continue;
        }
        if (second && !c.Has(first)) {
            line(TagName(phone.tag) + ":" + Escape(number));
        } else {
            line(std::string("TEL;TYPE=") + (v4 ? phone.v4 : phone.v3) + ":" + Escape(number));
        }
    }
    for (Place place : {Place::Work, Place::Home, Place::Other}) {
        AddressTags t = AddressTagsOf(place);
        std::string fields[5] = {text(t.street), text(t.city), text(t.state), text(t.postal),
                                 text(t.country)};
        if ((fields[0] + fields[1] + fields[2] + fields[3] + fields[4]).empty()) {
            continue;
        }
        std::string type = place == Place::Work   ? (v4 ? ";TYPE=work" : ";TYPE=WORK")
                           : place == Place::Home ? (v4 ? ";TYPE=home" : ";TYPE=HOME")
                                                  : "";
        std::string adr = "ADR" + type + ":;;";
        for (int i = 0; i < 5; ++i) {
            adr += (i != 0 ? ";" : "") + Escape(fields[i]);
        }
        line(adr);
    }
    std::string company = text(PR_COMPANY_NAME);
    std::string department = text(PR_DEPARTMENT_NAME);
    if (!company.empty() || !department.empty()) {
        line("ORG:" + Escape(company) + (department.empty() ? "" : ";" + Escape(department)));
    }
    simple("TITLE", PR_TITLE);
    simple("ROLE", PR_PROFESSION);
    simple("NOTE", PR_COMMENT);
    done.insert({PR_BIRTHDAY, PR_WEDDING_ANNIVERSARY, PR_GENDER});
    if (auto it = c.numbers.find(PR_BIRTHDAY); it != c.numbers.end()) {
        line("BDAY:" + DateText(static_cast<std::uint64_t>(it->second), v4));
    }
    if (auto it = c.numbers.find(PR_WEDDING_ANNIVERSARY); it != c.numbers.end()) {
        line(std::string(v4 ? "ANNIVERSARY:" : "X-ANNIVERSARY:") +
             DateText(static_cast<std::uint64_t>(it->second), v4));
    }
    std::string personal = text(PR_PERSONAL_HOME_PAGE);
    std::string business = text(PR_BUSINESS_HOME_PAGE);
    if (!personal.empty()) {
        line(std::string(v4 ? "URL;TYPE=home:" : "URL;TYPE=HOME:") + Escape(personal));
    }
    if (!business.empty()) {
        line(std::string(v4 ? "URL;TYPE=work:" : "URL;TYPE=WORK:") + Escape(business));
    }
    if (auto it = c.numbers.find(PR_GENDER); it != c.numbers.end()) {
        if (it->second == genderMale || it->second == genderFemale) {
            bool male = it->second == genderMale;
            line(v4 ? (male ? "GENDER:M" : "GENDER:F")
                    : (male ? "X-GENDER:Male" : "X-GENDER:Female"));
        } else {
            line(TagName(PR_GENDER) + ":" + std::to_string(it->second));
        }
    }
    std::string spouse = text(PR_SPOUSE_NAME);
    if (!spouse.empty()) {
        line((v4 ? "RELATED;TYPE=spouse;VALUE=text:" : "X-SPOUSE:") + Escape(spouse));
    }
    done.insert(PR_CHILDRENS_NAMES);
    if (auto it = c.lists.find(PR_CHILDRENS_NAMES); it != c.lists.end()) {
        for (const std::string& child : it->second) {
            line((v4 ? "RELATED;TYPE=child;VALUE=text:" : "X-CHILD:") + Escape(child));
        }
    }
    simple("X-ASSISTANT", PR_ASSISTANT);
    simple("X-MANAGER", PR_MANAGER_NAME);
    if (v4) {
        simple("LANG", PR_LANGUAGE);
    }

    // Everything else keeps its tag, so export and import lose nothing.
    for (const auto& [tag, value] : c.text) {
        if (done.count(tag) == 0 && !value.empty()) {
            line(TagName(tag) + ":" + Escape(value));
        }
    }
    for (const auto& [tag, number] : c.numbers) {
        if (done.count(tag) == 0) {
            line(TagName(tag) + ":" + std::to_string(number));
        }
    }
    for (const auto& [tag, list] : c.lists) {
        if (done.count(tag) == 0 && !list.empty()) {
            std::vector<std::string> escaped;
            for (const std::string& s : list) {
                escaped.push_back(Escape(s));
            }
            line(TagName(tag) + ":" + Join(escaped, ","));
        }
    }
    line("END:VCARD");
}

} // namespace wabtool
