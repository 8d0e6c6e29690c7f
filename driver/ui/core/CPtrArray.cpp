#include "core/CPtrArray.h"

#include <cstring>

// The array keeps one slot free at all times, so it starts with at least
// one; a step of 0 would never make room, one slot at a time still does.
CPtrArray::CPtrArray(UINT initialCapacity, UINT growthStep)
    : m_nCount(0), m_pData(new void*[initialCapacity ? initialCapacity : 1]()),
      m_nCapacity(initialCapacity ? initialCapacity : 1), m_nGrowBy(growthStep ? growthStep : 1)
{
}

CPtrArray::~CPtrArray()
{
    delete[] m_pData;
    m_pData = nullptr;
    m_nCount = 0;
}

void CPtrArray::Add(void* item)
{
    if (m_nCount + 1 >= m_nCapacity)
    {
        const UINT capacity = m_nCapacity + m_nGrowBy;
        void** data = new void*[capacity]();
        // Only the used slots hold anything worth keeping.
        if (m_nCount)
            std::memcpy(data, m_pData, m_nCount * sizeof(void*));
        delete[] m_pData;
        m_pData = data;
        m_nCapacity = capacity;
    }
    m_pData[m_nCount++] = item;
}

void* CPtrArray::GetAt(UINT index) const
{
    return index < m_nCount ? m_pData[index] : nullptr;
}
