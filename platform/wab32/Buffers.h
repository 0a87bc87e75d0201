// The library's memory blocks: every buffer it hands out comes from here and
// goes back through IWABObject::FreeBuffer.
#pragma once

#include "platform/wab32/WabAbi.h"

namespace wab {

HRESULT AllocateBuffer(ULONG cbSize, LPVOID* lppBuffer);
HRESULT AllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer);
HRESULT FreeBuffer(LPVOID lpBuffer);

} // namespace wab
