#include "fonts/CFontManager.h"

#include "core/ExceptionBarrier.h"

#include <libmerrow/error.h>

#include <cwchar>
#include <memory>
#include <new>

namespace
{
// What the last stored name is before any name was stored.
const wchar_t kNoName[] = L"";
} // namespace

CFontManager::CFontManager() : m_FontList(100, 50), m_pLastName(kNoName) {}

CFontManager::~CFontManager()
{
    for (UINT i = 0; i < m_FontList.GetCount(); ++i)
        delete[] static_cast<wchar_t*>(m_FontList.GetAt(i));
    m_FontList.RemoveAll();
}

DWORD CFontManager::Init()
{
    return PASS_ON(_EnumerateFonts(), L"CFontManager::Init()");
}

DWORD CFontManager::_EnumerateFonts()
{
    HDC screen = GetDC(nullptr);
    m_pLastName = kNoName;
    // No LOGFONTW: every face in every character set, one call per pair.
    EnumFontFamiliesExW(screen, nullptr, _EnumFontProc, reinterpret_cast<LPARAM>(this), 0);
    ReleaseDC(nullptr, screen);
    return 0;
}

int CALLBACK CFontManager::_EnumFontProc(const LOGFONTW* font, const TEXTMETRICW* /*metric*/, DWORD fontType,
                                         LPARAM lParam)
{
    return ExceptionBarrier(L"CFontManager::_EnumFontProc()", int(0), [&]() -> int {
        auto* self = reinterpret_cast<CFontManager*>(lParam);
        if (fontType != DEVICE_FONTTYPE && fontType != TRUETYPE_FONTTYPE)
            return 1;
        const wchar_t* face = font->lfFaceName;
        // GDI reports a family once per character set, one after the other.
        if (face[0] == L'@' || std::wcscmp(face, self->m_pLastName) == 0)
            return 1;
        const size_t length = wcsnlen(face, LF_FACESIZE - 1);
        std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length + 1]);
        if (!copy)
            return 1;
        std::wmemcpy(copy.get(), face, length);
        copy[length] = L'\0';
        self->m_FontList.Add(copy.get()); // a list that cannot grow throws: the copy is still held
        self->m_pLastName = copy.release();
        return 1;
    });
}
