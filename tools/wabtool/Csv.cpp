#include "tools/wabtool/Csv.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "platform/wab32/WabLabels.h"
#include "tools/wabtool/Encoding.h"
#include "tools/wabtool/Text.h"

namespace wabtool {
namespace {

// ---- Columns ------------------------------------------------------------------------

// The address book's property labels, which are also our export's header,
// then what a contact from a vCard may also carry.
using Column = WabPropertyLabel;

constexpr auto kColumns = [] {
    std::array<Column, std::size(kWabPropertyLabels) + 2> columns{};
    std::size_t n = 0;
    for (const Column& c : kWabPropertyLabels) {
        columns[n++] = c;
    }
    columns[n++] = {PR_DISPLAY_NAME_PREFIX, "Name Prefix"};
    columns[n++] = {PR_CONTACT_EMAIL_ADDRESSES, "Email Addresses"};
    return columns;
}();

constexpr const char* kMultiSeparator = " ::: "; // as contact services write lists

enum class Kind {
    None,
    Text,
    Append,
    Date,
    Gender,
    Children,
    Email,     // one of an ordered set of single addresses
    EmailList, // all addresses, our own export
    Street,    // one line of a street, by place and order
    BirthYear,
    BirthMonth,
    BirthDay,
    Group, // "<kind> <n> - <field>" of contact services
};

struct Rule {
    Kind kind = Kind::None;
    ULONG tag = 0;
    int order = 0;
    Place place = Place::Other;
    std::string group;
    int index = 0;
    std::string field;
};

Rule TextRule(ULONG tag, Kind kind = Kind::Text) {
    return {kind, tag, 0, Place::Other, {}, 0, {}};
}
Rule OrderRule(Kind kind, int order, Place place = Place::Other) {
    return {kind, 0, order, place, {}, 0, {}};
}

const std::unordered_map<std::string, Rule>& Rules() {
    static const std::unordered_map<std::string, Rule> rules = [] {
        std::unordered_map<std::string, Rule> r;
        for (const Column& c : kColumns) {
            Kind kind = Kind::Text;
            if (PROP_TYPE(c.ulPropTag) == PT_SYSTIME) {
                kind = Kind::Date;
            } else if (c.ulPropTag == PR_GENDER) {
                kind = Kind::Gender;
            } else if (c.ulPropTag == PR_CHILDRENS_NAMES) {
                kind = Kind::Children;
            } else if (c.ulPropTag == PR_CONTACT_EMAIL_ADDRESSES) {
                kind = Kind::EmailList;
            } else if (c.ulPropTag == PR_EMAIL_ADDRESS) {
                kind = Kind::Email;
            }
            r[ToLower(c.pszLabel)] = TextRule(c.ulPropTag, kind);
        }
        const std::pair<const char*, ULONG> aliases[] = {
            {"name", PR_DISPLAY_NAME},
            {"given name", PR_GIVEN_NAME},
            {"additional name", PR_MIDDLE_NAME},
            {"family name", PR_SURNAME},
            {"surname", PR_SURNAME},
            {"name prefix", PR_DISPLAY_NAME_PREFIX},
            {"prefix", PR_DISPLAY_NAME_PREFIX},
            {"name suffix", PR_GENERATION},
            {"suffix", PR_GENERATION},
            {"nickname", PR_NICKNAME},
            {"organization", PR_COMPANY_NAME},
            {"organization name", PR_COMPANY_NAME},
            {"organization title", PR_TITLE},
            {"organization department", PR_DEPARTMENT_NAME},
            {"job title", PR_TITLE},
            {"hobby", PR_HOBBIES},
            {"occupation", PR_PROFESSION},
            {"keywords", PR_KEYWORD},
            {"government id number", PR_GOVERNMENT_ID_NUMBER},
            {"organizational id number", PR_ORGANIZATIONAL_ID_NUMBER},
            {"office location", PR_LOCATION},
            {"manager's name", PR_MANAGER_NAME},
            {"assistant's name", PR_ASSISTANT},
            {"spouse", PR_SPOUSE_NAME},
            {"web page", PR_PERSONAL_HOME_PAGE},
            {"personal web page", PR_PERSONAL_HOME_PAGE},
            {"business web page", PR_BUSINESS_HOME_PAGE},
            {"web page 1", PR_BUSINESS_HOME_PAGE}, // the mail client's work page
            {"web page 2", PR_PERSONAL_HOME_PAGE},
            {"business phone", PR_BUSINESS_TELEPHONE_NUMBER},
            {"work phone", PR_BUSINESS_TELEPHONE_NUMBER},
            {"business phone 2", PR_BUSINESS2_TELEPHONE_NUMBER},
            {"home phone", PR_HOME_TELEPHONE_NUMBER},
            {"home phone 2", PR_HOME2_TELEPHONE_NUMBER},
            {"mobile phone", PR_MOBILE_TELEPHONE_NUMBER},
            {"mobile number", PR_MOBILE_TELEPHONE_NUMBER},
            {"primary phone", PR_PRIMARY_TELEPHONE_NUMBER},
            {"other phone", PR_OTHER_TELEPHONE_NUMBER},
            {"car phone", PR_CAR_TELEPHONE_NUMBER},
            {"radio phone", PR_RADIO_TELEPHONE_NUMBER},
            {"callback", PR_CALLBACK_TELEPHONE_NUMBER},
            {"pager", PR_PAGER_TELEPHONE_NUMBER},
            {"pager number", PR_PAGER_TELEPHONE_NUMBER},
            {"isdn", PR_ISDN_NUMBER},
            {"assistant's phone", PR_ASSISTANT_TELEPHONE_NUMBER},
            {"other fax", PR_PRIMARY_FAX_NUMBER},
            {"fax number", PR_PRIMARY_FAX_NUMBER},
            {"business city", PR_BUSINESS_ADDRESS_CITY},
            {"business state", PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE},
            {"business postal code", PR_BUSINESS_ADDRESS_POSTAL_CODE},
            {"business country/region", PR_BUSINESS_ADDRESS_COUNTRY},
            {"business country", PR_BUSINESS_ADDRESS_COUNTRY},
            {"work city", PR_BUSINESS_ADDRESS_CITY},
            {"work state", PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE},
            {"work zipcode", PR_BUSINESS_ADDRESS_POSTAL_CODE},
            {"work country", PR_BUSINESS_ADDRESS_COUNTRY},
            {"home city", PR_HOME_ADDRESS_CITY},
            {"home state", PR_HOME_ADDRESS_STATE_OR_PROVINCE},
            {"home postal code", PR_HOME_ADDRESS_POSTAL_CODE},
            {"home zipcode", PR_HOME_ADDRESS_POSTAL_CODE},
            {"home country/region", PR_HOME_ADDRESS_COUNTRY},
            {"home country", PR_HOME_ADDRESS_COUNTRY},
            {"other city", PR_OTHER_ADDRESS_CITY},
            {"other state", PR_OTHER_ADDRESS_STATE_OR_PROVINCE},
            {"other postal code", PR_OTHER_ADDRESS_POSTAL_CODE},
            {"other country/region", PR_OTHER_ADDRESS_COUNTRY},
            {"other country", PR_OTHER_ADDRESS_COUNTRY},
        };
        for (const auto& [name, tag] : aliases) {
            r.emplace(name, TextRule(tag));
        }
        r["notes"] = TextRule(PR_COMMENT, Kind::Append);
        r["note"] = TextRule(PR_COMMENT, Kind::Append);
        r["anniversary"] = TextRule(PR_WEDDING_ANNIVERSARY, Kind::Date);
        r["children"] = TextRule(PR_CHILDRENS_NAMES, Kind::Children);
        r["e-mail address"] = OrderRule(Kind::Email, 1);
        r["primary email"] = OrderRule(Kind::Email, 1);
        r["e-mail 2 address"] = OrderRule(Kind::Email, 2);
        r["secondary email"] = OrderRule(Kind::Email, 2);
        r["e-mail 3 address"] = OrderRule(Kind::Email, 3);
        const std::pair<const char*, Place> places[] = {{"business", Place::Work},
                                                        {"work", Place::Work},
                                                        {"home", Place::Home},
                                                        {"other", Place::Other}};
        for (const auto& [prefix, place] : places) {
            std::string p = prefix;
            r.emplace(p + " street", OrderRule(Kind::Street, 1, place));
            r.emplace(p + " street 2", OrderRule(Kind::Street, 2, place));
            r.emplace(p + " street 3", OrderRule(Kind::Street, 3, place));
            r.emplace(p + " address", OrderRule(Kind::Street, 1, place));
            r.emplace(p + " address 2", OrderRule(Kind::Street, 2, place));
            r.emplace(p + " address po box", OrderRule(Kind::Street, 4, place));
        }
        r["birth year"] = OrderRule(Kind::BirthYear, 0);
        r["birth month"] = OrderRule(Kind::BirthMonth, 0);
        r["birth day"] = OrderRule(Kind::BirthDay, 0);
        return r;
    }();
    return rules;
}

Rule RuleFor(const std::string& header, bool hasJobTitle) {
    std::string h = ToLower(Trim(header));
    if (h == "title" && hasJobTitle) {
        return TextRule(PR_DISPLAY_NAME_PREFIX); // beside "Job Title" it is Mr./Ms.
    }
    auto it = Rules().find(h);
    if (it != Rules().end()) {
        return it->second;
    }
    // "E-mail 1 - Value", "Phone 2 - Type", "Address 1 - Street", ...
    std::size_t dash = h.find(" - ");
    std::size_t space = dash == std::string::npos ? std::string::npos : h.rfind(' ', dash - 1);
    if (dash != std::string::npos && space != std::string::npos && space < dash) {
        std::string number = h.substr(space + 1, dash - space - 1);
        int index = std::atoi(number.c_str());
        if (index > 0 && number.find_first_not_of("0123456789") == std::string::npos) {
            Rule rule;
            rule.kind = Kind::Group;
            rule.group = h.substr(0, space);
            rule.index = index;
            rule.field = h.substr(dash + 3);
            if (rule.field == "label") {
                rule.field = "type";
            }
            return rule;
        }
    }
    return {};
}

// ---- Records ----------------------------------------------------------------------------

struct Record {
    std::vector<std::string> fields;
    std::size_t line = 0;
};

char DetectDelimiter(std::string_view text) {
    std::size_t counts[3] = {0, 0, 0};
    const char candidates[3] = {',', ';', '\t'};
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (int i = 0; i < 3; ++i) {
                counts[i] += c == candidates[i] ? 1 : 0;
            }
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best]) {
            best = i;
        }
    }
    return candidates[best];
}

