// An ordered list of untyped pointers with a remembered cursor: walking it
// front to back, or fetching near the last position, costs one step each.
// The list never frees its elements; whoever added one stays responsible.
//
// Positions are renumbered lazily: only the cursor node's nIndex is kept
// exact, so removing an element costs nothing for the nodes behind it, and
// Remove finds an element and its position through an index built on first
// use, without walking the list.
#pragma once

#include <cstdint>
#include <memory>

struct CxListNode {
    void* pData;          // never null
    std::uint32_t nIndex; // the position; exact on the cursor node
    CxListNode* pPrev;
    CxListNode* pNext;
    std::uint32_t nSerial; // order of addition; never changes
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
    // Removes the first element equal to pData, leaving the list and its
    // cursor exactly as walking from the first element to it and RemoveAt of
    // its position would; false (nothing changes) when it is not there.
    // Expected cost: logarithmic in the number of elements added.
    bool Remove(void* pData);
    void RemoveAll();
    std::uint32_t GetCount() const { return m_nCount; }

private:
    class Index;
    // Walks from the cursor to position nIndex (in range) and rests there.
    CxListNode* MoveCursor(std::uint32_t nIndex);

    // The list owns the nodes (freed in RemoveAt and RemoveAll), never the data.
    CxListNode* m_pHead;
    CxListNode* m_pTail;
    CxListNode* m_pCurr;
    std::uint32_t m_nCount;
    std::uint32_t m_nFindIndex;
    std::uint32_t m_nSerials;        // serial numbers handed out since the list was last empty
    std::unique_ptr<Index> m_pIndex; // built by the first Remove, then kept up to date
};
