#include "RecordFields.h"

#include <windows.h>

#include <cstring>

namespace testhost
{
namespace
{
// A text field's units up to its NUL: nothing reads behind it, and the
// spooler does not keep those bytes of the public part.
bool SameText(const RecordField& field, const unsigned char* a, const unsigned char* b)
{
    const unsigned unit = field.kind == FieldKind::Text16 ? 2 : 1;
    for (unsigned i = field.offset; i < field.offset + field.size; i += unit)
    {
        if (std::memcmp(a + i, b + i, unit) != 0)
            return false;
        if ((unit == 2 ? a[i] | a[i + 1] : a[i]) == 0)
            return true;
    }
    return true;
}
} // namespace

std::string RecordDifferences(const void* expected, const void* actual)
{
    const auto* a = static_cast<const unsigned char*>(expected);
    const auto* b = static_cast<const unsigned char*>(actual);
    std::string out;
    for (const RecordField& field : RecordFields())
    {
        const bool same = recordfields::IsText(field)
                              ? SameText(field, a, b)
                              : std::memcmp(a + field.offset, b + field.offset, field.size) == 0;
        if (!same)
            out += std::string(field.name) + ": " + FieldValue(field, a) + " != " + FieldValue(field, b) + "; ";
    }
    return out;
}

std::string Ansi(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}
} // namespace testhost
