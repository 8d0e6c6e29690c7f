// The font rules that need no window: the excluded-font text read within
// its field, written again and cut where the names no longer fit the record;
// the font catalogue against GDI's own reports.
#include "CFontManager.h"
#include "ExcludedFontList.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace
{
constexpr size_t kField = std::extent_v<decltype(TARVIK_DEVMODE::szExcludeFonts)>;

TEST(ExcludedFontList, ReadWithinItsFieldAndWrittenAgain)
{
    const std::wstring n40(40, L'N'), a(1022, L'A'), b(1023, L'B'), c(2045, L'C');
    // The text and its field's capacity; what is written again: the names that
    // fit ";", each name and ";", and the NUL.
    const std::tuple<std::wstring, size_t, std::wstring> rows[] = {
        {L"", kField, L";"},
        {L";;;", kField, L";"},
        {L";A;;B;", kField, L";A;B;"},
        {L"A;B", kField, L";A;B;"},
        {L";" + n40 + L";", kField, L";" + n40 + L";"},                   // longer than any face name
        {L";AB;CDEF;GH", 6, L";AB;CD;"},                                  // no terminator within the field
        {L";" + a + L";" + a + L";", kField, L";" + a + L";" + a + L";"}, // 2047 units and the NUL
        {L";" + a + L";" + b + L";x;", 2 * kField, L";" + a + L";x;"},
        {L";" + c + L";", kField, L";" + c + L";"},
        {L";" + c + L"C;", kField, L";"},
    };
    for (const auto& [text, capacity, expected] : rows)
    {
        wchar_t out[kField];
        size_t used = BeginExcludedFonts(out), pos = 0, start = 0, length = 0;
        while (NextExcludedFont(text.c_str(), capacity, &pos, &start, &length))
            AppendExcludedFont(out, kField, &used, text.c_str() + start, length);
        EXPECT_EQ(expected, out) << text.size() << " units: " << testing::PrintToString(text.substr(0, 20));
        EXPECT_EQ(expected.size(), used);
    }
}

int CALLBACK Collect(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces)
{
    // GDI reports a family once per character set, one report after another.
    auto* once = reinterpret_cast<std::vector<std::wstring>*>(faces);
    if ((type == DEVICE_FONTTYPE || type == TRUETYPE_FONTTYPE) && font->lfFaceName[0] != L'@' &&
        (once->empty() || once->back() != font->lfFaceName))
        once->push_back(font->lfFaceName);
    return 1;
}

// Each family once, in GDI's order; a second Init appends them again.
TEST(FontCatalogue, KeepsEachReportedFamilyOnce)
{
    std::vector<std::wstring> once, names;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, nullptr, Collect, reinterpret_cast<LPARAM>(&once), 0);
    ReleaseDC(nullptr, screen);
    std::vector<std::wstring> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    CFontManager catalogue;
    ASSERT_EQ(0u, catalogue.Init() + catalogue.Init());
    for (UINT i = 0; i < catalogue.GetFontCount(); ++i)
        names.emplace_back(catalogue.GetFontName(i));
    EXPECT_EQ(expected, names);
}
} // namespace
