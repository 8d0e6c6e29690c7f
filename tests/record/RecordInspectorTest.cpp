// tarvik-record as its users run it: the listing names every field of the
// record once at its offset, a record comes back byte for byte from what the
// listing prints, files that are no record of this driver are refused with
// their message and exit code, and values are set within each field's limits.
#include "PrinterInstaller.h"
#include "ProbeRun.h"
#include "RecordFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace
{
using Bytes = std::vector<unsigned char>;

struct Outcome
{
    DWORD code;
    std::string output;
};

Outcome Inspect(const std::wstring& arguments)
{
    Outcome run{0, ""};
    run.code = testhost::RunProgram(testhost::BinDirectory() + L"\\tarvik-record.exe", arguments, L"", &run.output);
    return run;
}

std::wstring TempPath(const wchar_t* name)
{
    return testhost::BinDirectory() + L"\\inspector-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

void Save(const std::wstring& path, const Bytes& bytes)
{
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

Bytes Load(const std::wstring& path)
{
    Bytes bytes(kRecordSize + 1);
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    bytes.resize(file ? std::fread(bytes.data(), 1, bytes.size(), file) : 0);
    return file && std::fclose(file) == 0 ? bytes : Bytes();
}

// One argument as the C runtime splits a command line: quoted, a quote
// escaped, backslashes doubled where a quote follows them.
std::wstring Quote(const std::wstring& text)
{
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (const wchar_t c : text)
    {
        if (c == L'"')
            out.append(slashes + 1, L'\\');
        slashes = c == L'\\' ? slashes + 1 : 0;
        out.push_back(c);
    }
    return out.append(slashes, L'\\') + L"\"";
}

struct Line
{
    std::string name;
    unsigned offset, width;
    std::string isDefault, value;
};

// The field lines of a listing (name, offset, width, default, value).
std::vector<Line> Listing(const std::string& output)
{
    std::vector<Line> lines;
    std::istringstream in(output);
    for (std::string text; std::getline(in, text);)
    {
        char name[64], flag[8];
        unsigned offset = 0, width = 0;
        int value = 0;
        if (std::sscanf(text.c_str(), "%63s %u %u %7s %n", name, &offset, &width, flag, &value) == 4)
            lines.push_back({name, offset, width, flag, text.substr(value, text.find_last_not_of('\r') + 1 - value)});
    }
    return lines;
}

// A record of this driver whose every byte is drawn at random: no text ends,
// numbers take any value, padding is not zero. A few fields get what a
// printer would hold and texts what is hard to print.
Bytes HostileRecord(const wchar_t* deviceName)
{
    std::mt19937 random(18);
    Bytes bytes(kRecordSize);
    for (unsigned char& b : bytes)
        b = static_cast<unsigned char>(random());
    auto& record = *reinterpret_cast<TARVIK_DEVMODE*>(bytes.data());
    record.dmSize = kPublicSize;
    record.dmDriverExtra = kPrivateSize;
    wcscpy(record.dmDeviceName, deviceName);
    const wchar_t title[] = L"say \"hi\" C:\\x\\\0tail\x0001\xD800\xFFFF";
    std::copy(std::begin(title), std::end(title), record.szTitle);
    const wchar_t folder[] = L"C:\\Users\\";
    std::copy(std::begin(folder), std::end(folder), record.szOutputFolder);
    return bytes;
}

// Offsets and widths of the record format, the padding and reserved ranges
// under the names the listing gives them.
// clang-format off
const std::vector<std::tuple<const char*, unsigned, unsigned>> kFormat = {
    {"dmDeviceName", 0, 64}, {"dmSpecVersion", 64, 2}, {"dmDriverVersion", 66, 2}, {"dmSize", 68, 2},
    {"dmDriverExtra", 70, 2}, {"dmFields", 72, 4}, {"dmOrientation", 76, 2}, {"dmPaperSize", 78, 2},
    {"dmPaperLength", 80, 2}, {"dmPaperWidth", 82, 2}, {"dmScale", 84, 2}, {"dmCopies", 86, 2},
    {"dmDefaultSource", 88, 2}, {"dmPrintQuality", 90, 2}, {"dmColor", 92, 2}, {"dmDuplex", 94, 2},
    {"dmYResolution", 96, 2}, {"dmTTOption", 98, 2}, {"dmCollate", 100, 2}, {"dmFormName", 102, 64},
    {"dmLogPixels", 166, 2}, {"dmBitsPerPel", 168, 4}, {"dmPelsWidth", 172, 4}, {"dmPelsHeight", 176, 4},
    {"dmNup", 180, 4}, {"dmDisplayFrequency", 184, 4}, {"dmICMMethod", 188, 4}, {"dmICMIntent", 192, 4},
    {"dmMediaType", 196, 4}, {"dmDitherType", 200, 4}, {"dmReserved1", 204, 4}, {"dmReserved2", 208, 4},
    {"dmPanningWidth", 212, 4}, {"dmPanningHeight", 216, 4}, {"szSignature", 220, 78}, {"padding298", 298, 2},
    {"dwPaperUnit", 300, 4}, {"bFixedPaperSize", 304, 4}, {"dwFixedPaperWidth", 308, 4},
    {"dwFixedPaperLength", 312, 4}, {"bAutoSave", 316, 4}, {"szOutputFolder", 320, 1024},
    {"szFileNamePrefix", 1344, 34}, {"padding1378", 1378, 2}, {"bAutoSaveOption", 1380, 4}, {"dwFontMode", 1384, 4},
    {"dwFontOption", 1388, 4}, {"szExcludeFonts", 1392, 4096}, {"dwResolution", 5488, 4}, {"dwPdfStandard", 5492, 4},
    {"szTitle", 5496, 128}, {"szAuthor", 5624, 128}, {"szKeywords", 5752, 128}, {"szSubject", 5880, 128},
    {"szDocInfoExtra", 6008, 128}, {"dwEncrypt", 6136, 4}, {"dwKeyLength", 6140, 4}, {"dwPermissions", 6144, 4},
    {"bPermissionsPassword", 6148, 4}, {"bOpenPassword", 6152, 4}, {"szPermissionsPassword", 6156, 33},
    {"szOpenPassword", 6189, 33}, {"padding6222", 6222, 2}, {"dwCompression1", 6224, 4}, {"dwQuality1", 6228, 4},
    {"dwCompression2", 6232, 4}, {"dwQuality2", 6236, 4}, {"dwCompression3", 6240, 4}, {"dwQuality3", 6244, 4},
    {"bDownsample1", 6248, 4}, {"bDownsample2", 6252, 4}, {"bDownsample3", 6256, 4}, {"nResolution1", 6260, 4},
    {"dwDownsampleMethod1", 6264, 4}, {"nResolution2", 6268, 4}, {"dwDownsampleMethod2", 6272, 4},
    {"nResolution3", 6276, 4}, {"dwDownsampleMethod3", 6280, 4}, {"dwReserved6284", 6284, 4},
    {"reserved6288", 6288, 12}, {"dwOptionFlags", 6300, 4}, {"reserved6304", 6304, 8}};
// clang-format on

TEST(RecordInspector, ListsEveryFieldOnceAtItsOffset)
{
    const Outcome run = Inspect(L"--default");
    ASSERT_EQ(0u, run.code) << run.output;
    const std::vector<Line> lines = Listing(run.output);
    ASSERT_EQ(kFormat.size(), lines.size()) << run.output;
    for (size_t i = 0; i < kFormat.size(); ++i)
    {
        const auto& [name, offset, width] = kFormat[i];
        EXPECT_EQ(std::make_tuple(std::string(name), offset, width, std::string("yes")),
                  std::make_tuple(lines[i].name, lines[i].offset, lines[i].width, lines[i].isDefault));
    }
}

// Printed, then set field by field from what was printed onto the built-in
// record and written: the same bytes. Only the sizes match the built-in values.
TEST(RecordInspector, RoundTripsARecordByteForByte)
{
    const std::wstring device = L"Tarvik \"B\u00fcro\" \ud504\ub9b0\ud130";
    const Bytes original = HostileRecord(device.c_str());
    const std::wstring in = TempPath(L"in.bin"), out = TempPath(L"out.bin");
    Save(in, original);
    const Outcome printed = Inspect(L"--file " + Quote(in) + L" --device " + Quote(device));
    ASSERT_EQ(0u, printed.code) << printed.output;
    std::wstring assignments;
    for (const Line& line : Listing(printed.output))
    {
        const bool sizes = line.name == "dmSize" || line.name == "dmDriverExtra";
        EXPECT_EQ(sizes ? "yes" : "no", line.isDefault) << line.name;
        assignments += L" " + Quote(recordfields::FromUtf8(line.name + "=" + line.value));
    }
    const Outcome set = Inspect(L"--default" + assignments + L" --out " + Quote(out));
    EXPECT_EQ(0u, set.code) << set.output.substr(0, 500);
    const Bytes written = Load(out);
    ASSERT_EQ(original.size(), written.size());
    EXPECT_TRUE(original == written) << testhost::RecordDifferences(original.data(), written.data());
    EXPECT_EQ(printed.output.substr(printed.output.find('\n')), set.output.substr(set.output.find('\n')));
    DeleteFileW(in.c_str());
    DeleteFileW(out.c_str());
}

// Each file is the built-in record with one field set, cut or lengthened.
TEST(RecordInspector, RefusesWhatIsNoRecordOfThisDriverAndWritesNothing)
{
    // The file's size, the change (name=value, or --device NAME and the like), exit code and message.
    const std::tuple<size_t, const wchar_t*, DWORD, const char*> cases[] = {
        {0, L"", 3, "it is empty; a record is 6312 bytes"},
        {6311, L"", 3, "it has 6311 bytes"},
        {6313, L"", 3, "longer than a record's 6312 bytes"},
        {6312, L"dmSize=219", 4, "dmSize is 219, not 220"},
        {6312, L"dmSize=221", 4, "dmSize is 221, not 220"},
        {6312, L"dmDriverExtra=6091", 5, "dmDriverExtra is 6091, not 6092"},
        {6312, L"dmDriverExtra=6093", 5, "dmDriverExtra is 6093, not 6092"},
        {6312, L"dmDeviceName=Tarvix", 6, "dmDeviceName is \"Tarvix\", not \"Tarvik\""},
        {6312, L"dmDeviceName=TTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTT", 6, "does not end within its 32 characters"},
        {6312, L"--device Tarvik2", 6, "not \"Tarvik2\""},
        {6312, L"dmScales=1", 7, "no field is called \"dmScales\""},
        {6312, L"dmScale=32768", 7, "dmScale=32768: out of range"},
    };
    const std::wstring path = TempPath(L"hostile.bin"), out = TempPath(L"hostile-out.bin");
    for (const auto& [size, field, code, message] : cases)
    {
        Bytes file(kRecordSize);
        SetDefaultRecord(TARVIK_PRODUCT_NAME, reinterpret_cast<TARVIK_DEVMODE*>(file.data()));
        const std::wstring change = field;
        const auto* named = recordfields::FindField(testhost::Utf8(change.substr(0, change.find(L'='))));
        // What the field cannot hold goes to the program as an argument.
        const bool toFile =
            named && recordfields::SetFieldValue(*named, change.substr(change.find(L'=') + 1), file.data()).empty();
        file.resize(size);
        Save(path, file);
        const Outcome run =
            Inspect(L"--file " + Quote(path) + L" " + (toFile ? L"" : change) + L" --out " + Quote(out));
        SCOPED_TRACE(testhost::Utf8(change) + " in " + std::to_string(size) + " bytes: " + run.output);
        EXPECT_EQ(code, run.code);
        EXPECT_NE(std::string::npos, run.output.find(message));
        EXPECT_EQ(std::string::npos, run.output.find("Settings record from"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(out.c_str()));
        DeleteFileW(out.c_str());
    }
    DeleteFileW(path.c_str());
    EXPECT_EQ(2u, Inspect(L"--file " + Quote(path)).code) << "a file that is not there";
    EXPECT_EQ(8u, Inspect(L"--printer \"No such printer\"").code);
    EXPECT_EQ(1u, Inspect(L"--default --file " + Quote(path)).code) << "two sources";
}

// Each kind of field at its limits, and texts that do not fit their field.
TEST(RecordFieldTable, SetsValuesWithinTheFieldsLimits)
{
    // The field, the text set, what the listing shows (null: refused).
    const std::tuple<const char*, const wchar_t*, const char*> rows[] = {
        // clang-format off
        {"dmScale", L"32767", "32767"}, {"dmScale", L"32768", nullptr}, {"dmScale", L"-32768", "-32768"},
        {"dmScale", L"-32769", nullptr}, {"dmSize", L"65535", "65535"}, {"dmSize", L"65536", nullptr},
        {"dmSize", L"-1", nullptr}, {"dmSize", L"0x00DC", "220"}, {"dmFields", L"0xFFFFFFFF", "0xFFFFFFFF"},
        {"dmFields", L"0x100000000", nullptr}, {"dwPermissions", L"-3904", "0xFFFFF0C0"},
        {"nResolution1", L"-2147483648", "-2147483648"}, {"nResolution1", L"2147483648", nullptr},
        {"dwResolution", L"4294967295", "4294967295"}, {"dwResolution", L"3e2", nullptr}, {"dwResolution", L"", nullptr},
        {"dwResolution", L"0x", nullptr}, {"szFileNamePrefix", L"sixteen-letters!", "\"sixteen-letters!\""},
        {"szFileNamePrefix", L"seventeen letters", "\"seventeen letters\""}, // fills the field, no NUL
        {"szFileNamePrefix", L"eighteen letters!!", nullptr}, {"szFileNamePrefix", L"\"a\\u0041\\0b\"", "\"aA\\0b\""},
        {"szFileNamePrefix", L"\"open", nullptr}, {"szFileNamePrefix", L"\"a\\qb\"", nullptr},
        {"szFileNamePrefix", L"\"a\\xC0\"", nullptr}, // bytes only in the 8-bit texts
        {"szOutputFolder", L"C:\\Out\\", "\"C:\\\\Out\\\\\""}, {"szOpenPassword", L"\"\\xC0\\x7F\"", "\"\\xC0\\x7F\""},
        {"szOpenPassword", L"\u00e9", "\"\\xE9\""}, // in the ANSI code page (1252)
        {"szOpenPassword", L"\ud504", nullptr},     // not in it
        {"padding298", L"0aFf", "0AFF"}, {"padding298", L"0aF", nullptr}, {"padding298", L"0aFg", nullptr},
        // clang-format on
    };
    for (const auto& [name, text, shown] : rows)
    {
        Bytes record(kRecordSize, 0x5A);
        const Bytes before = record;
        const recordfields::RecordField* field = recordfields::FindField(name);
        ASSERT_NE(nullptr, field) << name;
        const std::string problem = recordfields::SetFieldValue(*field, text, record.data());
        SCOPED_TRACE(std::string(name) + "=" + testhost::Utf8(text));
        EXPECT_EQ(shown == nullptr, !problem.empty()) << problem;
        const size_t end = field->offset + field->size;
        EXPECT_TRUE(!shown || recordfields::FieldValue(*field, record.data()) == shown)
            << recordfields::FieldValue(*field, record.data());
        EXPECT_TRUE(std::equal(record.begin(), record.begin() + field->offset, before.begin()) &&
                    std::equal(record.begin() + end, record.end(), before.begin() + end))
            << "a byte outside the field changed";
        EXPECT_TRUE(shown || record == before) << "a refused value changed the record";
    }
}
} // namespace
