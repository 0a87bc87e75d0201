#include "tools/wabtool/Contact.h"

#include "tools/wabtool/Text.h"
#include "tools/wabtool/WabClient.h"

namespace wabtool {

std::string Issue::Format() const {
    std::string where = file;
    if (line != 0) {
        where += ':';
        where += std::to_string(line);
    }
    return where + ": " + message;
}

bool Contact::Has(ULONG tag) const {
    return text.count(tag) != 0 || numbers.count(tag) != 0 || lists.count(tag) != 0;
}

std::string Contact::Text(ULONG tag) const {
    auto it = text.find(tag);
    return it != text.end() ? it->second : std::string();
}

void Contact::SetText(ULONG tag, const std::string& value) {
    if (!Trim(value).empty()) {
        text[tag] = value;
    }
}

bool Contact::SetFirstFree(const std::vector<ULONG>& tags, const std::string& value) {
    if (Trim(value).empty()) {
        return true;
    }
    for (ULONG tag : tags) {
        if (!Has(tag)) {
            text[tag] = value;
            return true;
        }
    }
    return false;
}

void Contact::AppendText(ULONG tag, const std::string& value) {
    if (Trim(value).empty()) {
        return;
    }
    std::string& target = text[tag];
    if (!target.empty()) {
        target += '\n';
    }
    target += value;
}

void Contact::SetEmails(const std::vector<std::string>& addresses, std::size_t preferred) {
    if (addresses.empty()) {
        return;
    }
    if (preferred >= addresses.size()) {
        preferred = 0;
    }
    text[PR_EMAIL_ADDRESS] = addresses[preferred];
    text[PR_ADDRTYPE] = "SMTP";
    if (addresses.size() > 1) {
        lists[PR_CONTACT_EMAIL_ADDRESSES] = addresses;
        lists[PR_CONTACT_ADDRTYPES] = std::vector<std::string>(addresses.size(), "SMTP");
        numbers[PR_CONTACT_DEFAULT_ADDRESS_INDEX] = static_cast<std::int64_t>(preferred);
    }
}

std::vector<std::string> Contact::Emails(std::size_t& preferred) const {
    preferred = 0;
    auto list = lists.find(PR_CONTACT_EMAIL_ADDRESSES);
    if (list != lists.end() && !list->second.empty()) {
        auto index = numbers.find(PR_CONTACT_DEFAULT_ADDRESS_INDEX);
        if (index != numbers.end() && index->second >= 0 &&
            static_cast<std::size_t>(index->second) < list->second.size()) {
            preferred = static_cast<std::size_t>(index->second);
        } else {
            std::string main = Text(PR_EMAIL_ADDRESS);
            for (std::size_t i = 0; i < list->second.size(); ++i) {
                if (list->second[i] == main) {
                    preferred = i;
                    break;
                }
            }
        }
        return list->second;
    }
    std::string main = Text(PR_EMAIL_ADDRESS);
    return main.empty() ? std::vector<std::string>{} : std::vector<std::string>{main};
}

bool Contact::CompleteDisplayName() {
    if (!Text(PR_DISPLAY_NAME).empty()) {
        return true;
    }
    std::vector<std::string> parts;
    for (ULONG tag : {PR_GIVEN_NAME, PR_MIDDLE_NAME, PR_SURNAME}) {
        if (!Text(tag).empty()) {
            parts.push_back(Text(tag));
        }
    }
    std::string name = Join(parts, " ");
    for (ULONG tag : {PR_EMAIL_ADDRESS, PR_COMPANY_NAME, PR_NICKNAME, PR_PRIMARY_TELEPHONE_NUMBER,
                      PR_MOBILE_TELEPHONE_NUMBER, PR_HOME_TELEPHONE_NUMBER,
                      PR_BUSINESS_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}) {
        if (!name.empty()) {
            break;
        }
        name = Text(tag);
    }
    if (name.empty()) {
        return false;
    }
    text[PR_DISPLAY_NAME] = name;
    return true;
}

Contact Contact::FromEntry(const EntryView& entry) {
    Contact c;
    c.objectType = entry.objectType;
    for (ULONG i = 0; i < entry.count; ++i) {
        const SPropValue& v = entry.props[i];
        switch (PROP_TYPE(v.ulPropTag)) {
        case PT_STRING8:
            if (v.Value.lpszA != nullptr) {
                c.text[v.ulPropTag] = v.Value.lpszA;
            }
            break;
        case PT_SHORT:
            c.numbers[v.ulPropTag] = v.Value.i;
            break;
        case PT_LONG:
            if (v.ulPropTag != PR_OBJECT_TYPE) {
                c.numbers[v.ulPropTag] = v.Value.l;
            }
            break;
        case PT_SYSTIME:
            c.numbers[v.ulPropTag] = static_cast<std::int64_t>(PackFileTime(v.Value.ft));
            break;
        case PT_MV_STRING8: {
            std::vector<std::string>& list = c.lists[v.ulPropTag];
            for (ULONG k = 0; k < v.Value.MVszA.cValues; ++k) {
                const char* s = v.Value.MVszA.lppszA[k];
                list.emplace_back(s != nullptr ? s : "");
            }
            break;
        }
        default:
            break; // identifiers, binaries and errors are not contact data
        }
    }
    return c;
}

PropArray::PropArray(const Contact& contact) {
    for (const auto& [tag, value] : contact.text) {
        SPropValue v{};
        v.ulPropTag = tag;
        v.Value.lpszA = const_cast<char*>(value.c_str());
        m_values.push_back(v);
    }
    for (const auto& [tag, number] : contact.numbers) {
        SPropValue v{};
        v.ulPropTag = tag;
        switch (PROP_TYPE(tag)) {
        case PT_SHORT:
            v.Value.i = static_cast<short>(number);
            break;
        case PT_LONG:
            v.Value.l = static_cast<LONG>(number);
            break;
        case PT_SYSTIME:
            v.Value.ft = UnpackFileTime(static_cast<std::uint64_t>(number));
            break;
        default:
            continue;
        }
        m_values.push_back(v);
    }
    m_lists.reserve(contact.lists.size());
    for (const auto& [tag, list] : contact.lists) {
        std::vector<char*>& pointers = m_lists.emplace_back();
        for (const std::string& s : list) {
            pointers.push_back(const_cast<char*>(s.c_str()));
        }
        SPropValue v{};
        v.ulPropTag = tag;
        v.Value.MVszA.cValues = static_cast<ULONG>(pointers.size());
        v.Value.MVszA.lppszA = pointers.data();
        m_values.push_back(v);
    }
}

// ---- Mapping rules --------------------------------------------------------------

namespace {

std::string CleanLabel(const std::string& label) {
    // Desktop address books wrap their own labels: "_$!<HomePage>!$_".
    std::string l = ToLower(Trim(label));
    if (l.rfind("_$!<", 0) == 0 && l.size() >= 8 && l.compare(l.size() - 4, 4, ">!$_") == 0) {
        l = l.substr(4, l.size() - 8);
    }
    return l;
}

bool Contains(const std::string& haystack, const char* needle) {
    return haystack.find(needle) != std::string::npos;
}

bool HasType(const std::set<std::string>& types, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        if (types.count(n) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

PhoneKind PhoneKindOf(const std::set<std::string>& typesIn, const std::string& labelIn) {
    std::set<std::string> types;
    for (const std::string& t : typesIn) {
        types.insert(ToUpper(t));
    }
    const std::string label = CleanLabel(labelIn);
    if (!label.empty()) {
        bool fax = Contains(label, "fax");
        if (Contains(label, "assistant")) {
            return PhoneKind::Assistant;
        }
        if (Contains(label, "callback")) {
            return PhoneKind::Callback;
        }
        if (Contains(label, "radio")) {
            return PhoneKind::Radio;
        }
        if (Contains(label, "pager")) {
            return PhoneKind::Pager;
        }
        if (Contains(label, "isdn")) {
            return PhoneKind::Isdn;
        }
        if (label == "car" || Contains(label, "car phone")) {
            return PhoneKind::Car;
        }
        if (Contains(label, "mobile") || Contains(label, "cell") || Contains(label, "iphone")) {
            return PhoneKind::Mobile;
        }
        bool work =
            Contains(label, "work") || Contains(label, "business") || Contains(label, "office");
        bool home = Contains(label, "home");
        if (fax) {
            return work ? PhoneKind::WorkFax : home ? PhoneKind::HomeFax : PhoneKind::Fax;
        }
        if (work) {
            return PhoneKind::Work;
        }
        if (home) {
            return PhoneKind::Home;
        }
        if (Contains(label, "main") || Contains(label, "primary")) {
            return PhoneKind::Primary;
        }
        if (Contains(label, "other")) {
            return PhoneKind::Other;
        }
    }
    bool work = HasType(types, {"WORK"});
    bool home = HasType(types, {"HOME"});
    if (HasType(types, {"FAX"})) {
        return work ? PhoneKind::WorkFax : home ? PhoneKind::HomeFax : PhoneKind::Fax;
    }
    if (HasType(types, {"CELL", "MOBILE", "IPHONE"})) {
        return PhoneKind::Mobile;
    }
    if (HasType(types, {"PAGER"})) {
        return PhoneKind::Pager;
    }
    if (HasType(types, {"CAR", "X-CAR"})) {
        return PhoneKind::Car;
    }
    if (HasType(types, {"ISDN", "X-ISDN"})) {
        return PhoneKind::Isdn;
    }
    if (HasType(types, {"X-ASSISTANT", "ASSISTANT"})) {
        return PhoneKind::Assistant;
    }
    if (HasType(types, {"X-CALLBACK", "CALLBACK"})) {
        return PhoneKind::Callback;
    }
    if (HasType(types, {"X-RADIO", "RADIO"})) {
        return PhoneKind::Radio;
    }
    if (work) {
        return PhoneKind::Work;
    }
    if (home) {
        return PhoneKind::Home;
    }
    if (HasType(types, {"OTHER", "X-OTHER"})) {
        return PhoneKind::Other;
    }
    return PhoneKind::Primary;
}

bool AddPhone(Contact& contact, PhoneKind kind, const std::string& number) {
    static const std::map<PhoneKind, std::vector<ULONG>> candidates = {
        {PhoneKind::Work,
         {PR_BUSINESS_TELEPHONE_NUMBER, PR_BUSINESS2_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Home,
         {PR_HOME_TELEPHONE_NUMBER, PR_HOME2_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Mobile, {PR_MOBILE_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Pager, {PR_PAGER_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Car, {PR_CAR_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Isdn, {PR_ISDN_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Assistant, {PR_ASSISTANT_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Callback, {PR_CALLBACK_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Radio, {PR_RADIO_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::WorkFax, {PR_BUSINESS_FAX_NUMBER, PR_PRIMARY_FAX_NUMBER}},
        {PhoneKind::HomeFax, {PR_HOME_FAX_NUMBER, PR_PRIMARY_FAX_NUMBER}},
        {PhoneKind::Fax, {PR_PRIMARY_FAX_NUMBER}},
        {PhoneKind::Primary, {PR_PRIMARY_TELEPHONE_NUMBER, PR_OTHER_TELEPHONE_NUMBER}},
        {PhoneKind::Other, {PR_OTHER_TELEPHONE_NUMBER, PR_PRIMARY_TELEPHONE_NUMBER}},
    };
    return contact.SetFirstFree(candidates.at(kind), std::string(Trim(number)));
}

Place PlaceOf(const std::set<std::string>& types, const std::string& labelIn) {
    const std::string label = CleanLabel(labelIn);
    for (const std::string& t : types) {
        std::string u = ToUpper(t);
        if (u == "WORK" || u == "BUSINESS") {
            return Place::Work;
        }
        if (u == "HOME") {
            return Place::Home;
        }
    }
    if (Contains(label, "work") || Contains(label, "business") || Contains(label, "office")) {
        return Place::Work;
    }
    if (Contains(label, "home")) {
        return Place::Home;
    }
    return Place::Other;
}

AddressTags AddressTagsOf(Place place) {
    switch (place) {
    case Place::Work:
        return {PR_BUSINESS_ADDRESS_STREET, PR_BUSINESS_ADDRESS_CITY,
                PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE, PR_BUSINESS_ADDRESS_POSTAL_CODE,
                PR_BUSINESS_ADDRESS_COUNTRY};
    case Place::Home:
        return {PR_HOME_ADDRESS_STREET, PR_HOME_ADDRESS_CITY, PR_HOME_ADDRESS_STATE_OR_PROVINCE,
                PR_HOME_ADDRESS_POSTAL_CODE, PR_HOME_ADDRESS_COUNTRY};
    default:
        return {PR_OTHER_ADDRESS_STREET, PR_OTHER_ADDRESS_CITY, PR_OTHER_ADDRESS_STATE_OR_PROVINCE,
                PR_OTHER_ADDRESS_POSTAL_CODE, PR_OTHER_ADDRESS_COUNTRY};
    }
}

bool Address::Empty() const {
    return Trim(street + city + state + postal + country).empty();
}

bool AddAddress(Contact& contact, Place place, const Address& address) {
    if (address.Empty()) {
        return true;
    }
    for (Place p : {place, Place::Other}) {
        AddressTags t = AddressTagsOf(p);
        if (contact.Has(t.street) || contact.Has(t.city) || contact.Has(t.state) ||
            contact.Has(t.postal) || contact.Has(t.country)) {
            continue;
        }
        contact.SetText(t.street, address.street);
        contact.SetText(t.city, address.city);
        contact.SetText(t.state, address.state);
        contact.SetText(t.postal, address.postal);
        contact.SetText(t.country, address.country);
        return true;
    }
    return false;
}

bool AddWebPage(Contact& contact, Place place, const std::string& url) {
    if (place == Place::Work) {
        return contact.SetFirstFree({PR_BUSINESS_HOME_PAGE, PR_PERSONAL_HOME_PAGE}, url);
    }
    return contact.SetFirstFree({PR_PERSONAL_HOME_PAGE, PR_BUSINESS_HOME_PAGE}, url);
}

bool IsAddressTag(ULONG tag) {
    static const std::set<ULONG> tags = {
        PR_EMAIL_ADDRESS,
        PR_PERSONAL_HOME_PAGE,
        PR_BUSINESS_HOME_PAGE,
        PR_PRIMARY_TELEPHONE_NUMBER,
        PR_BUSINESS_TELEPHONE_NUMBER,
        PR_BUSINESS2_TELEPHONE_NUMBER,
        PR_HOME_TELEPHONE_NUMBER,
        PR_HOME2_TELEPHONE_NUMBER,
        PR_MOBILE_TELEPHONE_NUMBER,
        PR_PAGER_TELEPHONE_NUMBER,
        PR_CAR_TELEPHONE_NUMBER,
        PR_ISDN_NUMBER,
        PR_ASSISTANT_TELEPHONE_NUMBER,
        PR_CALLBACK_TELEPHONE_NUMBER,
        PR_RADIO_TELEPHONE_NUMBER,
        PR_OTHER_TELEPHONE_NUMBER,
        PR_PRIMARY_FAX_NUMBER,
        PR_BUSINESS_FAX_NUMBER,
        PR_HOME_FAX_NUMBER,
    };
    return tags.count(tag) != 0;
}

short GenderOf(const std::string& text) {
    std::string g = ToLower(Trim(text));
    if (g == "m" || g == "male" || g == "man") {
        return genderMale;
    }
    if (g == "f" || g == "female" || g == "woman") {
        return genderFemale;
    }
    return genderUnspecified;
}

bool Contact::HoldsNul() const {
    for (const auto& [tag, value] : text) {
        if (value.find('\0') != std::string::npos) {
            return true;
        }
    }
    for (const auto& [tag, values] : lists) {
        for (const std::string& value : values) {
            if (value.find('\0') != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

} // namespace wabtool
