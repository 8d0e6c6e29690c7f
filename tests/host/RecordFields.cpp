#include "RecordFields.h"

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace testhost
{
namespace
{
// Made at program start, so that no test pays for it. (The record's header
// asserts the offset of each field.)
// clang-format off
#define FIELD(n, k) {#n, unsigned(offsetof(TARVIK_DEVMODE, n)), unsigned(sizeof(TARVIK_DEVMODE::n)), FieldKind::k}
const std::vector<RecordField> kFields = {
    FIELD(dmDeviceName, Text16), FIELD(dmSpecVersion, Hex16), FIELD(dmDriverVersion, Hex16), FIELD(dmSize, U16),
    FIELD(dmDriverExtra, U16), FIELD(dmFields, Hex32), FIELD(dmOrientation, S16), FIELD(dmPaperSize, S16),
    FIELD(dmPaperLength, S16), FIELD(dmPaperWidth, S16), FIELD(dmScale, S16), FIELD(dmCopies, S16),
    FIELD(dmDefaultSource, S16), FIELD(dmPrintQuality, S16), FIELD(dmColor, S16), FIELD(dmDuplex, S16),
    FIELD(dmYResolution, S16), FIELD(dmTTOption, S16), FIELD(dmCollate, S16), FIELD(dmFormName, Text16),
    FIELD(dmLogPixels, U16), FIELD(dmBitsPerPel, U32), FIELD(dmPelsWidth, U32), FIELD(dmPelsHeight, U32),
    FIELD(dmNup, U32), FIELD(dmDisplayFrequency, U32), FIELD(dmICMMethod, U32), FIELD(dmICMIntent, U32),
    FIELD(dmMediaType, U32), FIELD(dmDitherType, U32), FIELD(dmReserved1, U32), FIELD(dmReserved2, U32),
    FIELD(dmPanningWidth, U32), FIELD(dmPanningHeight, U32), FIELD(szSignature, Text16), FIELD(dwPaperUnit, U32),
    FIELD(bFixedPaperSize, U32), FIELD(dwFixedPaperWidth, S32), FIELD(dwFixedPaperLength, S32), FIELD(bAutoSave, U32),
    FIELD(szOutputFolder, Text16), FIELD(szFileNamePrefix, Text16), FIELD(bAutoSaveOption, U32), FIELD(dwFontMode, U32),
    FIELD(dwFontOption, U32), FIELD(szExcludeFonts, Text16), FIELD(dwResolution, U32), FIELD(dwPdfStandard, U32),
    FIELD(szTitle, Text16), FIELD(szAuthor, Text16), FIELD(szKeywords, Text16), FIELD(szSubject, Text16),
    FIELD(szDocInfoExtra, Text16), FIELD(dwEncrypt, U32), FIELD(dwKeyLength, U32), FIELD(dwPermissions, Hex32),
    FIELD(bPermissionsPassword, U32), FIELD(bOpenPassword, U32), FIELD(szPermissionsPassword, Text8),
    FIELD(szOpenPassword, Text8), FIELD(dwCompression1, U32), FIELD(dwQuality1, U32), FIELD(dwCompression2, U32),
    FIELD(dwQuality2, U32), FIELD(dwCompression3, U32), FIELD(dwQuality3, U32), FIELD(bDownsample1, U32),
    FIELD(bDownsample2, U32), FIELD(bDownsample3, U32), FIELD(nResolution1, S32), FIELD(dwDownsampleMethod1, U32),
    FIELD(nResolution2, S32), FIELD(dwDownsampleMethod2, U32), FIELD(nResolution3, S32),
    FIELD(dwDownsampleMethod3, U32), FIELD(dwOptionFlags, Hex32)
};
// clang-format on
#undef FIELD
} // namespace

const std::vector<RecordField>& RecordFields()
{
    return kFields;
}

std::string FieldValue(const RecordField& field, const unsigned char* record)
{
    const unsigned char* p = record + field.offset;
    if (field.kind == FieldKind::Text16 || field.kind == FieldKind::Text8)
    {
        const unsigned step = field.kind == FieldKind::Text16 ? 2 : 1;
        std::wstring text;
        for (unsigned i = 0; i + step <= field.size; i += step)
        {
            wchar_t c = 0;
            std::memcpy(&c, p + i, step);
            if (!c)
                break;
            text.push_back(c);
        }
        return "\"" + Utf8(text) + "\"";
    }
    unsigned value = 0;
    std::memcpy(&value, p, field.size);
    char text[32];
    if (field.kind == FieldKind::Hex16 || field.kind == FieldKind::Hex32)
        std::snprintf(text, sizeof(text), field.size == 2 ? "0x%04X" : "0x%08X", value);
    else if (field.kind == FieldKind::S16 || field.kind == FieldKind::S32)
        std::snprintf(text, sizeof(text), "%d", field.size == 2 ? static_cast<short>(value) : static_cast<int>(value));
    else
        std::snprintf(text, sizeof(text), "%u", value);
    return text;
}

std::string RecordDifferences(const void* expected, const void* actual)
{
    const auto* a = static_cast<const unsigned char*>(expected);
    const auto* b = static_cast<const unsigned char*>(actual);
    std::string out;
    std::vector<bool> covered(kRecordSize, false);
    for (const RecordField& field : RecordFields())
    {
        for (unsigned i = 0; i < field.size; ++i)
            covered[field.offset + i] = true;
        // Texts compare up to their NUL: nothing reads behind it, and the
        // spooler does not keep those bytes of the public part.
        const bool text = field.kind == FieldKind::Text16 || field.kind == FieldKind::Text8;
        const bool differs = text ? FieldValue(field, a) != FieldValue(field, b)
                                  : std::memcmp(a + field.offset, b + field.offset, field.size) != 0;
        if (differs)
            out += std::string(field.name) + ": " + FieldValue(field, a) + " != " + FieldValue(field, b) + "; ";
    }
    // Bytes outside every field (padding, reserved): shown one by one.
    for (unsigned i = 0; i < kRecordSize; ++i)
    {
        if (a[i] != b[i] && !covered[i])
            out += "byte " + std::to_string(i) + ": " + std::to_string(a[i]) + " != " + std::to_string(b[i]) + "; ";
    }
    return out;
}

namespace
{
std::string Encoded(const std::wstring& text, UINT codePage)
{
    const int n = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}
} // namespace

std::string Ansi(const std::wstring& text)
{
    return Encoded(text, CP_ACP);
}

std::string Utf8(const std::wstring& text)
{
    return Encoded(text, CP_UTF8);
}
} // namespace testhost