bool ParseRecords(std::string_view text, const std::string& file, std::vector<Record>& out,
                  Issue& error) {
    const char delimiter = DetectDelimiter(text);
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Record record;
        record.line = line;
        std::string field;
        bool quoted = false;
        bool wasQuoted = false;
        bool endOfRecord = false;
        while (i < text.size() && !endOfRecord) {
            char c = text[i];
            if (quoted) {
                if (c == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                    } else {
                        quoted = false;
                        ++i;
                    }
                    continue;
                }
                if (const std::size_t length = LineBreakAt(text, i); length != 0) {
                    ++line;
                    field += '\n';
                    i += length;
                    continue;
                }
                field += c;
                ++i;
            } else if (c == '"' && field.empty() && !wasQuoted) {
                quoted = true;
                wasQuoted = true;
                ++i;
            } else if (c == delimiter) {
                record.fields.push_back(std::move(field));
                field.clear();
                wasQuoted = false;
                ++i;
            } else if (const std::size_t length = LineBreakAt(text, i); length != 0) {
                i += length;
                ++line;
                endOfRecord = true;
            } else {
                field += c;
                ++i;
            }
        }
        if (quoted) {
            error = {file, record.line, "a quoted field is not closed"};
            return false;
        }
        record.fields.push_back(std::move(field));
        bool blank = true;
        for (const std::string& f : record.fields) {
            blank = blank && Trim(f).empty();
        }
        if (!blank || out.empty()) {
            out.push_back(std::move(record));
        }
    }
    return true;
}

