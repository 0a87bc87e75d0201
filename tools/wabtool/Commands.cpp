#include "tools/wabtool/Commands.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/wabtool/CommandSupport.h"
#include "tools/wabtool/Contact.h"
#include "tools/wabtool/Csv.h"
#include "tools/wabtool/Encoding.h"
#include "tools/wabtool/Text.h"
#include "tools/wabtool/VCard.h"
#include "tools/wabtool/WabClient.h"

namespace wabtool {
namespace {

const char kMainHelp[] =
    "Usage: wabtool COMMAND [OPTIONS]\n"
    "Gets contacts into and out of an address book, and brings deleted ones back.\n"
    "Without a file, every command works on your default address book.\n"
    "\n"
    "Commands:\n"
    "  create FILE                                    make a new, empty address book\n"
    "  import [--into FILE] INPUT...                  add the contacts of vCard or CSV files\n"
    "  export [--from FILE] [--format FORMAT]         write every contact to standard output\n"
    "  list [FILE]                                    one line per entry\n"
    "  deleted [FILE]                                 the deleted contacts, newest first\n"
    "  restore [FILE] (--all | --since TIME | ID...)  put deleted contacts back\n"
    "  purge [FILE] [--older-than DAYS]               remove deleted contacts for good\n"
    "\n"
    "Run 'wabtool COMMAND --help' for the details of a command.\n";

const char kCreateHelp[] =
    "Usage: wabtool create FILE\n"
    "Makes FILE a new, empty address book, readable by you alone. An existing file\n"
    "is never overwritten.\n";

const char kImportHelp[] =
    "Usage: wabtool import [--into FILE] INPUT...\n"
    "Adds the contacts of each INPUT (a file, or - for standard input) to the address\n"
    "book FILE, or to your default address book. Inputs are vCard files (2.1, 3.0,\n"
    "4.0; several cards a file) or CSV files with a header row, as mail clients and\n"
    "contact services export them; the kind is told by the name (.vcf, .csv) or the\n"
    "content.\n"
    "\n"
    "Text may be UTF-8, UTF-16, or a code page the file does not name, which is\n"
    "detected; a vCard CHARSET parameter is followed.\n"
    "\n"
    "The import is one step: if any input has an error, its file and line are shown\n"
    "and nothing at all is added. Values that cannot be kept (a date without a year,\n"
    "a fourth home telephone number, a third web page) are reported as warnings and\n"
    "left out.\n";

const char kExportHelp[] =
    "Usage: wabtool export [--from FILE] [--format vcard3|vcard4|csv]\n"
    "Writes every contact of the address book FILE, or of your default address book,\n"
    "to standard output: as vCard 3.0 (the default), vCard 4.0, or CSV with the\n"
    "address book's field names as header. Importing the output gives back the same\n"
    "contacts; CSV leaves out distribution lists.\n";

const char kListHelp[] =
    "Usage: wabtool list [FILE]\n"
    "Prints one line per entry of the address book FILE, or of your default address\n"
    "book: identifier, kind (contact or list), display name and e-mail address,\n"
    "separated by tabs.\n";

// One entry the library cannot read is named and left out; the others are
// still listed or exported, and the command ends with status 1.
AddressBook::UnreadableEntry ReportUnreadable(const Io& io, const std::string& file,
                                              bool& unreadable) {
    return [&io, file, &unreadable](const SBinary& id, HRESULT hr) {
        unreadable = true;
        Say(io.err, BookName(file) + ": entry " + HexId(id) +
                        " cannot be read: " + DescribeWabResult(hr) + "; left out");
    };
}

bool ReadInput(const std::string& name, std::string& bytes, std::string& problem) {
    if (name == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        bytes = all.str();
        return true;
    }
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        problem = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        problem = "a folder, not a file";
        return false;
    }
    bytes.clear();
    if (S_ISREG(st.st_mode)) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char chunk[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
        bytes.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    const int error = errno;
    ::close(fd);
    if (got < 0) {
        problem = std::strerror(error);
        return false;
    }
    return true;
}

bool LooksLikeVCard(const std::string& name, const std::string& text) {
    std::string lower = ToLower(name);
    auto endsWith = [&](const char* suffix) {
        std::size_t n = std::strlen(suffix);
        return lower.size() >= n && lower.compare(lower.size() - n, n, suffix) == 0;
    };
    if (endsWith(".vcf") || endsWith(".vcard")) {
        return true;
    }
    if (endsWith(".csv")) {
        return false;
    }
    return EqualsNoCase(Trim(text).substr(0, 6), "BEGIN:");
}

// Rewrites one line on a terminal; silent otherwise.
class Progress {
public:
    Progress(std::FILE* err, std::size_t total)
        : m_err(err), m_total(total), m_on(total >= 1000 && isatty(fileno(err)) != 0) {}
    ~Progress() { Done(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void Step(std::size_t done) {
        if (m_on && (done % 500 == 0 || done == m_total)) {
            std::fprintf(m_err, "\rwabtool: storing contact %zu of %zu", done, m_total);
            std::fflush(m_err);
            m_shown = true;
        }
    }
    void Done() {
        if (m_shown) {
            std::fprintf(m_err, "\r%60s\r", "");
            std::fflush(m_err);
            m_shown = false;
        }
    }

private:
    std::FILE* m_err;
    std::size_t m_total;
    bool m_on;
    bool m_shown = false;
};

int Create(const std::vector<std::string>& args, const Io& io) {
    if (args.size() == 1 && IsHelp(args[0])) {
        std::fputs(kCreateHelp, io.out);
        return 0;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        return Usage(io, "create takes one FILE");
    }
    AddressBook book;
    HRESULT hr = book.Open(args[0], WAB_CREATE_STORE);
    if (FAILED(hr)) {
        return Fail(io, args[0] + ": cannot create the address book: " + DescribeWabResult(hr));
    }
    std::fprintf(io.out, "created %s\n", Escaped(args[0]).c_str());
    return 0;
}

int Import(const std::vector<std::string>& args, const Io& io) {
    std::string into;
    std::vector<std::string> inputs;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && IsHelp(a)) {
            std::fputs(kImportHelp, io.out);
            return 0;
        }
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--into") {
            if (i + 1 == args.size()) {
                return Usage(io, "--into needs a FILE");
            }
            into = args[++i];
            if (into.empty()) {
                return Usage(io, kEmptyBook);
            }
        } else if (options && a.rfind("--into=", 0) == 0) {
            into = a.substr(7);
            if (into.empty()) {
                return Usage(io, kEmptyBook);
            }
        } else if (options && a.size() > 1 && a[0] == '-') {
            return Usage(io, "unknown option " + a);
        } else if (a.empty()) {
            return Usage(io, "an empty INPUT name");
        } else {
            inputs.push_back(a);
        }
    }
    if (inputs.empty()) {
        return Usage(io, "import needs at least one INPUT");
    }

