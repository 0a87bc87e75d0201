#include "common/misc/CxList.h"

#include <new>

#include "platform/win32/CrtAssert.h"

CxList::CxList()
    : m_pHead(nullptr), m_pTail(nullptr), m_pCurr(nullptr), m_nCount(0), m_nFindIndex(0) {}

CxList::~CxList() {
    RemoveAll();
}

void* CxList::GetFirst() {
    m_nFindIndex = 0;
    m_pCurr = m_pHead;
    return m_pCurr != nullptr ? m_pCurr->pData : nullptr;
}

void* CxList::GetNext() {
    if (m_nFindIndex + 1 < m_nCount) {
        return GetAt(m_nFindIndex + 1);
    }
    return nullptr;
}

void* CxList::GetAt(std::uint32_t nIndex) {
    if (nIndex >= m_nCount) {
        return nullptr;
    }
    // The check shows its expression as written, so it stays unformatted.
    // clang-format off
    CRT_ASSERT(m_pCurr->nIndex==m_nFindIndex);
    // clang-format on
    CxListNode* pNode = m_pCurr;
    while (pNode->nIndex != nIndex) {
        pNode = nIndex > pNode->nIndex ? pNode->pNext : pNode->pPrev;
        CRT_ASSERT(pNode);
    }
    m_pCurr = pNode;
    m_nFindIndex = nIndex;
    return pNode->pData;
}

bool CxList::Add(void* pData) {
    if (pData == nullptr) {
        return false;
    }
    CxListNode* pContainer = new (std::nothrow) CxListNode{pData, m_nCount, m_pTail, nullptr};
    CRT_ASSERT(pContainer);
    if (m_pHead == nullptr) {
        m_pHead = pContainer;
        m_pTail = pContainer;
        m_pCurr = pContainer;
    } else {
        m_pTail->pNext = pContainer;
        m_pTail = pContainer;
        m_pCurr = pContainer;
        m_nFindIndex = pContainer->nIndex;
    }
    ++m_nCount;
    return true;
}

bool CxList::RemoveAt(std::uint32_t nIndex, void** ppData) {
    if (nIndex >= m_nCount) {
        return false;
    }
    while (m_nFindIndex != nIndex) {
        if (nIndex > m_nFindIndex) {
            m_pCurr = m_pCurr->pNext;
            ++m_nFindIndex;
        } else {
            m_pCurr = m_pCurr->pPrev;
            --m_nFindIndex;
        }
        CRT_ASSERT(m_pCurr);
    }
    CRT_ASSERT(m_pCurr);
    CxListNode* pNode = m_pCurr;
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
    for (CxListNode* pAfter = pNode->pNext; pAfter != nullptr; pAfter = pAfter->pNext) {
        --pAfter->nIndex;
    }

    if (pNode->pPrev != nullptr) {
        m_pCurr = pNode->pPrev;
        m_nFindIndex = m_pCurr->nIndex;
    } else {
        m_pCurr = pNode->pNext;
        m_nFindIndex = 0;
    }
    --m_nCount;
    delete pNode;
    return true;
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
}
