// The rules of the settings pages that need no window: the permission word,
// the quality lists, the digit filter of the resolution entries and the
// byte bound of the password edits.
#include "AnsiText.h"
#include "CDlgGraphicsSetting.h"
#include "CDlgSecuritySetting.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using Security = CDlgSecuritySetting;
using Graphics = CDlgGraphicsSetting;

TEST(SettingsRules, PermissionWordGrantsWhatTheLevelKnows)
{
    constexpr DWORD kAll = 4 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048;
    struct Row
    {
        int level;
        DWORD granted;
        DWORD word;
    };
    const Row rows[] = {
        {Security::kNoEncryption, kAll, 0xFFFFF0C0},
        {Security::kRc4Bits40, 4 | 2048, 0xFFFFF0C4}, // never high-resolution printing
        {Security::kRc4Bits40, 16 | 512, 0xFFFFF0D0}, // copying, without accessibility's bit
        {Security::kRc4Bits40, kAll, 0xFFFFF0FC},
        {Security::kRc4Bits128, 4 | 2048, 0xFFFFF8C4},
        {Security::kRc4Bits128, 256 | 1024, 0xFFFFF5C0},
        {Security::kRc4Bits128, kAll, 0xFFFFFFFC},
        {Security::kRc4Bits128, 0, 0xFFFFF0C0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.word, Security::PermissionWord(row.level, row.granted)) << row.level << " " << row.granted;
}

// The list of each class under each compression, and the position the stored
// quality selects in it.
TEST(SettingsRules, QualityListsFollowTheCompression)
{
    struct Row
    {
        int imageClass;
        DWORD compression;
        DWORD stored;
        size_t count;
        int position;
        UINT textId; // of the selected entry
        DWORD value; // of the selected entry, what Apply stores
    };
    const Row rows[] = {
        {1, Graphics::kZip, 1, 3, 0, IDS_ZIP_QUALITY_1, 1},   {1, Graphics::kZip, 2, 3, 1, IDS_ZIP_QUALITY_2, 2},
        {1, Graphics::kZip, 4, 3, 2, IDS_ZIP_QUALITY_3, 3},   {1, Graphics::kJpeg, 5, 5, 0, IDS_JPEG_QUALITY_1, 5},
        {1, Graphics::kJpeg, 4, 5, 1, IDS_JPEG_QUALITY_2, 4}, {1, Graphics::kJpeg, 3, 5, 2, IDS_JPEG_QUALITY_3, 3},
        {1, Graphics::kJpeg, 2, 5, 3, IDS_JPEG_QUALITY_4, 2}, {1, Graphics::kJpeg, 1, 5, 4, IDS_JPEG_QUALITY_5, 1},
        {1, Graphics::kJpeg, 0, 5, 0, IDS_JPEG_QUALITY_1, 5}, {2, Graphics::kZip, 2, 3, 1, IDS_ZIP_QUALITY_2, 2},
        {3, Graphics::kZip, 0, 3, 2, IDS_ZIP_QUALITY_3, 3},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.imageClass << " " << row.compression << " " << row.stored);
        const Graphics::QualityItem* items = nullptr;
        ASSERT_EQ(row.count, Graphics::QualityItems(row.imageClass, row.compression, &items));
        const int position = Graphics::QualityPosition(row.compression, row.stored);
        ASSERT_EQ(row.position, position);
        EXPECT_EQ(row.textId, items[position].textId);
        EXPECT_EQ(row.value, items[position].value);
    }
    // JPEG is offered for the first class only.
    const Graphics::QualityItem* items = nullptr;
    EXPECT_EQ(0u, Graphics::QualityItems(2, Graphics::kJpeg, &items));
    EXPECT_EQ(0u, Graphics::QualityItems(3, Graphics::kJpeg, &items));
}

TEST(SettingsRules, ResolutionEntriesKeepOnlyDigits)
{
    struct Row
    {
        const wchar_t* typed;
        int caret;
        const wchar_t* kept;
        int caretAfter;
    };
    const Row rows[] = {
        {L"7a", 2, L"7", 1},       // a letter typed after a 7
        {L"72", 2, L"72", 2},      // a digit stays where it was typed
        {L"a7", 1, L"7", 0},       // a letter typed before the digits
        {L"1x20", 2, L"120", 1},   // in the middle
        {L"3 dpi,0", 7, L"30", 2}, // pasted: the digits in their order
        {L"9a1b9", 4, L"919", 2},  // pasted between two digits
        {L"x", 1, L"", 0},         //
        {L"", 0, L"", 0},          //
        {L"\x0663"
         L"5",
         2, L"5", 1} // only 0 to 9 count as digits
    };
    for (const Row& row : rows)
    {
        std::wstring text = row.typed;
        const int caret = Graphics::KeepDigits(&text[0], row.caret);
        EXPECT_EQ(row.kept, std::wstring(text.c_str())) << testing::PrintToString(row.typed);
        EXPECT_EQ(row.caretAfter, caret) << testing::PrintToString(row.typed);
    }
}

// Passwords are bounded in bytes of the code page: a character fits whole or
// not at all.
TEST(SettingsRules, PasswordBoundInBytesOfTheCodePage)
{
    const std::wstring ga(16, L'\xAC00'); // 16 Hangul syllables, 2 bytes each in code page 949
    struct Row
    {
        std::wstring text;
        int maxBytes;
        UINT codePage;
        int units;
    };
    const Row rows[] = {
        {ga, 32, 949, 16},
        {ga + L"\xAC00", 32, 949, 16},
        {L"x" + ga, 32, 949, 16},      // 31 bytes; the 16th syllable would end at 33
        {L"x" + ga, 33, 949, 17},      //
        {ga, 31, 949, 15},             //
        {L"\xE9\xE9\xE9", 2, 1252, 2}, // one byte each in code page 1252
        {L"abc", 32, 1252, 3},         //
        {L"a\xD83D\xDE00", 1, 1252, 1} // a surrogate pair is one character
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.units,
                  AnsiFitLength(row.text.c_str(), static_cast<int>(row.text.size()), row.maxBytes, row.codePage))
            << row.text.size() << " units, " << row.maxBytes << " bytes, code page " << row.codePage;
}
} // namespace