// ---- From a row to a contact --------------------------------------------------------------

struct RowReader {
    const std::string& file;
    std::vector<Issue>& warnings;
    std::size_t line = 0;

    std::map<int, std::vector<std::string>> emails;
    std::string emailList;
    std::map<Place, std::map<int, std::string>> streets;
    int birth[3] = {0, 0, 0};
    std::map<std::string, std::map<int, std::map<std::string, std::string>>> groups;

    void Warn(const std::string& message) {
        warnings.push_back({file, line, "warning: " + message});
    }

    std::optional<std::uint64_t> Date(const std::string& value, const std::string& what) {
        std::string v(Trim(value));
        if (v.empty() || v == "0/0/00" || v == "0/0/0000") { // how spreadsheets write "none"
            return std::nullopt;
        }
        auto date = ParseAnyDate(v);
        auto ft = date ? ToFileTime(*date) : std::nullopt;
        if (!ft) {
            Warn(what + " \"" + v + "\" is not a full date from 1601 on; left out");
        }
        return ft;
    }

    void Apply(Contact& c, const Rule& rule, const std::string& header, const std::string& raw) {
        std::string value(Trim(raw));
        if (value.empty()) {
            return;
        }
        switch (rule.kind) {
        case Kind::Text: // as written: a value may start or end with blanks on purpose
            if (!c.Has(rule.tag)) {
                c.SetText(rule.tag, IsAddressTag(rule.tag) ? value : raw);
            }
            break;
        case Kind::Append:
            c.AppendText(rule.tag, raw);
            break;
        case Kind::Date:
            if (auto ft = Date(value, header)) {
                c.numbers[rule.tag] = static_cast<std::int64_t>(*ft);
            }
            break;
        case Kind::Gender:
            if (short g = GenderOf(value); g != genderUnspecified) {
                c.numbers[PR_GENDER] = g;
            }
            break;
        case Kind::Children:
            for (const std::string& child : Split(raw, kMultiSeparator)) {
                if (!Trim(child).empty()) {
                    c.lists[PR_CHILDRENS_NAMES].push_back(child);
                }
            }
            break;
        case Kind::Email:
            emails[rule.order].push_back(value);
            break;
        case Kind::EmailList:
            emailList = value;
            break;
        case Kind::Street:
            streets[rule.place][rule.order] = raw;
            break;
        case Kind::BirthYear:
        case Kind::BirthMonth:
        case Kind::BirthDay:
            birth[static_cast<int>(rule.kind) - static_cast<int>(Kind::BirthYear)] =
                std::atoi(value.c_str());
            break;
        case Kind::Group:
            groups[rule.group][rule.index][rule.field] = raw;
            break;
        case Kind::None:
            break;
        }
    }