    // Everything is read and checked before the address book is touched.
    std::vector<Contact> contacts;
    std::vector<Issue> warnings;
    for (const std::string& input : inputs) {
        const std::string shown = input == "-" ? std::string("<stdin>") : input;
        std::string bytes;
        std::string problem;
        if (!ReadInput(input, bytes, problem)) {
            return Fail(io, shown + ": cannot read: " + problem + "; nothing was imported");
        }
        Issue error;
        if (!ReadContactsFile(input, shown, bytes, contacts, warnings, error)) {
            return Fail(io, error.Format() + "; nothing was imported");
        }
    }
    for (const Contact& c : contacts) {
        if (c.HoldsNul()) {
            Issue at{c.file, c.line,
                     "a value holds a NUL character, after which the address book would lose "
                     "the text; nothing was imported"};
            return Fail(io, at.Format());
        }
    }
    for (const Issue& w : warnings) {
        Say(io.err, w.Format());
    }

    AddressBook book;
    HRESULT hr = book.Open(into);
    if (FAILED(hr)) {
        return CannotOpen(io, into, hr);
    }
    hr = book.BeginTransaction();
    if (FAILED(hr)) {
        return Fail(io,
                    BookName(into) + ": cannot change the address book: " + DescribeWabResult(hr));
    }
    Progress progress(io.err, contacts.size());
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        PropArray props(contacts[i]);
        hr = book.Add(contacts[i].objectType, props.data(), props.size());
        if (FAILED(hr)) {
            book.AbortTransaction();
            progress.Done();
            Issue at{contacts[i].file, contacts[i].line,
                     "cannot store this contact: " + DescribeWabResult(hr) +
                         "; nothing was imported"};
            return Fail(io, at.Format());
        }
        progress.Step(i + 1);
    }
    hr = book.CommitTransaction();
    progress.Done();
    if (FAILED(hr)) {
        return Fail(io, BookName(into) + ": cannot save the address book: " +
                            DescribeWabResult(hr) + "; nothing was imported");
    }
    std::fprintf(io.out, "imported %zu contact%s into %s\n", contacts.size(),
                 contacts.size() == 1 ? "" : "s", Escaped(BookName(into)).c_str());
    return 0;
}

