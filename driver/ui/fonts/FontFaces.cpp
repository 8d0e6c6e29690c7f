#include "fonts/FontFaces.h"

#include "core/ExceptionBarrier.h"

#include <cwchar>

namespace
{
struct Walk
{
    bool withDeviceFonts;
    FontFaceSink sink;
    void* context;
    wchar_t last[LF_FACESIZE]; // the face handed on last, or an empty text
};

int CALLBACK OnFont(const LOGFONTW* font, const TEXTMETRICW* /*metric*/, DWORD fontType, LPARAM lParam)
{
    return ExceptionBarrier(L"EnumerateFontFaces()", int(0), [&]() -> int {
        auto* walk = reinterpret_cast<Walk*>(lParam);
        if (fontType != TRUETYPE_FONTTYPE && !(walk->withDeviceFonts && fontType == DEVICE_FONTTYPE))
            return 1;
        const wchar_t* face = font->lfFaceName;
        if (face[0] == L'@' || std::wcscmp(face, walk->last) == 0)
            return 1;
        const size_t length = wcsnlen(face, LF_FACESIZE - 1);
        std::wmemcpy(walk->last, face, length);
        walk->last[length] = L'\0';
        walk->sink(walk->last, walk->context);
        return 1;
    });
}
} // namespace

void EnumerateFontFaces(bool withDeviceFonts, FontFaceSink sink, void* context)
{
    Walk walk = {withDeviceFonts, sink, context, L""};
    HDC screen = GetDC(nullptr);
    // No LOGFONTW: every face in every character set, one call per pair.
    EnumFontFamiliesExW(screen, nullptr, OnFont, reinterpret_cast<LPARAM>(&walk), 0);
    ReleaseDC(nullptr, screen);
}
