// Every result code the address-book library returns, by name, and the short
// reason a user reads for each. Depends on the ABI header alone, so the
// library, the program's session and wabtool all share one wording.
//
// Opening an address book fails with one code per thing the user must be
// told apart: the file does not exist (MAPI_E_NOT_FOUND), is not an address
// book at all (WAB_E_NOT_ADDRESS_BOOK), is one but damaged
// (MAPI_E_CORRUPT_DATA), was written by a newer version (MAPI_E_VERSION), may
// not be read or changed (MAPI_E_NO_ACCESS), is in use (MAPI_E_BUSY), a disk
// failed (MAPI_E_DISK_ERROR) or is full (WAB_E_DISK_FULL), memory ran out
// (MAPI_E_NOT_ENOUGH_MEMORY), and the few below that only we report.
#pragma once

#include <cstdio>
#include <string>

#include "platform/wab32/WabAbi.h"

// Standard codes the ABI header leaves out.
#ifndef S_FALSE
#define S_FALSE (static_cast<HRESULT>(1))
#endif
constexpr HRESULT MAPI_E_INVALID_BOOKMARK = static_cast<HRESULT>(0x80040405u);
constexpr HRESULT MAPI_E_COLLISION = static_cast<HRESULT>(0x80040604u);

// Our own failures, in a range of the interface facility no standard code uses.
// The file is readable but holds something else than an address book: a
// foreign database, a text file, an empty file.
constexpr HRESULT WAB_E_NOT_ADDRESS_BOOK = static_cast<HRESULT>(0x80040A01u);
// A write found no room left on the disk (MAPI_E_DISK_ERROR: the disk failed).
constexpr HRESULT WAB_E_DISK_FULL = static_cast<HRESULT>(0x80040A02u);
// The name is that of a folder.
constexpr HRESULT WAB_E_IS_FOLDER = static_cast<HRESULT>(0x80040A03u);
// The name is longer than a file name or path may be.
constexpr HRESULT WAB_E_NAME_TOO_LONG = static_cast<HRESULT>(0x80040A04u);
// The default address book's place holds a link, or a file or folder other
// users may open, or one owned by someone else: refused, never written through.
constexpr HRESULT WAB_E_NOT_PRIVATE = static_cast<HRESULT>(0x80040A05u);
// A rollback journal left by another program lies beside a store of ours;
// opening would play it back into the store.
constexpr HRESULT WAB_E_STRAY_JOURNAL = static_cast<HRESULT>(0x80040A06u);
// Every entry identifier has been issued once; none is ever issued twice.
constexpr HRESULT WAB_E_NO_IDENTIFIERS = static_cast<HRESULT>(0x80040A07u);

// A short English reason for `hr`, to follow "FILE: cannot open the address
// book: ". Codes the library never returns read as "error 0x8004...".
inline std::string DescribeWabResult(HRESULT hr) {
    switch (hr) {
    case S_OK:
        return "no error";
    case MAPI_E_NOT_FOUND:
        return "the file does not exist";
    case WAB_E_NOT_ADDRESS_BOOK:
        return "not an address book";
    case MAPI_E_CORRUPT_DATA:
        return "the address book is damaged";
    case MAPI_E_VERSION:
        return "written by a newer version of the address book";
    case MAPI_E_NO_ACCESS:
        return "access denied (no permission, or the file is read-only)";
    case MAPI_E_BUSY:
        return "the address book is in use by another program";
    case MAPI_E_DISK_ERROR:
        return "the disk reported an error";
    case WAB_E_DISK_FULL:
        return "the disk is full";
    case MAPI_E_NOT_ENOUGH_MEMORY:
        return "out of memory";
    case MAPI_E_COLLISION:
        return "the file already exists";
    case WAB_E_IS_FOLDER:
        return "a folder, not a file";
    case WAB_E_NAME_TOO_LONG:
        return "the file name is too long";
    case WAB_E_NOT_PRIVATE:
        return "not a private file of yours (a link, another user's file, or open to others)";
    case WAB_E_STRAY_JOURNAL:
        return "another program left a journal beside it (its name ending in -journal); move "
               "that away first";
    case WAB_E_NO_IDENTIFIERS:
        return "the address book has used up its entry identifiers";
    case MAPI_E_INVALID_ENTRYID:
        return "no such entry in this address book";
    case MAPI_E_OBJECT_DELETED:
        return "the entry has been deleted";
    case MAPI_E_INVALID_TYPE:
    case MAPI_E_BAD_CHARWIDTH:
        return "a value of a type the address book cannot keep";
    case MAPI_E_COMPUTED:
        return "a property the address book computes itself";
    case MAPI_E_INVALID_PARAMETER:
        return "invalid argument";
    case MAPI_E_INVALID_BOOKMARK:
        return "invalid table position";
    case MAPI_E_NO_SUPPORT:
    case MAPI_E_INTERFACE_NOT_SUPPORTED:
    case MAPI_E_UNKNOWN_FLAGS:
        return "not supported by the address book";
    case MAPI_W_ERRORS_RETURNED:
        return "some properties are missing";
    case MAPI_W_PARTIAL_COMPLETION:
        return "some entries were already gone";
    default: {
        char text[32];
        std::snprintf(text, sizeof text, "error 0x%08X", static_cast<unsigned>(hr));
        return text;
    }
    }
}
