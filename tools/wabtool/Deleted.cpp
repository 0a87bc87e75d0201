// wabtool's commands on deleted contacts: list them, put them back, remove
// them for good. Times are shown and read in local time, to the second.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>

#include "tools/wabtool/CommandSupport.h"
#include "tools/wabtool/Text.h"

namespace wabtool {
namespace {

const char kDeletedHelp[] =
    "Usage: wabtool deleted [FILE]\n"
    "Prints the contacts and lists deleted from the address book FILE, or from your\n"
    "default address book, newest first: identifier, time of deletion (local time),\n"
    "kind (contact or list), display name and e-mail address, separated by tabs.\n"
    "Deleted contacts are kept for 30 days; 'wabtool restore' puts them back.\n";

const char kRestoreHelp[] =
    "Usage: wabtool restore [FILE] (--all | --since TIME | ID...)\n"
    "Puts deleted contacts back into the address book FILE, or into your default\n"
    "address book, with every detail they had and their old identifiers:\n"
    "  --all          every deleted contact\n"
    "  --since TIME   those deleted at TIME or later, in local time as 'wabtool\n"
    "                 deleted' shows it: 2024-05-31, \"2024-05-31 14:30\" or\n"
    "                 \"2024-05-31 14:30:15\"\n"
    "  ID...          those with these identifiers, as 'wabtool deleted' shows them\n"
    "Either all of them come back or, if one cannot, none does. A FILE whose name\n"
    "is 64 hexadecimal digits, like an identifier, is written as ./NAME.\n";

const char kPurgeHelp[] =
    "Usage: wabtool purge [FILE] [--older-than DAYS]\n"
    "Removes deleted contacts for good from the address book FILE, or from your\n"
    "default address book: all of them, or those deleted more than DAYS days ago.\n"
    "Contacts deleted more than 30 days ago go by themselves the next time the\n"
    "address book is opened where it may be changed.\n";

constexpr std::size_t kIdDigits = 64; // an entry identifier of 32 bytes
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kUnixEpochTicks = 116444736000000000; // 1970-01-01 as FILETIME
constexpr long kMaxDays = 36500;

struct DeletedEntry {
    std::vector<BYTE> id;
    std::string hex;
    ULONG objectType = 0;
    std::int64_t deletedOn = 0; // FILETIME ticks
    std::string name;
    std::string email;
};

std::string Plural(std::size_t n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

std::int64_t TicksOf(std::time_t t) {
    return kUnixEpochTicks + static_cast<std::int64_t>(t) * kTicksPerSecond;
}

std::string LocalTime(std::int64_t ticks) {
    const std::int64_t since = ticks - kUnixEpochTicks;
    const auto t =
        static_cast<std::time_t>(since / kTicksPerSecond - (since % kTicksPerSecond < 0 ? 1 : 0));
    std::tm tm{};
    char text[32] = "?";
    if (localtime_r(&t, &tm) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    }
    return text;
}

// 2024-05-31, 2024-05-31 14:30 or 2024-05-31T14:30:15, in local time.
std::optional<std::int64_t> ParseLocalTime(const std::string& text) {
    std::tm tm{};
    int used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &used) !=
        3) {
        return std::nullopt;
    }
    if (static_cast<std::size_t>(used) != text.size()) {
        int more = 0;
        const char* rest = text.c_str() + used;
        if ((*rest != ' ' && *rest != 'T') ||
            std::sscanf(rest + 1, "%2d:%2d%n", &tm.tm_hour, &tm.tm_min, &more) != 2) {
            return std::nullopt;
        }
        rest += 1 + more;
        if (*rest == ':' && std::sscanf(rest + 1, "%2d%n", &tm.tm_sec, &more) == 1) {
            rest += 1 + more;
        }
        if (*rest != '\0') {
            return std::nullopt;
        }
    }
    const std::tm asked = tm;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    // mktime moves 31 April to 1 May: such a date is refused, not moved.
    if (t == static_cast<std::time_t>(-1) || tm.tm_mday != asked.tm_mday ||
        tm.tm_mon != asked.tm_mon - 1 || asked.tm_hour > 23 || asked.tm_min > 59 ||
        asked.tm_sec > 59) {
        return std::nullopt;
    }
    return TicksOf(t);
}

bool IsEntryId(const std::string& text) {
    return text.size() == kIdDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

std::string ToLowerHex(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

HRESULT LoadDeleted(AddressBook& book, std::vector<DeletedEntry>& entries) {
    return book.ForEachDeleted([&](const EntryView& view) {
        DeletedEntry& e = entries.emplace_back();
        e.id.assign(view.entryId.lpb, view.entryId.lpb + view.entryId.cb);
        e.hex = HexId(view.entryId);
        e.objectType = view.objectType;
        if (const SPropValue* when = view.Find(PR_DELETED_ON)) {
            e.deletedOn = static_cast<std::int64_t>(PackFileTime(when->Value.ft));
        }
        e.name = view.String(PR_DISPLAY_NAME);
        e.email = view.String(PR_EMAIL_ADDRESS);
        return true;
    });
}

// The book opened and its deleted contacts read; else the status to end with.
std::optional<int> OpenWithDeleted(AddressBook& book, const std::string& file, const Io& io,
                                   std::vector<DeletedEntry>& entries) {
    HRESULT hr = book.Open(file);
    if (FAILED(hr)) {
        return CannotOpen(io, file, hr);
    }
    hr = LoadDeleted(book, entries);
    if (FAILED(hr)) {
        return Fail(io, BookName(file) +
                            ": cannot read the deleted contacts: " + DescribeWabResult(hr));
    }
    return std::nullopt;
}

// The same for a command whose only argument is the optional FILE.
std::optional<int> OpenFileWithDeleted(const std::vector<std::string>& args, const char* command,
                                       const Io& io, AddressBook& book, std::string& file,
                                       std::vector<DeletedEntry>& entries) {
    int status = 0;
    if (!OnlyFile(args, command, io, file, status)) {
        return status;
    }
    return OpenWithDeleted(book, file, io, entries);
}

// The display name of an entry in use with this identifier, if there is one.
std::optional<std::string> NameInUse(AddressBook& book, std::vector<BYTE> id) {
    ULONG type = 0;
    ComRef<IUnknown> unknown;
    if (FAILED(book.Book()->OpenEntry(static_cast<ULONG>(id.size()),
                                      reinterpret_cast<LPENTRYID>(id.data()), nullptr, 0, &type,
                                      unknown.out()))) {
        return std::nullopt;
    }
    ComRef<IMAPIProp> entry(static_cast<IMAPIProp*>(unknown.release()));
    ULONG count = 0;
    LPSPropValue props = nullptr;
    const HRESULT hr = entry->GetProps(nullptr, 0, &count, &props);
    WabBuffer held(book.Object(), props);
    EntryView view;
    view.props = props;
    view.count = SUCCEEDED(hr) ? count : 0;
    return view.String(PR_DISPLAY_NAME);
}

std::vector<BYTE> BytesOf(const std::string& hex) {
    std::vector<BYTE> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<BYTE>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Why a restore or purge of the library failed, in the user's words.
std::string ChangeRefused(HRESULT hr) {
    switch (hr) {
    case MAPI_E_COLLISION:
        return "a contact to restore is in the address book again (restored meanwhile?)";
    case MAPI_E_NOT_FOUND:
        return "a contact is no longer among the deleted (restored or purged meanwhile?)";
    default:
        return DescribeWabResult(hr);
    }
}

// How restore and purge change the deleted contacts, and how they say so.
struct ChangeKind {
    const char* verb;
    const char* done;
    const char* what;
    const char* place;
    HRESULT (AddressBook::*apply)(const std::vector<std::vector<BYTE>>&);
};
const ChangeKind kRestoring{"restore", "restored", "contact", "to", &AddressBook::Restore};
const ChangeKind kPurging{"purge", "purged", "deleted contact", "from", &AddressBook::Purge};

int Change(AddressBook& book, const std::string& file, const Io& io,
           const std::vector<std::vector<BYTE>>& chosen, const ChangeKind& kind) {
    const std::string name = BookName(file);
    if (chosen.empty()) {
        std::fprintf(io.out, "no deleted contacts to %s in %s\n", kind.verb, Escaped(name).c_str());
        return 0;
    }
    const HRESULT hr = (book.*kind.apply)(chosen);
    if (FAILED(hr)) {
        return Fail(io, name + ": cannot " + kind.verb + ": " + ChangeRefused(hr) +
                            "; nothing was " + kind.done);
    }
    std::fprintf(io.out, "%s %s %s %s\n", kind.done, Plural(chosen.size(), kind.what).c_str(),
                 kind.place, Escaped(name).c_str());
    return 0;
}

struct RestoreArgs {
    std::string file;
    bool all = false;
    std::optional<std::int64_t> since;
    std::vector<std::string> ids;
};

// Nothing when parsed; else the status to end with (0 after the help).
std::optional<int> ParseRestore(const std::vector<std::string>& args, const Io& io,
                                RestoreArgs& parsed) {
    std::vector<std::string> positional;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && IsHelp(a)) {
            std::fputs(kRestoreHelp, io.out);
            return 0;
        }
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--all") {
            parsed.all = true;
        } else if (options && (a == "--since" || a.rfind("--since=", 0) == 0)) {
            if (a == "--since" && i + 1 == args.size()) {
                return Usage(io, "--since needs a TIME");
            }
            const std::string text = a == "--since" ? args[++i] : a.substr(8);
            parsed.since = ParseLocalTime(text);
            if (!parsed.since) {
                return Usage(io, "not a time: " + text +
                                     " (as 2024-05-31, \"2024-05-31 14:30\" or \"2024-05-31 "
                                     "14:30:15\")");
            }
        } else if (options && a.size() > 1 && a[0] == '-') {
            return Usage(io, "unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (!positional.empty() && !IsEntryId(positional[0])) {
        parsed.file = positional[0];
        positional.erase(positional.begin());
        if (parsed.file.empty()) {
            return Usage(io, kEmptyBook);
        }
    }
    for (const std::string& id : positional) {
        if (!IsEntryId(id)) {
            return Usage(io, "not an identifier: " + id);
        }
        parsed.ids.push_back(ToLowerHex(id));
    }
    const int ways = static_cast<int>(parsed.all) + static_cast<int>(parsed.since.has_value()) +
                     static_cast<int>(!parsed.ids.empty());
    if (ways != 1) {
        return Usage(io, "restore takes one of --all, --since TIME or identifiers");
    }
    return std::nullopt;
}

// The deleted contacts the arguments name; else the status to end with.
std::optional<int> ChooseToRestore(AddressBook& book, const RestoreArgs& args, const Io& io,
                                   const std::vector<DeletedEntry>& deleted,
                                   std::vector<std::vector<BYTE>>& chosen) {
    if (args.ids.empty()) {
        for (const DeletedEntry& e : deleted) {
            if (args.all || e.deletedOn >= *args.since) {
                chosen.push_back(e.id);
            }
        }
        return std::nullopt;
    }
    std::map<std::string, const DeletedEntry*> byId;
    for (const DeletedEntry& e : deleted) {
        byId[e.hex] = &e;
    }
    for (const std::string& hex : args.ids) {
        auto it = byId.find(hex);
        if (it != byId.end()) {
            chosen.push_back(it->second->id);
            continue;
        }
        const std::string where = BookName(args.file) + ": ";
        if (std::optional<std::string> name = NameInUse(book, BytesOf(hex))) {
            return Fail(io, where + "\"" + *name + "\" (" + hex +
                                ") is in the address book already; nothing was restored");
        }
        return Fail(io, where + "no deleted contact has the identifier " + hex +
                            "; nothing was restored");
    }
    return std::nullopt;
}

} // namespace

int Deleted(const std::vector<std::string>& args, const Io& io) {
    if (args.size() == 1 && IsHelp(args[0])) {
        std::fputs(kDeletedHelp, io.out);
        return 0;
    }
    AddressBook book;
    std::string file;
    std::vector<DeletedEntry> deleted;
    if (std::optional<int> failed = OpenFileWithDeleted(args, "deleted", io, book, file, deleted)) {
        return *failed;
    }
    for (const DeletedEntry& e : deleted) {
        const std::string line = e.hex + "\t" + LocalTime(e.deletedOn) + "\t" +
                                 (e.objectType == MAPI_DISTLIST ? "list" : "contact") + "\t" +
                                 Escaped(e.name) + "\t" + Escaped(e.email) + "\n";
        std::fwrite(line.data(), 1, line.size(), io.out);
    }
    return std::fflush(io.out) == 0 ? 0 : Fail(io, "cannot write the list");
}

int Restore(const std::vector<std::string>& args, const Io& io) {
    RestoreArgs parsed;
    if (std::optional<int> status = ParseRestore(args, io, parsed)) {
        return *status;
    }
    AddressBook book;
    std::vector<DeletedEntry> deleted;
    if (std::optional<int> failed = OpenWithDeleted(book, parsed.file, io, deleted)) {
        return *failed;
    }
    std::vector<std::vector<BYTE>> chosen;
    if (std::optional<int> failed = ChooseToRestore(book, parsed, io, deleted, chosen)) {
        return *failed;
    }
    return Change(book, parsed.file, io, chosen, kRestoring);
}

int Purge(const std::vector<std::string>& args, const Io& io) {
    std::vector<std::string> rest;
    std::optional<long> days;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelp(a)) {
            std::fputs(kPurgeHelp, io.out);
            return 0;
        }
        if (a == "--older-than" || a.rfind("--older-than=", 0) == 0) {
            if (a == "--older-than" && i + 1 == args.size()) {
                return Usage(io, "--older-than needs a number of DAYS");
            }
            const std::string text = a == "--older-than" ? args[++i] : a.substr(13);
            const bool digits = !text.empty() && text.size() <= 6 &&
                                std::all_of(text.begin(), text.end(), [](char c) {
                                    return std::isdigit(static_cast<unsigned char>(c)) != 0;
                                });
            if (!digits || std::stol(text) > kMaxDays) {
                return Usage(io, "not a number of days: " + text);
            }
            days = std::stol(text);
        } else {
            rest.push_back(a);
        }
    }
    AddressBook book;
    std::string file;
    std::vector<DeletedEntry> deleted;
    if (std::optional<int> failed = OpenFileWithDeleted(rest, "purge", io, book, file, deleted)) {
        return *failed;
    }
    const std::int64_t before =
        days ? TicksOf(std::time(nullptr)) - *days * 86400 * kTicksPerSecond : INT64_MAX;
    std::vector<std::vector<BYTE>> chosen;
    for (const DeletedEntry& e : deleted) {
        if (e.deletedOn < before) {
            chosen.push_back(e.id);
        }
    }
    return Change(book, file, io, chosen, kPurging);
}

} // namespace wabtool
