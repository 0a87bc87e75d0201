// Opening an address book whose file holds any bytes: refused with a reason,
// or read whole (entries that cannot be read named and left out), changed
// and changed back, and read again where it may not be written.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "tools/wabtool/WabClient.h"

namespace {

void ReadAll(wabtool::AddressBook& book) {
    book.ForEach([](const wabtool::EntryView&) { return true; }, true,
                 [](const SBinary&, HRESULT) {});
    book.ForEachDeleted([](const wabtool::EntryView&) { return true; });
}

void RemoveBeside(const std::string& path) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        std::remove((path + suffix).c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::Folder() + "/book.wab";
    RemoveBeside(path);
    fuzz::WriteInput("book.wab", data, size);
    {
        wabtool::AddressBook book;
        if (FAILED(book.Open(path))) {
            return 0;
        }
        ReadAll(book);
        std::vector<std::vector<BYTE>> first;
        book.ForEach(
            [&](const wabtool::EntryView& e) {
                first.emplace_back(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
                return false;
            },
            false);
        if (!first.empty() && book.Delete(first[0]) == S_OK) {
            ReadAll(book);
            book.Restore(first);
        }
        std::vector<std::vector<BYTE>> deleted;
        book.ForEachDeleted([&](const wabtool::EntryView& e) {
            deleted.emplace_back(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
            return true;
        });
        if (deleted.size() > 1) {
            book.Restore({deleted.back()});
            book.Purge({deleted.front()});
        }
    }
    chmod(path.c_str(), 0400);
    wabtool::AddressBook readOnly;
    if (SUCCEEDED(readOnly.Open(path))) {
        ReadAll(readOnly);
    }
    return 0;
}
