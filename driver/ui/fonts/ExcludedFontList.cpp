#include "fonts/ExcludedFontList.h"

#include <cstring>

bool NextExcludedFont(const wchar_t* text, size_t capacity, size_t* pos, size_t* start, size_t* length)
{
    size_t i = *pos;
    while (i < capacity && text[i] == L';')
        ++i;
    if (i >= capacity || text[i] == L'\0')
    {
        *pos = i;
        return false;
    }
    *start = i;
    while (i < capacity && text[i] != L';' && text[i] != L'\0')
        ++i;
    *length = i - *start;
    *pos = i;
    return true;
}

size_t BeginExcludedFonts(wchar_t* buffer)
{
    buffer[0] = L';';
    buffer[1] = L'\0';
    return 1;
}

bool AppendExcludedFont(wchar_t* buffer, size_t capacity, size_t* used, const wchar_t* name, size_t length)
{
    // The name, its ";" and the terminator.
    if (*used + 2 > capacity || length > capacity - *used - 2)
        return false;
    std::memcpy(buffer + *used, name, length * sizeof(wchar_t));
    *used += length;
    buffer[(*used)++] = L';';
    buffer[*used] = L'\0';
    return true;
}