    static std::vector<std::string> Values(const std::string& text) {
        std::vector<std::string> out;
        for (const std::string& v : Split(text, kMultiSeparator)) {
            if (!Trim(v).empty()) {
                out.emplace_back(Trim(v));
            }
        }
        return out;
    }

    void Finish(Contact& c) {
        std::vector<std::string> addresses;
        std::size_t preferred = 0;
        for (const auto& [order, list] : emails) {
            for (const std::string& a : list) {
                for (const std::string& v : Values(a)) {
                    addresses.push_back(v);
                }
            }
        }
        if (!emailList.empty()) {
            std::string main = addresses.empty() ? std::string() : addresses.front();
            addresses = Values(emailList);
            for (std::size_t i = 0; i < addresses.size(); ++i) {
                if (addresses[i] == main) {
                    preferred = i;
                }
            }
        }
        bool starred = false; // contact services mark the primary address "* Home"
        for (const auto& [index, fields] : groups["e-mail"]) {
            auto type = fields.find("type");
            bool primary = type != fields.end() && Trim(type->second).rfind("*", 0) == 0;
            auto value = fields.find("value");
            if (value == fields.end()) {
                continue;
            }
            for (const std::string& v : Values(value->second)) {
                if (primary && !starred) {
                    preferred = addresses.size();
                    starred = true;
                }
                addresses.push_back(v);
            }
        }
        c.SetEmails(addresses, preferred);

        for (const auto& [place, lines] : streets) {
            std::vector<std::string> parts;
            for (const auto& [order, text] : lines) {
                if (!Trim(text).empty()) {
                    parts.emplace_back(Trim(text));
                }
            }
            ULONG tag = AddressTagsOf(place).street;
            if (!c.Has(tag)) {
                c.SetText(tag, Join(parts, "\n"));
            }
        }
        if (birth[0] != 0 || birth[1] != 0 || birth[2] != 0) {
            DateTime d;
            d.year = birth[0];
            d.month = birth[1];
            d.day = birth[2];
            if (auto ft = ToFileTime(d)) {
                c.numbers[PR_BIRTHDAY] = static_cast<std::int64_t>(*ft);
            } else {
                Warn("birth date " + std::to_string(birth[0]) + "-" + std::to_string(birth[1]) +
                     "-" + std::to_string(birth[2]) + " is not a full date; left out");
            }
        }

        auto field = [](const std::map<std::string, std::string>& fields, const char* name) {
            auto it = fields.find(name);
            return it != fields.end() ? std::string(Trim(it->second)) : std::string();
        };
        for (const auto& [index, fields] : groups["phone"]) {
            PhoneKind kind = PhoneKindOf({}, field(fields, "type"));
            for (const std::string& number : Values(field(fields, "value"))) {
                if (!AddPhone(c, kind, number)) {
                    Warn("no free telephone field for " + number + "; left out");
                }
            }
        }
        for (const auto& [index, fields] : groups["address"]) {
            Address a;
            std::vector<std::string> street;
            for (const char* part : {"street", "extended address", "po box"}) {
                if (!field(fields, part).empty()) {
                    street.push_back(field(fields, part));
                }
            }
            a.street = Join(street, "\n");
            a.city = field(fields, "city");
            a.state = field(fields, "region");
            a.postal = field(fields, "postal code");
            a.country = field(fields, "country");
            if (a.Empty()) {
                a.street = field(fields, "formatted");
            }
            if (!AddAddress(c, PlaceOf({}, field(fields, "type")), a)) {
                Warn("no free address field for another address; left out");
            }
        }
        // Fields the address book keeps once: a second value is warned about.
        auto one = [&](ULONG tag, const char* what, const std::string& value) {
            if (!c.SetFirstFree({tag}, value)) {
                Warn(std::string("the address book keeps one ") + what + "; \"" + value +
                     "\" left out");
            }
        };
        for (const auto& [index, fields] : groups["organization"]) {
            one(PR_COMPANY_NAME, "company", field(fields, "name"));
            one(PR_TITLE, "job title", field(fields, "title"));
            one(PR_DEPARTMENT_NAME, "department", field(fields, "department"));
            one(PR_LOCATION, "office location", field(fields, "location"));
        }
        for (const auto& [index, fields] : groups["relation"]) {
            std::string type = ToLower(field(fields, "type"));
            for (const std::string& name : Values(field(fields, "value"))) {
                if (type == "spouse" || type == "partner" || type == "domestic partner") {
                    one(PR_SPOUSE_NAME, "spouse", name);
                } else if (type == "child") {
                    c.lists[PR_CHILDRENS_NAMES].push_back(name);
                } else if (type == "assistant") {
                    one(PR_ASSISTANT, "assistant", name);
                } else if (type == "manager") {
                    one(PR_MANAGER_NAME, "manager", name);
                }
            }
        }
        for (const auto& [index, fields] : groups["website"]) {
            Place place = PlaceOf({}, field(fields, "type"));
            for (const std::string& url : Values(field(fields, "value"))) {
                if (!AddWebPage(c, place == Place::Work ? Place::Work : Place::Home, url)) {
                    Warn("the address book keeps two web pages; \"" + url + "\" left out");
                }
            }
        }
        for (const auto& [index, fields] : groups["event"]) {
            std::string type = ToLower(field(fields, "type"));
            ULONG tag = type == "anniversary" ? PR_WEDDING_ANNIVERSARY
                        : type == "birthday"  ? PR_BIRTHDAY
                                              : 0;
            if (tag != 0 && !c.Has(tag)) {
                if (auto ft = Date(field(fields, "value"), field(fields, "type"))) {
                    c.numbers[tag] = static_cast<std::int64_t>(*ft);
                }
            }
        }
    }
};

