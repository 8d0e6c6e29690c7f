// The rules of the settings pages that need no window: the permission word,
// the quality lists and the digit filter. (The password byte bound is
// proven in a code page 949 process: SecurityKoreanTest.cpp.)
#include "CDlgGraphicsSetting.h"
#include "CDlgSecuritySetting.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using Graphics = CDlgGraphicsSetting;

TEST(SettingsRules, PermissionWordGrantsWhatTheLevelKnows)
{
    constexpr DWORD kAll = 4 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048;
    const struct
    {
        int level;
        DWORD granted, word;
    } rows[] = {{0, kAll, 0xFFFFF0C0},     {1, kAll, 0xFFFFF0FC}, {1, 4 | 2048, 0xFFFFF0C4},
                {2, 4 | 2048, 0xFFFFF8C4}, {2, kAll, 0xFFFFFFFC}, {2, 256 | 1024, 0xFFFFF5C0}};
    for (const auto& row : rows)
        EXPECT_EQ(row.word, CDlgSecuritySetting::PermissionWord(row.level, row.granted))
            << row.level << " " << row.granted;
}

TEST(SettingsRules, QualityListsFollowTheCompression)
{
    const struct
    {
        int imageClass;
        DWORD compression, stored;
        int position;
        UINT text;   // of the selected entry
        DWORD value; // what Apply stores
    } rows[] = {{1, 1, 1, 0, IDS_ZIP_QUALITY_1, 1},  {1, 1, 4, 2, IDS_ZIP_QUALITY_3, 3},
                {1, 2, 4, 1, IDS_JPEG_QUALITY_2, 4}, {1, 2, 1, 4, IDS_JPEG_QUALITY_5, 1},
                {1, 2, 5, 0, IDS_JPEG_QUALITY_1, 5}, {1, 2, 0, 0, IDS_JPEG_QUALITY_1, 5},
                {2, 1, 2, 1, IDS_ZIP_QUALITY_2, 2},  {3, 1, 0, 2, IDS_ZIP_QUALITY_3, 3}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.imageClass << " " << row.compression << " " << row.stored);
        const Graphics::QualityItem* items = nullptr;
        ASSERT_EQ(row.compression == Graphics::kZip ? 3u : 5u,
                  Graphics::QualityItems(row.imageClass, row.compression, &items));
        const int position = Graphics::QualityPosition(row.compression, row.stored);
        ASSERT_EQ(row.position, position);
        EXPECT_EQ(row.text, items[position].textId);
        EXPECT_EQ(row.value, items[position].value);
    }
    const Graphics::QualityItem* items = nullptr;
    EXPECT_EQ(0u,
              Graphics::QualityItems(2, Graphics::kJpeg, &items) + Graphics::QualityItems(3, Graphics::kJpeg, &items));
}

TEST(SettingsRules, ResolutionEntriesKeepOnlyDigits)
{
    const struct
    {
        const wchar_t *typed, *kept;
        int caret, caretAfter;
    } rows[] = {{L"7a", L"7", 2, 1},
                {L"72", L"72", 2, 2},
                {L"a7", L"7", 1, 0},
                {L"1x20", L"120", 2, 1},
                {L"9a1b9", L"919", 4, 2},
                {L"3 dpi,0", L"30", 7, 2},
                {L"x", L"", 1, 0},
                {L"\x0663"
                 L"5",
                 L"5", 2, 1}}; // only 0 to 9 are digits
    for (const auto& row : rows)
    {
        std::wstring text = row.typed;
        EXPECT_EQ(row.caretAfter, Graphics::KeepDigits(&text[0], row.caret)) << testing::PrintToString(row.typed);
        EXPECT_EQ(row.kept, std::wstring(text.c_str())) << testing::PrintToString(row.typed);
    }
}

} // namespace
