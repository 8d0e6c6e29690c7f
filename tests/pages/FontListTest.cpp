// The rules behind the font page that need no window: the excluded-font
// text read within its field and written again, the length that still fits
// the record, and the font catalogue against GDI's own reports.
#include "CFontManager.h"
#include "ExcludedFontList.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace
{
constexpr size_t kField = std::extent_v<decltype(TARVIK_DEVMODE::szExcludeFonts)>;

TEST(ExcludedFontList, ReadWithinItsFieldAndWrittenAgain)
{
    const std::wstring longName = L";" + std::wstring(40, L'L') + L";"; // longer than any face name
    const struct
    {
        std::wstring text;
        size_t capacity;
        std::wstring expected;
    } rows[] = {
        {L"", kField, L";"},           {L";;;", kField, L";"},
        {L";A;;B;", kField, L";A;B;"}, {L"A;B", kField, L";A;B;"},
        {longName, kField, longName},  {L";AB;CDEF;GH", 6, L";AB;CD;"}, // no terminator within the field
    };
    for (const auto& row : rows)
    {
        wchar_t out[kField];
        size_t used = BeginExcludedFonts(out), pos = 0, start = 0, length = 0;
        while (NextExcludedFont(row.text.c_str(), row.capacity, &pos, &start, &length))
            EXPECT_TRUE(AppendExcludedFont(out, kField, &used, row.text.c_str() + start, length));
        EXPECT_EQ(row.expected, out) << testing::PrintToString(row.text);
        EXPECT_EQ(row.expected.size(), used);
    }
}

// ";" + each name and ";" + the terminator must fit the field; a name that
// does not fit writes nothing.
TEST(ExcludedFontList, FitsTheFieldWithItsTerminator)
{
    const struct
    {
        std::vector<size_t> lengths;
        size_t fitting; // how many of the names fit
    } rows[] = {{{kField - 3}, 1}, {{kField - 2}, 0}, {{1022, 1022}, 2}, {{1022, 1023}, 1}, {{kField - 4, 1}, 1}};
    for (const auto& row : rows)
    {
        wchar_t text[kField];
        size_t used = BeginExcludedFonts(text), fitting = 0;
        for (size_t length : row.lengths)
        {
            const std::wstring name(length, L'N'), before = text;
            if (AppendExcludedFont(text, kField, &used, name.c_str(), length))
                ++fitting;
            else
                EXPECT_EQ(before, text);
        }
        EXPECT_EQ(row.fitting, fitting) << row.lengths.size() << " names, first " << row.lengths[0];
    }
}

int CALLBACK CollectReport(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM reports)
{
    reinterpret_cast<std::vector<std::pair<std::wstring, DWORD>>*>(reports)->emplace_back(font->lfFaceName, type);
    return 1;
}

// The catalogue keeps the TrueType and device faces in GDI's order, once per
// run of reports (GDI reports a family once per character set); a second
// Init appends them again.
TEST(FontCatalogue, KeepsEachReportedFamilyOnce)
{
    std::vector<std::pair<std::wstring, DWORD>> reports;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, nullptr, CollectReport, reinterpret_cast<LPARAM>(&reports), 0);
    ReleaseDC(nullptr, screen);
    std::vector<std::wstring> once;
    for (const auto& [face, type] : reports)
    {
        if ((type == DEVICE_FONTTYPE || type == TRUETYPE_FONTTYPE) && face[0] != L'@' &&
            (once.empty() || once.back() != face))
            once.push_back(face);
    }
    ASSERT_LT(once.size() + 10, reports.size()); // families do come in runs here

    CFontManager catalogue;
    ASSERT_EQ(0u, catalogue.Init());
    ASSERT_EQ(0u, catalogue.Init());
    std::vector<std::wstring> names;
    for (UINT i = 0; i < catalogue.GetFontCount(); ++i)
        names.emplace_back(catalogue.GetFontName(i));
    std::vector<std::wstring> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(twice, names);
}
} // namespace
