// A growable array of untyped pointers. The array never owns what its
// pointers point to: whoever fills it frees the items before emptying or
// destroying it.
#pragma once

#include <windows.h>

class CPtrArray
{
  public:
    // Allocates storage for `initialCapacity` pointers at once; the array
    // grows by `growthStep` slots whenever it runs out of room.
    CPtrArray(UINT initialCapacity, UINT growthStep);
    virtual ~CPtrArray();

    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;

    // Appends `item`. Grows while the last free slot is being taken, so the
    // storage always keeps one slot to spare. An exhausted heap raises the
    // standard allocation failure.
    void Add(void* item);

    // The pointer at `index`, or null when `index` is not below the count.
    void* GetAt(UINT index) const;

    UINT GetCount() const { return m_nCount; }

    // The storage, valid for GetCount() entries until the next Add.
    void** GetData() const { return m_pData; }

    // How many slots the storage has (not how many are used).
    UINT GetCapacity() const { return m_nCapacity; }

    // Forgets every pointer; the storage stays and nothing is freed.
    void RemoveAll() { m_nCount = 0; }

  private:
    UINT m_nCount;
    void** m_pData;
    UINT m_nCapacity;
    UINT m_nGrowBy;
};
