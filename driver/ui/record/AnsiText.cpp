#include "record/AnsiText.h"

#include <cstring>
#include <cwchar>

namespace
{
// The most of an edit's text these helpers look at. The bounds they keep are
// a few dozen bytes, and every character takes at least one byte.
constexpr int kTextCapacity = 256;

// UTF-16 units of the character at `text`: a surrogate pair is one character.
int UnitsOfCharAt(const wchar_t* text, int remaining)
{
    return remaining >= 2 && IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]) ? 2 : 1;
}

// UTF-16 units of the character that ends just before `end`.
int UnitsOfCharBefore(const wchar_t* text, int end)
{
    return end >= 2 && IS_LOW_SURROGATE(text[end - 1]) && IS_HIGH_SURROGATE(text[end - 2]) ? 2 : 1;
}

int BytesOf(const wchar_t* text, int units, UINT codePage)
{
    return WideCharToMultiByte(codePage, 0, text, units, nullptr, 0, nullptr, nullptr);
}
} // namespace

int AnsiFitLength(const wchar_t* text, int length, int maxBytes, UINT codePage)
{
    int units = 0;
    for (int bytes = 0; units < length;)
    {
        const int charUnits = UnitsOfCharAt(text + units, length - units);
        const int charBytes = BytesOf(text + units, charUnits, codePage);
        if (charBytes <= 0 || bytes + charBytes > maxBytes)
            break;
        bytes += charBytes;
        units += charUnits;
    }
    return units;
}

void SetAnsiText(HWND edit, const char* field, size_t fieldSize, int maxBytes)
{
    wchar_t text[kTextCapacity];
    const int bytes = static_cast<int>(strnlen(field, fieldSize));
    int length = bytes > 0 ? MultiByteToWideChar(CP_ACP, 0, field, bytes, text, kTextCapacity - 1) : 0;
    length = AnsiFitLength(text, length, maxBytes);
    text[length] = L'\0';
    SetWindowTextW(edit, text);
}

void GetAnsiText(HWND edit, char* field, size_t fieldSize)
{
    wchar_t text[kTextCapacity];
    const int room = static_cast<int>(fieldSize) - 1;
    const int length = GetWindowTextW(edit, text, kTextCapacity);
    const int fit = AnsiFitLength(text, length, room);
    const int bytes = fit > 0 ? WideCharToMultiByte(CP_ACP, 0, text, fit, field, room, nullptr, nullptr) : 0;
    field[bytes] = '\0';
}

void LimitAnsiBytes(HWND edit, int maxBytes)
{
    wchar_t text[kTextCapacity];
    const int length = GetWindowTextW(edit, text, kTextCapacity);
    if (AnsiFitLength(text, length, maxBytes) == length)
        return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int caret = static_cast<int>(end) < length ? static_cast<int>(end) : length;

    // Drop whole characters before the caret until the rest fits.
    int excess = BytesOf(text, length, CP_ACP) - maxBytes;
    int from = caret;
    while (excess > 0 && from > 0)
    {
        const int units = UnitsOfCharBefore(text, from);
        from -= units;
        excess -= BytesOf(text + from, units, CP_ACP);
    }
    std::wmemmove(text + from, text + caret, static_cast<size_t>(length - caret));
    const int kept = AnsiFitLength(text, from + (length - caret), maxBytes);
    text[kept] = L'\0';
    SetWindowTextW(edit, text);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(from));
}
