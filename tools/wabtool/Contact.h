// A contact between a file and the address book: its properties by tag,
// and the mapping rules that both import formats share.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/wab32/WabAbi.h"

namespace wabtool {

struct EntryView;

// A problem in an input file, at a line (0: the file as a whole).
struct Issue {
    std::string file;
    std::size_t line = 0;
    std::string message;
    std::string Format() const;
};

struct Contact {
    std::string file; // where it was read, for messages
    std::size_t line = 0;
    ULONG objectType = MAPI_MAILUSER;
    std::map<ULONG, std::string> text;               // PT_STRING8
    std::map<ULONG, std::int64_t> numbers;           // PT_SHORT, PT_LONG, PT_SYSTIME
    std::map<ULONG, std::vector<std::string>> lists; // PT_MV_STRING8

    bool Has(ULONG tag) const;
    std::string Text(ULONG tag) const;
    // Text is kept as written, blanks at either end included; text of blanks
    // alone counts as none. A later value for the same tag replaces it.
    void SetText(ULONG tag, const std::string& value);
    // Stores text in the first of `tags` that is still free.
    bool SetFirstFree(const std::vector<ULONG>& tags, const std::string& value);
    // Appends to a multi-valued note-like text with a line break.
    void AppendText(ULONG tag, const std::string& value);

    // All e-mail addresses, the preferred one at `preferred`.
    void SetEmails(const std::vector<std::string>& addresses, std::size_t preferred);
    std::vector<std::string> Emails(std::size_t& preferred) const;

    // A contact needs a display name: from the name parts, else the e-mail
    // address, the company, the nickname or a telephone number. False when
    // there is nothing to take it from.
    bool CompleteDisplayName();

    // The address book keeps a text only up to its first NUL.
    bool HoldsNul() const;

    static Contact FromEntry(const EntryView& entry);
};

// Property values pointing into a contact, valid while both live.
class PropArray {
public:
    explicit PropArray(const Contact& contact);
    const SPropValue* data() const { return m_values.data(); }
    ULONG size() const { return static_cast<ULONG>(m_values.size()); }

private:
    std::vector<SPropValue> m_values;
    std::vector<std::vector<char*>> m_lists;
};

// ---- Shared mapping of telephone numbers, addresses and web pages -------------

enum class PhoneKind {
    Work,
    Home,
    Mobile,
    Pager,
    Car,
    Isdn,
    Assistant,
    Callback,
    Radio,
    WorkFax,
    HomeFax,
    Fax,
    Primary,
    Other
};

// From vCard TYPE values and a label (upper or lower case, any order).
PhoneKind PhoneKindOf(const std::set<std::string>& types, const std::string& label = {});
bool AddPhone(Contact& contact, PhoneKind kind, const std::string& number);

enum class Place { Work, Home, Other };
Place PlaceOf(const std::set<std::string>& types, const std::string& label = {});

struct AddressTags {
    ULONG street, city, state, postal, country;
};
AddressTags AddressTagsOf(Place place);

struct Address {
    std::string street, city, state, postal, country;
    bool Empty() const;
};
// Into its place, else the other address; false when both are taken.
bool AddAddress(Contact& contact, Place place, const Address& address);

bool AddWebPage(Contact& contact, Place place, const std::string& url);

// An address of some kind: e-mail, web page, telephone or fax number. Blanks
// at its ends mean nothing, and every reader drops them.
bool IsAddressTag(ULONG tag);

// "male"/"m" -> genderMale and so on; genderUnspecified when unknown.
short GenderOf(const std::string& text);

} // namespace wabtool
