#include "RecordFieldTable.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace recordfields
{
namespace
{
// clang-format off
#define FIELD(n, k) RecordField{#n, unsigned(offsetof(TARVIK_DEVMODE, n)), unsigned(sizeof(TARVIK_DEVMODE::n)), FieldKind::k}
constexpr RecordField kFields[] = {
    FIELD(dmDeviceName, Text16), FIELD(dmSpecVersion, Hex), FIELD(dmDriverVersion, Hex), FIELD(dmSize, Unsigned),
    FIELD(dmDriverExtra, Unsigned), FIELD(dmFields, Hex), FIELD(dmOrientation, Signed), FIELD(dmPaperSize, Signed),
    FIELD(dmPaperLength, Signed), FIELD(dmPaperWidth, Signed), FIELD(dmScale, Signed), FIELD(dmCopies, Signed),
    FIELD(dmDefaultSource, Signed), FIELD(dmPrintQuality, Signed), FIELD(dmColor, Signed), FIELD(dmDuplex, Signed),
    FIELD(dmYResolution, Signed), FIELD(dmTTOption, Signed), FIELD(dmCollate, Signed), FIELD(dmFormName, Text16),
    FIELD(dmLogPixels, Unsigned), FIELD(dmBitsPerPel, Unsigned), FIELD(dmPelsWidth, Unsigned),
    FIELD(dmPelsHeight, Unsigned), FIELD(dmNup, Unsigned), FIELD(dmDisplayFrequency, Unsigned),
    FIELD(dmICMMethod, Unsigned), FIELD(dmICMIntent, Unsigned), FIELD(dmMediaType, Unsigned),
    FIELD(dmDitherType, Unsigned), FIELD(dmReserved1, Unsigned), FIELD(dmReserved2, Unsigned),
    FIELD(dmPanningWidth, Unsigned), FIELD(dmPanningHeight, Unsigned),
    FIELD(szSignature, Text16), FIELD(padding298, Bytes), FIELD(dwPaperUnit, Unsigned),
    FIELD(bFixedPaperSize, Unsigned), FIELD(dwFixedPaperWidth, Signed), FIELD(dwFixedPaperLength, Signed),
    FIELD(bAutoSave, Unsigned), FIELD(szOutputFolder, Text16), FIELD(szFileNamePrefix, Text16),
    FIELD(padding1378, Bytes), FIELD(bAutoSaveOption, Unsigned), FIELD(dwFontMode, Unsigned),
    FIELD(dwFontOption, Unsigned), FIELD(szExcludeFonts, Text16), FIELD(dwResolution, Unsigned),
    FIELD(dwPdfStandard, Unsigned), FIELD(szTitle, Text16), FIELD(szAuthor, Text16), FIELD(szKeywords, Text16),
    FIELD(szSubject, Text16), FIELD(szDocInfoExtra, Text16), FIELD(dwEncrypt, Unsigned), FIELD(dwKeyLength, Unsigned),
    FIELD(dwPermissions, Hex), FIELD(bPermissionsPassword, Unsigned), FIELD(bOpenPassword, Unsigned),
    FIELD(szPermissionsPassword, Text8), FIELD(szOpenPassword, Text8), FIELD(padding6222, Bytes),
    FIELD(dwCompression1, Unsigned), FIELD(dwQuality1, Unsigned), FIELD(dwCompression2, Unsigned),
    FIELD(dwQuality2, Unsigned), FIELD(dwCompression3, Unsigned), FIELD(dwQuality3, Unsigned),
    FIELD(bDownsample1, Unsigned), FIELD(bDownsample2, Unsigned), FIELD(bDownsample3, Unsigned),
    FIELD(nResolution1, Signed), FIELD(dwDownsampleMethod1, Unsigned), FIELD(nResolution2, Signed),
    FIELD(dwDownsampleMethod2, Unsigned), FIELD(nResolution3, Signed), FIELD(dwDownsampleMethod3, Unsigned),
    FIELD(dwReserved6284, Hex), FIELD(reserved6288, Bytes), FIELD(dwOptionFlags, Hex), FIELD(reserved6304, Bytes)
};
#undef FIELD
// clang-format on

// The fields follow one another without a gap and end with the record.
constexpr bool CoversTheRecord()
{
    unsigned next = 0;
    for (const RecordField& field : kFields)
    {
        if (field.offset != next)
            return false;
        next += field.size;
    }
    return next == kRecordSize;
}
static_assert(CoversTheRecord(), "the field table covers every byte of the record once");

const std::vector<RecordField> kFieldList(std::begin(kFields), std::end(kFields));

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// `count` hexadecimal digits of `text` from `at`, or -1.
long HexNumber(const std::wstring& text, size_t at, size_t count)
{
    if (at + count > text.size())
        return -1;
    long value = 0;
    for (size_t i = at; i < at + count; ++i)
    {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::string NumberValue(const RecordField& field, const unsigned char* p)
{
    uint32_t value = 0;
    std::memcpy(&value, p, field.size);
    char text[32];
    if (field.kind == FieldKind::Hex)
        std::snprintf(text, sizeof(text), field.size == 2 ? "0x%04X" : "0x%08X", static_cast<unsigned>(value));
    else if (field.kind == FieldKind::Signed)
        std::snprintf(text, sizeof(text), "%d",
                      field.size == 2 ? static_cast<int16_t>(value) : static_cast<int32_t>(value));
    else
        std::snprintf(text, sizeof(text), "%u", static_cast<unsigned>(value));
    return text;
}

std::string TextValue(const RecordField& field, const unsigned char* p)
{
    const bool wide = field.kind == FieldKind::Text16;
    const unsigned unit = wide ? 2 : 1, units = field.size / unit;
    std::vector<unsigned> codes(units);
    for (unsigned i = 0; i < units; ++i)
        codes[i] = wide ? p[2 * i] | (p[2 * i + 1] << 8) : p[i];
    while (!codes.empty() && codes.back() == 0)
        codes.pop_back();
    std::string out = "\"";
    std::wstring run; // printable UTF-16 units waiting for their UTF-8 form
    char escape[8];
    for (const unsigned c : codes)
    {
        const bool plain =
            c >= 0x20 && c != 0x7F && c != '"' && c != '\\' && (wide ? c < 0xD800 || c > 0xDFFF : c < 0x7F);
        if (plain)
        {
            run.push_back(static_cast<wchar_t>(c));
            continue;
        }
        out += Utf8(run);
        run.clear();
        if (c == '"' || c == '\\')
            std::snprintf(escape, sizeof(escape), "\\%c", static_cast<char>(c));
        else if (c == 0)
            std::snprintf(escape, sizeof(escape), "\\0");
        else
            std::snprintf(escape, sizeof(escape), wide ? "\\u%04X" : "\\x%02X", c);
        out += escape;
    }
    return out + Utf8(run) + "\"";
}

// The units of a quoted text (escapes resolved) or of a bare one, each a
// UTF-16 unit or, with \x, an 8-bit byte marked by `raw`.
struct Unit
{
    unsigned code;
    bool raw;
};

std::string ParseText(const std::wstring& text, std::vector<Unit>* units)
{
    if (text.empty() || text[0] != L'"')
    {
        for (const wchar_t c : text)
            units->push_back({static_cast<unsigned>(c), false});
        return "";
    }
    if (text.size() < 2 || text.back() != L'"')
        return "a quoted text must end with '\"'";
    for (size_t i = 1; i + 1 < text.size(); ++i)
    {
        if (text[i] == L'"')
            return "a '\"' inside a quoted text must be written \\\"";
        if (text[i] != L'\\')
        {
            units->push_back({static_cast<unsigned>(text[i]), false});
            continue;
        }
        const wchar_t kind = i + 2 < text.size() ? text[i + 1] : 0;
        long code = -1;
        if (kind == L'"' || kind == L'\\')
            code = kind;
        else if (kind == L'0')
            code = 0;
        else if (kind == L'x' || kind == L'u')
            code = HexNumber(text, i + 2, kind == L'x' ? 2 : 4);
        if (code < 0)
            return "unknown escape at character " + std::to_string(i) + " (\\\" \\\\ \\0 \\xXX \\uXXXX)";
        units->push_back({static_cast<unsigned>(code), kind == L'x'});
        i += kind == L'x' ? 3 : kind == L'u' ? 5 : 1;
    }
    return "";
}

std::string SetText(const RecordField& field, const std::wstring& text, unsigned char* p)
{
    std::vector<Unit> units;
    const std::string error = ParseText(text, &units);
    if (!error.empty())
        return error;
    const bool wide = field.kind == FieldKind::Text16;
    std::vector<unsigned char> bytes;
    for (const Unit& u : units)
    {
        if (wide)
        {
            if (u.raw)
                return "\\x is for the 8-bit passwords; a UTF-16 text takes \\uXXXX";
            bytes.push_back(static_cast<unsigned char>(u.code));
            bytes.push_back(static_cast<unsigned char>(u.code >> 8));
        }
        else if (u.raw || u.code < 0x80)
            bytes.push_back(static_cast<unsigned char>(u.code));
        else
        {
            // A character beyond ASCII in the ANSI code page, refused when the
            // code page has no such character.
            const wchar_t c = static_cast<wchar_t>(u.code);
            char ansi[4];
            BOOL lost = FALSE;
            const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, ansi, static_cast<int>(sizeof(ansi)),
                                              nullptr, &lost);
            if (n <= 0 || lost)
            {
                char code[8];
                std::snprintf(code, sizeof(code), "%04X", u.code);
                return std::string("the character U+") + code +
                       " is not in the ANSI code page (write its bytes as \\xXX)";
            }
            bytes.insert(bytes.end(), ansi, ansi + n);
        }
    }
    if (bytes.size() > field.size)
        return "the text takes " + std::to_string(bytes.size()) + " bytes; the field holds " +
               std::to_string(field.size);
    std::memset(p, 0, field.size);
    if (!bytes.empty())
        std::memcpy(p, bytes.data(), bytes.size());
    return "";
}

std::string SetNumber(const RecordField& field, const std::wstring& text, unsigned char* p)
{
    const bool negative = !text.empty() && text[0] == L'-';
    const size_t start = negative ? 1 : 0;
    const bool hex =
        text.size() > start + 2 && text[start] == L'0' && (text[start + 1] == L'x' || text[start + 1] == L'X');
    const size_t digits = start + (hex ? 2 : 0);
    if (digits >= text.size() || text.size() - digits > 16)
        return "not a number";
    int64_t magnitude = 0;
    for (size_t i = digits; i < text.size(); ++i)
    {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || (!hex && digit > 9))
            return "not a number";
        magnitude = magnitude * (hex ? 16 : 10) + digit;
        if (magnitude > (int64_t(1) << 40))
            return "out of range";
    }
    const int64_t value = negative ? -magnitude : magnitude;
    const int bits = static_cast<int>(field.size * 8);
    const int64_t low = field.kind == FieldKind::Unsigned ? 0 : -(int64_t(1) << (bits - 1));
    const int64_t high = field.kind == FieldKind::Signed ? (int64_t(1) << (bits - 1)) - 1 : (int64_t(1) << bits) - 1;
    if (value < low || value > high)
        return "out of range: the field takes " + std::to_string(low) + " to " + std::to_string(high);
    const uint32_t bitsOfValue = static_cast<uint32_t>(value);
    std::memcpy(p, &bitsOfValue, field.size);
    return "";
}

std::string SetBytes(const RecordField& field, const std::wstring& text, unsigned char* p)
{
    if (text.size() != 2 * field.size)
        return "takes exactly " + std::to_string(2 * field.size) + " hexadecimal digits";
    std::vector<unsigned char> bytes(field.size);
    for (unsigned i = 0; i < field.size; ++i)
    {
        const long byte = HexNumber(text, 2 * i, 2);
        if (byte < 0)
            return "takes hexadecimal digits only";
        bytes[i] = static_cast<unsigned char>(byte);
    }
    std::memcpy(p, bytes.data(), field.size);
    return "";
}

} // namespace

const std::vector<RecordField>& RecordFields()
{
    return kFieldList;
}

const RecordField* FindField(const std::string& name)
{
    for (const RecordField& field : kFieldList)
    {
        if (name == field.name)
            return &field;
    }
    return nullptr;
}

std::string Utf8(const std::wstring& text)
{
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string FieldValue(const RecordField& field, const unsigned char* record)
{
    const unsigned char* p = record + field.offset;
    if (IsText(field))
        return TextValue(field, p);
    if (field.kind != FieldKind::Bytes)
        return NumberValue(field, p);
    std::string out;
    char digits[4];
    for (unsigned i = 0; i < field.size; ++i)
    {
        std::snprintf(digits, sizeof(digits), "%02X", p[i]);
        out += digits;
    }
    return out;
}

std::string SetFieldValue(const RecordField& field, const std::wstring& text, unsigned char* record)
{
    unsigned char* p = record + field.offset;
    if (IsText(field))
        return SetText(field, text, p);
    if (field.kind == FieldKind::Bytes)
        return SetBytes(field, text, p);
    return SetNumber(field, text, p);
}

std::wstring FromUtf8(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}
} // namespace recordfields