int Export(const std::vector<std::string>& args, const Io& io) {
    std::string from;
    std::string format = "vcard3";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelp(a)) {
            std::fputs(kExportHelp, io.out);
            return 0;
        }
        if ((a == "--from" || a == "--format") && i + 1 == args.size()) {
            return Usage(io, a + " needs a value");
        }
        if (a == "--from" || a.rfind("--from=", 0) == 0) {
            from = a == "--from" ? args[++i] : a.substr(7);
            if (from.empty()) {
                return Usage(io, kEmptyBook);
            }
        } else if (a == "--format") {
            format = args[++i];
        } else if (a.rfind("--format=", 0) == 0) {
            format = a.substr(9);
        } else {
            return Usage(io, "unexpected argument " + a);
        }
    }
    if (format != "vcard3" && format != "vcard4" && format != "csv") {
        return Usage(io, "unknown format " + format + " (vcard3, vcard4 or csv)");
    }
    AddressBook book;
    HRESULT hr = book.Open(from);
    if (FAILED(hr)) {
        return CannotOpen(io, from, hr);
    }
    std::string buffer;
    if (format == "csv") {
        WriteCsvHeader(buffer);
    }
    bool written = true;
    bool unreadable = false;
    hr = book.ForEach(
        [&](const EntryView& entry) {
            Contact c = Contact::FromEntry(entry);
            if (format == "csv") {
                if (c.objectType == MAPI_MAILUSER) {
                    WriteCsvRow(c, buffer);
                }
            } else {
                WriteVCard(c, format == "vcard4" ? VCardVersion::V4 : VCardVersion::V3, buffer);
            }
            if (buffer.size() > (1u << 16)) {
                written = written &&
                          std::fwrite(buffer.data(), 1, buffer.size(), io.out) == buffer.size();
                buffer.clear();
            }
            return written;
        },
        true, ReportUnreadable(io, from, unreadable));
    written = written && std::fwrite(buffer.data(), 1, buffer.size(), io.out) == buffer.size();
    written = written && std::fflush(io.out) == 0;
    if (FAILED(hr)) {
        return Fail(io,
                    BookName(from) + ": cannot read the address book: " + DescribeWabResult(hr));
    }
    if (!written) {
        return Fail(io, std::string("cannot write the export: ") + std::strerror(errno));
    }
    return unreadable ? 1 : 0;
}