std::string Quote(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos &&
        (value.empty() || (value.front() != ' ' && value.back() != ' '))) {
        return value;
    }
    std::string out = "\"";
    for (char c : value) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string CsvDate(std::uint64_t fileTime) {
    DateTime d = FromFileTime(fileTime);
    char text[32];
    if (d.hour == 0 && d.minute == 0 && d.second == 0) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year, d.month, d.day,
                      d.hour, d.minute, d.second);
    }
    return text;
}

} // namespace

bool ReadCsv(std::string_view text, const std::string& file, std::vector<Contact>& contacts,
             std::vector<Issue>& warnings, Issue& error, const TextSource& source) {
    std::vector<Record> records;
    if (!ParseRecords(text, file, records, error)) {
        return false;
    }
    // Mail clients write their exports in a code page of their own, which the
    // file does not name; the address book keeps UTF-8. Field by field, so one
    // stray byte does not turn the accents of a UTF-8 file into others.
    for (Record& record : records) {
        for (std::string& field : record.fields) {
            field = UndeclaredToUtf8(field, source.codePage);
        }
    }
    if (records.empty() || (records[0].fields.size() == 1 && Trim(records[0].fields[0]).empty())) {
        error = {file, 1, "no header row"};
        return false;
    }
    const std::vector<std::string>& header = records[0].fields;
    bool hasJobTitle = false;
    for (const std::string& h : header) {
        hasJobTitle = hasJobTitle || EqualsNoCase(Trim(h), "job title");
    }
    std::vector<Rule> rules;
    bool known = false;
    for (const std::string& h : header) {
        rules.push_back(RuleFor(h, hasJobTitle));
        known = known || rules.back().kind != Kind::None;
    }
    if (!known) {
        error = {file, 1, "no known column in the header row (is this a contacts file?)"};
        return false;
    }
    std::size_t found = 0;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        for (std::size_t i = header.size(); i < record.fields.size(); ++i) {
            if (!Trim(record.fields[i]).empty()) {
                error = {file, record.line,
                         "the row has " + std::to_string(record.fields.size()) +
                             " fields, the header only " + std::to_string(header.size())};
                return false;
            }
        }
        Contact c;
        c.file = file;
        c.line = record.line;
        RowReader reader{file, warnings};
        reader.line = record.line;
        for (std::size_t i = 0; i < header.size() && i < record.fields.size(); ++i) {
            reader.Apply(c, rules[i], std::string(Trim(header[i])), record.fields[i]);
        }
        reader.Finish(c);
        if (!c.CompleteDisplayName()) {
            error = {file, record.line, "contact has no name, e-mail address or telephone number"};
            return false;
        }
        contacts.push_back(std::move(c));
        ++found;
    }
    if (found == 0) {
        error = {file, 0, "no contacts below the header row"};
        return false;
    }
    return true;
}

