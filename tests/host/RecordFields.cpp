#include "RecordFields.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace testhost
{
namespace
{
// Made at program start, so that no test pays for it.
const std::vector<RecordField> kFields = {
    {"dmDeviceName", 0, 64, FieldKind::Text16},
    {"dmSpecVersion", 64, 2, FieldKind::Hex16},
    {"dmDriverVersion", 66, 2, FieldKind::Hex16},
    {"dmSize", 68, 2, FieldKind::U16},
    {"dmDriverExtra", 70, 2, FieldKind::U16},
    {"dmFields", 72, 4, FieldKind::Hex32},
    {"dmOrientation", 76, 2, FieldKind::S16},
    {"dmPaperSize", 78, 2, FieldKind::S16},
    {"dmPaperLength", 80, 2, FieldKind::S16},
    {"dmPaperWidth", 82, 2, FieldKind::S16},
    {"dmScale", 84, 2, FieldKind::S16},
    {"dmCopies", 86, 2, FieldKind::S16},
    {"dmDefaultSource", 88, 2, FieldKind::S16},
    {"dmPrintQuality", 90, 2, FieldKind::S16},
    {"dmColor", 92, 2, FieldKind::S16},
    {"dmDuplex", 94, 2, FieldKind::S16},
    {"dmYResolution", 96, 2, FieldKind::S16},
    {"dmTTOption", 98, 2, FieldKind::S16},
    {"dmCollate", 100, 2, FieldKind::S16},
    {"dmFormName", 102, 64, FieldKind::Text16},
    {"dmLogPixels", 166, 2, FieldKind::U16},
    {"dmBitsPerPel", 168, 4, FieldKind::U32},
    {"dmPelsWidth", 172, 4, FieldKind::U32},
    {"dmPelsHeight", 176, 4, FieldKind::U32},
    {"dmNup", 180, 4, FieldKind::U32},
    {"dmDisplayFrequency", 184, 4, FieldKind::U32},
    {"dmICMMethod", 188, 4, FieldKind::U32},
    {"dmICMIntent", 192, 4, FieldKind::U32},
    {"dmMediaType", 196, 4, FieldKind::U32},
    {"dmDitherType", 200, 4, FieldKind::U32},
    {"dmReserved1", 204, 4, FieldKind::U32},
    {"dmReserved2", 208, 4, FieldKind::U32},
    {"dmPanningWidth", 212, 4, FieldKind::U32},
    {"dmPanningHeight", 216, 4, FieldKind::U32},
    {"szSignature", 220, 78, FieldKind::Text16},
    {"dwPaperUnit", 300, 4, FieldKind::U32},
    {"bFixedPaperSize", 304, 4, FieldKind::U32},
    {"dwFixedPaperWidth", 308, 4, FieldKind::S32},
    {"dwFixedPaperLength", 312, 4, FieldKind::S32},
    {"bAutoSave", 316, 4, FieldKind::U32},
    {"szOutputFolder", 320, 1024, FieldKind::Text16},
    {"szFileNamePrefix", 1344, 34, FieldKind::Text16},
    {"bAutoSaveOption", 1380, 4, FieldKind::U32},
    {"dwFontMode", 1384, 4, FieldKind::U32},
    {"dwFontOption", 1388, 4, FieldKind::U32},
    {"szExcludeFonts", 1392, 4096, FieldKind::Text16},
    {"dwResolution", 5488, 4, FieldKind::U32},
    {"dwPdfStandard", 5492, 4, FieldKind::U32},
    {"szTitle", 5496, 128, FieldKind::Text16},
    {"szAuthor", 5624, 128, FieldKind::Text16},
    {"szKeywords", 5752, 128, FieldKind::Text16},
    {"szSubject", 5880, 128, FieldKind::Text16},
    {"szDocInfoExtra", 6008, 128, FieldKind::Text16},
    {"dwEncrypt", 6136, 4, FieldKind::U32},
    {"dwKeyLength", 6140, 4, FieldKind::U32},
    {"dwPermissions", 6144, 4, FieldKind::Hex32},
    {"bPermissionsPassword", 6148, 4, FieldKind::U32},
    {"bOpenPassword", 6152, 4, FieldKind::U32},
    {"szPermissionsPassword", 6156, 33, FieldKind::Text8},
    {"szOpenPassword", 6189, 33, FieldKind::Text8},
    {"dwCompression1", 6224, 4, FieldKind::U32},
    {"dwQuality1", 6228, 4, FieldKind::U32},
    {"dwCompression2", 6232, 4, FieldKind::U32},
    {"dwQuality2", 6236, 4, FieldKind::U32},
    {"dwCompression3", 6240, 4, FieldKind::U32},
    {"dwQuality3", 6244, 4, FieldKind::U32},
    {"bDownsample1", 6248, 4, FieldKind::U32},
    {"bDownsample2", 6252, 4, FieldKind::U32},
    {"bDownsample3", 6256, 4, FieldKind::U32},
    {"nResolution1", 6260, 4, FieldKind::S32},
    {"dwDownsampleMethod1", 6264, 4, FieldKind::U32},
    {"nResolution2", 6268, 4, FieldKind::S32},
    {"dwDownsampleMethod2", 6272, 4, FieldKind::U32},
    {"nResolution3", 6276, 4, FieldKind::S32},
    {"dwDownsampleMethod3", 6280, 4, FieldKind::U32},
    {"dwOptionFlags", 6300, 4, FieldKind::Hex32},
};
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
} // namespace testhost

namespace testhost
{
std::string RecordDifferences(const void* expected, const void* actual)
{
    const auto* a = static_cast<const unsigned char*>(expected);
    const auto* b = static_cast<const unsigned char*>(actual);
    std::string out;
    std::vector<bool> covered(6312, false);
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
    for (unsigned i = 0; i < 6312; ++i)
    {
        if (a[i] != b[i])
        {
            char text[64];
            std::snprintf(text, sizeof(text), "byte %u: %u != %u; ", i, a[i], b[i]);
            if (!covered[i])
                out += text;
        }
    }
    return out;
}

} // namespace testhost

namespace testhost
{
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
