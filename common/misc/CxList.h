// An ordered list of untyped pointers with a remembered cursor: walking it
// front to back, or fetching near the last position, costs one step each.
// The list never frees its elements; whoever added one stays responsible.
#pragma once

#include <cstdint>

struct CxListNode {
    void* pData; // never null
    std::uint32_t nIndex;
    CxListNode* pPrev;
    CxListNode* pNext;
};

class CxList {
public:
    CxList();
    ~CxList();
    CxList(const CxList&) = delete;
    CxList& operator=(const CxList&) = delete;

    void* GetFirst();
    // Null at the end; the cursor then stays on the last element.
    void* GetNext();
    // Null when nIndex is out of range; the cursor then does not move.
    void* GetAt(std::uint32_t nIndex);
    // Refuses null. The cursor moves to the new element.
    bool Add(void* pData);
    // Unlinks the element (not freeing it), handing it out through ppData.
    // The cursor moves to its predecessor, or to its successor if it was first.
    bool RemoveAt(std::uint32_t nIndex, void** ppData = nullptr);
    void RemoveAll();
    std::uint32_t GetCount() const { return m_nCount; }

private:
    // The list owns the nodes (freed in RemoveAt and RemoveAll), never the data.
    CxListNode* m_pHead;
    CxListNode* m_pTail;
    CxListNode* m_pCurr;
    std::uint32_t m_nCount;
    std::uint32_t m_nFindIndex;
};
