// The catalogue of the face names of the fonts installed on the machine,
// gathered by one GDI enumeration of the whole screen. The font page owns
// one for its lifetime; the page fills its own lists by an enumeration of
// its own, so the catalogue stays empty unless Init runs.
#pragma once

#include "core/CPtrArray.h"

#include <windows.h>

class CFontManager
{
  public:
    CFontManager();
    virtual ~CFontManager();

    CFontManager(const CFontManager&) = delete;
    CFontManager& operator=(const CFontManager&) = delete;

    // Appends the TrueType and device font families that GDI reports, in its
    // order, leaving out vertical faces ("@...") and a family reported again
    // right after itself. A second call appends again. Returns 0.
    DWORD Init();

    UINT GetFontCount() const { return m_FontList.GetCount(); }
    // The name at `index`, or null when `index` is not below the count.
    LPCWSTR GetFontName(UINT index) const { return static_cast<LPCWSTR>(m_FontList.GetAt(index)); }

  private:
    static void _AddFace(const wchar_t* face, void* context);

    CPtrArray m_FontList; // owned heap copies of face names
};