int List(const std::vector<std::string>& args, const Io& io) {
    if (args.size() == 1 && IsHelp(args[0])) {
        std::fputs(kListHelp, io.out);
        return 0;
    }
    std::string file;
    int status = 0;
    if (!OnlyFile(args, "list", io, file, status)) {
        return status;
    }
    AddressBook book;
    HRESULT hr = book.Open(file);
    if (FAILED(hr)) {
        return CannotOpen(io, file, hr);
    }
    bool unreadable = false;
    // The table has every column the list shows: no entry need be opened.
    std::string line;
    hr = book.ForEachRow(
        {PR_EMAIL_ADDRESS},
        [&](const EntryView& entry) {
            line.clear();
            AppendHexId(line, entry.entryId);
            line += entry.objectType == MAPI_DISTLIST ? "\tlist\t" : "\tcontact\t";
            AppendEscaped(line, entry.Text(PR_DISPLAY_NAME));
            line += '\t';
            AppendEscaped(line, entry.Text(PR_EMAIL_ADDRESS));
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), io.out);
            return true;
        },
        ReportUnreadable(io, file, unreadable));
    if (FAILED(hr)) {
        return Fail(io,
                    BookName(file) + ": cannot read the address book: " + DescribeWabResult(hr));
    }
    if (unreadable) {
        std::fflush(io.out);
        return 1;
    }
    return std::fflush(io.out) == 0 ? 0 : Fail(io, "cannot write the list");
}

} // namespace

void Say(std::FILE* to, const std::string& message) {
    std::fprintf(to, "wabtool: %s\n", Escaped(message).c_str());
}

int Usage(const Io& io, const std::string& problem) {
    Say(io.err, problem);
    std::fputs("Try 'wabtool --help'.\n", io.err);
    return 2;
}

int Fail(const Io& io, const std::string& message) {
    Say(io.err, message);
    return 1;
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

const char kEmptyBook[] = "an empty FILE name; leave the FILE out for the default address book";

std::string HexId(const SBinary& id) {
    std::string text;
    AppendHexId(text, id);
    return text;
}

void AppendHexId(std::string& out, const SBinary& id) {
    static const char hex[] = "0123456789abcdef";
    for (ULONG i = 0; i < id.cb; ++i) {
        const char pair[2] = {hex[id.lpb[i] >> 4], hex[id.lpb[i] & 0xF]};
        out.append(pair, 2);
    }
}

std::string BookName(const std::string& file) {
    return file.empty() ? std::string("the default address book") : file;
}

int CannotOpen(const Io& io, const std::string& file, HRESULT hr) {
    return Fail(io, BookName(file) + ": cannot open the address book: " + DescribeWabResult(hr));
}

bool OnlyFile(const std::vector<std::string>& args, const char* command, const Io& io,
              std::string& file, int& status) {
    if (args.size() > 1 || (args.size() == 1 && args[0].size() > 1 && args[0][0] == '-')) {
        status = Usage(io, std::string(command) + " takes at most one FILE");
        return false;
    }
    if (args.size() == 1 && args[0].empty()) {
        status = Usage(io, kEmptyBook);
        return false;
    }
    file = args.empty() ? std::string() : args[0];
    return true;
}

bool ReadContactsFile(const std::string& name, const std::string& shown, std::string_view bytes,
                      std::vector<Contact>& contacts, std::vector<Issue>& warnings, Issue& error) {
    const FileText file = DecodeFileText(bytes);
    return LooksLikeVCard(name, file.text)
               ? ReadVCards(file.text, shown, contacts, warnings, error, file.source)
               : ReadCsv(file.text, shown, contacts, warnings, error, file.source);
}

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    Io io{out, err};
    if (args.empty()) {
        std::fputs(kMainHelp, err);
        return 2;
    }
    const std::string& command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (IsHelp(command) || command == "help") {
        if (!rest.empty() && !IsHelp(rest[0])) {
            return Run({rest[0], "--help"}, out, err);
        }
        std::fputs(kMainHelp, out);
        return 0;
    }
    if (command == "create") {
        return Create(rest, io);
    }
    if (command == "import") {
        return Import(rest, io);
    }
    if (command == "export") {
        return Export(rest, io);
    }
    if (command == "list") {
        return List(rest, io);
    }
    if (command == "deleted") {
        return Deleted(rest, io);
    }
    if (command == "restore") {
        return Restore(rest, io);
    }
    if (command == "purge") {
        return Purge(rest, io);
    }
    return Usage(io, "unknown command " + command);
}

} // namespace wabtool