void WriteCsvHeader(std::string& out) {
    bool first = true;
    for (const Column& c : kColumns) {
        out += first ? "" : ",";
        out += Quote(c.pszLabel);
        first = false;
    }
    out += "\r\n";
}

void WriteCsvRow(const Contact& contact, std::string& out) {
    bool first = true;
    for (const Column& column : kColumns) {
        std::string value;
        if (column.ulPropTag == PR_CONTACT_EMAIL_ADDRESSES) {
            std::size_t preferred = 0;
            std::vector<std::string> emails = contact.Emails(preferred);
            if (emails.size() > 1) {
                value = Join(emails, kMultiSeparator);
            }
        } else if (column.ulPropTag == PR_EMAIL_ADDRESS) {
            std::size_t preferred = 0;
            std::vector<std::string> emails = contact.Emails(preferred);
            value = emails.empty() ? std::string() : emails[preferred];
        } else if (PROP_TYPE(column.ulPropTag) == PT_SYSTIME) {
            auto it = contact.numbers.find(column.ulPropTag);
            if (it != contact.numbers.end()) {
                value = CsvDate(static_cast<std::uint64_t>(it->second));
            }
        } else if (column.ulPropTag == PR_GENDER) {
            auto it = contact.numbers.find(column.ulPropTag);
            if (it != contact.numbers.end()) {
                value = it->second == genderMale     ? "Male"
                        : it->second == genderFemale ? "Female"
                                                     : "";
            }
        } else if (column.ulPropTag == PR_CHILDRENS_NAMES) {
            auto it = contact.lists.find(column.ulPropTag);
            if (it != contact.lists.end()) {
                value = Join(it->second, kMultiSeparator);
            }
        } else {
            value = contact.Text(column.ulPropTag);
        }
        out += first ? "" : ",";
        out += Quote(value);
        first = false;
    }
    out += "\r\n";
}

} // namespace wabtool
