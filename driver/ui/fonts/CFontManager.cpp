#include "fonts/CFontManager.h"

#include "fonts/FontFaces.h"

#include <cwchar>
#include <memory>
#include <new>

CFontManager::CFontManager() : m_FontList(100, 50) {}

CFontManager::~CFontManager()
{
    for (UINT i = 0; i < m_FontList.GetCount(); ++i)
        delete[] static_cast<wchar_t*>(m_FontList.GetAt(i));
    m_FontList.RemoveAll();
}

DWORD CFontManager::Init()
{
    EnumerateFontFaces(true, _AddFace, this);
    return 0;
}

void CFontManager::_AddFace(const wchar_t* face, void* context)
{
    auto* self = static_cast<CFontManager*>(context);
    const size_t length = std::wcslen(face);
    std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length + 1]);
    if (!copy)
        return;
    std::wmemcpy(copy.get(), face, length + 1);
    self->m_FontList.Add(copy.get()); // a list that cannot grow throws: the copy is still held
    copy.release();
}
