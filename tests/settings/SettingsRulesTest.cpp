// The rules of the settings pages that need no window: the permission word,
// the quality lists and the digit filter. (The password byte bound is
// proven in a code page 949 process: SecurityKoreanTest.cpp.)
#include "CDlgGraphicsSetting.h"
#include "CDlgSecuritySetting.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace
{
using Graphics = CDlgGraphicsSetting;

TEST(SettingsRules, PermissionWordGrantsWhatTheLevelKnows)
{
    constexpr DWORD kAll = 4 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048;
    const std::tuple<int, DWORD, DWORD> rows[] = {{0, kAll, 0xFFFFF0C0},     {1, kAll, 0xFFFFF0FC},
                                                  {1, 4 | 2048, 0xFFFFF0C4}, {2, 4 | 2048, 0xFFFFF8C4},
                                                  {2, kAll, 0xFFFFFFFC},     {2, 256 | 1024, 0xFFFFF5C0}};
    for (const auto& [level, granted, word] : rows)
        EXPECT_EQ(word, CDlgSecuritySetting::PermissionWord(level, granted)) << level << " " << granted;
}

TEST(SettingsRules, QualityListsFollowTheCompression)
{
    // The image class, its compression and stored quality; the position,
    // text and value (what Apply stores) of the entry selected.
    const std::tuple<int, DWORD, DWORD, int, UINT, DWORD> rows[] = {
        {1, 1, 1, 0, IDS_ZIP_QUALITY_1, 1},  {1, 1, 4, 2, IDS_ZIP_QUALITY_3, 3},  {1, 2, 4, 1, IDS_JPEG_QUALITY_2, 4},
        {1, 2, 1, 4, IDS_JPEG_QUALITY_5, 1}, {1, 2, 5, 0, IDS_JPEG_QUALITY_1, 5}, {1, 2, 0, 0, IDS_JPEG_QUALITY_1, 5},
        {2, 1, 2, 1, IDS_ZIP_QUALITY_2, 2},  {3, 1, 0, 2, IDS_ZIP_QUALITY_3, 3}};
    for (const auto& [imageClass, compression, stored, position, text, value] : rows)
    {
        SCOPED_TRACE(testing::Message() << imageClass << " " << compression << " " << stored);
        const Graphics::QualityItem* items = nullptr;
        ASSERT_EQ(compression == Graphics::kZip ? 3u : 5u, Graphics::QualityItems(imageClass, compression, &items));
        ASSERT_EQ(position, Graphics::QualityPosition(compression, stored));
        EXPECT_EQ(text, items[position].textId);
        EXPECT_EQ(value, items[position].value);
    }
    const Graphics::QualityItem* items = nullptr;
    EXPECT_EQ(0u,
              Graphics::QualityItems(2, Graphics::kJpeg, &items) + Graphics::QualityItems(3, Graphics::kJpeg, &items));
}

TEST(SettingsRules, ResolutionEntriesKeepOnlyDigits)
{
    // What was typed and the caret after it; what is kept and the caret then.
    const std::tuple<std::wstring, int, std::wstring, int> rows[] = {
        {L"7a", 2, L"7", 1},
        {L"72", 2, L"72", 2},
        {L"a7", 1, L"7", 0},
        {L"1x20", 2, L"120", 1},
        {L"9a1b9", 4, L"919", 2},
        {L"3 dpi,0", 7, L"30", 2},
        {L"x", 1, L"", 0},
        {L"\x0663"
         L"5",
         2, L"5", 1}, // only 0 to 9 are digits
    };
    for (auto [text, caret, kept, caretAfter] : rows)
    {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(caretAfter, Graphics::KeepDigits(&text[0], caret));
        EXPECT_EQ(kept, std::wstring(text.c_str()));
    }
}

} // namespace
