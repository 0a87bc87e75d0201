#include "common/misc/CxList.h"

#include <new>
#include <unordered_map>
#include <vector>

#include "platform/win32/CrtAssert.h"

// Where each element is, and how many elements before a serial number are
// gone: a node's position is its serial minus the removals before it, kept
// in a Fenwick tree over serial numbers.
class CxList::Index {
public:
    explicit Index(const CxList& list) {
        m_removed.assign(list.m_nSerials + 1u, 0);
        std::vector<std::uint8_t> gone(list.m_nSerials, 1);
        m_byData.reserve(list.m_nCount);
        for (CxListNode* p = list.m_pHead; p != nullptr; p = p->pNext) {
            gone[p->nSerial] = 0;
            m_byData.emplace(p->pData, p);
        }
        // Linear construction: each entry passes its sum to its parent.
        for (std::uint32_t i = 1; i < m_removed.size(); ++i) {
            m_removed[i] += gone[i - 1];
            const std::uint32_t parent = i + (i & (0u - i));
            if (parent < m_removed.size()) {
                m_removed[parent] += m_removed[i];
            }
        }
    }

    void Added(CxListNode* p) {
        m_byData.emplace(p->pData, p);
        // A new last entry covers (i - lowbit(i), i]: the removals there.
        const auto i = static_cast<std::uint32_t>(m_removed.size());
        m_removed.push_back(RemovedBefore(i - 1) - RemovedBefore(i - (i & (0u - i))));
    }

    void Removed(CxListNode* p) {
        auto [it, end] = m_byData.equal_range(p->pData);
        for (; it != end; ++it) {
            if (it->second == p) {
                m_byData.erase(it);
                break;
            }
        }
        for (std::uint32_t i = p->nSerial + 1; i < m_removed.size(); i += i & (0u - i)) {
            ++m_removed[i];
        }
    }

    // The earliest node holding pData, or null.
    CxListNode* Find(void* pData) const {
        CxListNode* first = nullptr;
        auto [it, end] = m_byData.equal_range(pData);
        for (; it != end; ++it) {
            if (first == nullptr || it->second->nSerial < first->nSerial) {
                first = it->second;
            }
        }
        return first;
    }

    std::uint32_t PositionOf(const CxListNode* p) const {
        return p->nSerial - RemovedBefore(p->nSerial);
    }

private:
    // Removals among serial numbers 0 .. serial - 1.
    std::uint32_t RemovedBefore(std::uint32_t serial) const {
        std::uint32_t sum = 0;
        for (std::uint32_t i = serial; i > 0; i -= i & (0u - i)) {
            sum += m_removed[i];
        }
        return sum;
    }

    std::unordered_multimap<void*, CxListNode*> m_byData;
    std::vector<std::uint32_t> m_removed; // 1-based Fenwick tree
};

CxList::CxList()
    : m_pHead(nullptr), m_pTail(nullptr), m_pCurr(nullptr), m_nCount(0), m_nFindIndex(0),
      m_nSerials(0) {}

CxList::~CxList() {
    RemoveAll();
}

void* CxList::GetFirst() {
    m_nFindIndex = 0;
    m_pCurr = m_pHead;
    if (m_pCurr == nullptr) {
        return nullptr;
    }
    m_pCurr->nIndex = 0;
    return m_pCurr->pData;
}

void* CxList::GetNext() {
    if (m_nFindIndex + 1 < m_nCount) {
        return GetAt(m_nFindIndex + 1);
    }
    return nullptr;
}

CxListNode* CxList::MoveCursor(std::uint32_t nIndex) {
    // The check shows its expression as written, so it stays unformatted.
    // clang-format off
    CRT_ASSERT(m_pCurr->nIndex==m_nFindIndex);
    // clang-format on
    CxListNode* pNode = m_pCurr;
    for (std::uint32_t n = m_nFindIndex; n != nIndex;) {
        if (nIndex > n) {
            pNode = pNode->pNext;
            ++n;
        } else {
            pNode = pNode->pPrev;
            --n;
        }
        CRT_ASSERT(pNode);
    }
    pNode->nIndex = nIndex;
    m_pCurr = pNode;
    m_nFindIndex = nIndex;
    return pNode;
}

void* CxList::GetAt(std::uint32_t nIndex) {
    if (nIndex >= m_nCount) {
        return nullptr;
    }
    return MoveCursor(nIndex)->pData;
}

bool CxList::Add(void* pData) {
    if (pData == nullptr) {
        return false;
    }
    CxListNode* pContainer =
        new (std::nothrow) CxListNode{pData, m_nCount, m_pTail, nullptr, m_nSerials};
    CRT_ASSERT(pContainer);
    ++m_nSerials;
    if (m_pHead == nullptr) {
        m_pHead = pContainer;
    } else {
        m_pTail->pNext = pContainer;
    }
    m_pTail = pContainer;
    m_pCurr = pContainer;
    m_nFindIndex = pContainer->nIndex;
    ++m_nCount;
    if (m_pIndex) {
        m_pIndex->Added(pContainer);
    }
    return true;
}

bool CxList::RemoveAt(std::uint32_t nIndex, void** ppData) {
    if (nIndex >= m_nCount) {
        return false;
    }
    CxListNode* pNode = MoveCursor(nIndex);
    if (ppData != nullptr) {
        *ppData = pNode->pData;
    }

    if (pNode->pPrev != nullptr) {
        pNode->pPrev->pNext = pNode->pNext;
    } else {
        m_pHead = pNode->pNext;
    }
    if (pNode->pNext != nullptr) {
        pNode->pNext->pPrev = pNode->pPrev;
    } else {
        m_pTail = pNode->pPrev;
    }
    if (pNode->pPrev != nullptr) {
        m_pCurr = pNode->pPrev;
        m_nFindIndex = nIndex - 1;
    } else {
        m_pCurr = pNode->pNext;
        m_nFindIndex = 0;
    }
    if (m_pCurr != nullptr) {
        m_pCurr->nIndex = m_nFindIndex;
    }
    --m_nCount;
    if (m_pIndex) {
        m_pIndex->Removed(pNode);
    }
    delete pNode;
    return true;
}

bool CxList::Remove(void* pData) {
    if (pData == nullptr || m_nCount == 0) {
        return false;
    }
    if (!m_pIndex) {
        m_pIndex = std::make_unique<Index>(*this);
    }
    CxListNode* pNode = m_pIndex->Find(pData);
    if (pNode == nullptr) {
        // A walk that finds nothing ends with the cursor on the last element.
        m_pCurr = m_pTail;
        m_nFindIndex = m_nCount - 1;
        m_pCurr->nIndex = m_nFindIndex;
        return false;
    }
    // The walk to the element would leave the cursor on it.
    m_pCurr = pNode;
    m_nFindIndex = m_pIndex->PositionOf(pNode);
    pNode->nIndex = m_nFindIndex;
    return RemoveAt(m_nFindIndex);
}

void CxList::RemoveAll() {
    CxListNode* pNode = m_pHead;
    while (pNode != nullptr) {
        CxListNode* pNext = pNode->pNext;
        delete pNode;
        pNode = pNext;
    }
    m_pHead = nullptr;
    m_pTail = nullptr;
    m_pCurr = nullptr;
    m_nCount = 0;
    m_nFindIndex = 0;
    m_nSerials = 0;
    m_pIndex.reset();
}
