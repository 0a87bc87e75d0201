#include "platform/wab32/Buffers.h"

#include <cstdlib>
#include <new>

namespace wab {
namespace {

constexpr std::uint32_t kRootMagic = 0x52424157; // "WABR"
constexpr std::uint32_t kMoreMagic = 0x4D424157; // "WABM"

// Sits in front of every block; 32 bytes keep the caller's part aligned for
// any type a property value holds.
struct alignas(16) Header {
    std::uint32_t magic;
    std::uint32_t reserved;
    Header* firstMore; // blocks tied to this root block
    Header* nextMore;
};
static_assert(sizeof(Header) % alignof(std::max_align_t) == 0);

Header* HeaderOf(LPVOID p) {
    return static_cast<Header*>(p) - 1;
}

Header* NewBlock(ULONG cbSize, std::uint32_t magic) {
    void* raw = std::malloc(sizeof(Header) + cbSize);
    if (raw == nullptr) {
        return nullptr;
    }
    auto* h = new (raw) Header{magic, 0, nullptr, nullptr};
    return h;
}

} // namespace

HRESULT AllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) {
    if (lppBuffer == nullptr) {
        return MAPI_E_INVALID_PARAMETER;
    }
    *lppBuffer = nullptr;
    Header* h = NewBlock(cbSize, kRootMagic);
    if (h == nullptr) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    *lppBuffer = h + 1;
    return S_OK;
}

HRESULT AllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) {
    if (lppBuffer == nullptr || lpObject == nullptr) {
        return MAPI_E_INVALID_PARAMETER;
    }
    *lppBuffer = nullptr;
    Header* root = HeaderOf(lpObject);
    if (root->magic == kMoreMagic) {
        return MAPI_E_INVALID_PARAMETER; // must hang on a root block
    }
    if (root->magic != kRootMagic) {
        return MAPI_E_INVALID_PARAMETER;
    }
    Header* h = NewBlock(cbSize, kMoreMagic);
    if (h == nullptr) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    h->nextMore = root->firstMore;
    root->firstMore = h;
    *lppBuffer = h + 1;
    return S_OK;
}

HRESULT FreeBuffer(LPVOID lpBuffer) {
    if (lpBuffer == nullptr) {
        return S_OK;
    }
    Header* root = HeaderOf(lpBuffer);
    if (root->magic != kRootMagic) {
        // A tied block, a block freed before, or not ours: freeing it would
        // corrupt the heap, so leave it.
        return MAPI_E_INVALID_PARAMETER;
    }
    Header* more = root->firstMore;
    while (more != nullptr) {
        Header* next = more->nextMore;
        more->magic = 0;
        std::free(more);
        more = next;
    }
    root->magic = 0;
    std::free(root);
    return S_OK;
}

} // namespace wab
