// The preset model: the built-ins against docs/presets.md, which preset the
// list shows, the name rules, and the user's stored presets against values
// something else wrote.
#include "DebugCapture.h"
#include "DocumentedPresets.h"
#include "FencedBuffer.h"

#include "presets/CPresetCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace
{
const wchar_t* const kReserved[] = {L"Standard", L"High quality print", L"Smallest file", L"PDF/A archive", L"Custom"};

std::vector<DWORD> Words(const PRESET_FIELDS& fields)
{
    const auto* words = reinterpret_cast<const DWORD*>(&fields);
    return std::vector<DWORD>(words, words + sizeof(fields) / sizeof(DWORD));
}

TEST(BuiltinPresets, HoldTheDocumentedValuesAndOnlyPdfAWantsEncryptionOff)
{
    for (size_t i = 0; i < kBuiltinPresetCount; ++i)
    {
        EXPECT_EQ(Words(kDocumentedPresets[i]), Words(BuiltinPresetFields(i))) << "preset " << i;
        EXPECT_EQ(i == kPresetPdfAArchive, NeedsEncryptionOff(BuiltinPresetFields(i))) << "preset " << i;
    }
}

// Writing a preset into a record touches its fields and no other byte.
TEST(PresetFields, WriteTouchesOnlyTheGroupsFields)
{
    TARVIK_DEVMODE record;
    std::memset(&record, 0x5A, sizeof(record));
    const TARVIK_DEVMODE before = record;
    const PRESET_FIELDS smallest = BuiltinPresetFields(kPresetSmallestFile);
    WritePresetFields(smallest, kPresetGroupAll, &record);
    EXPECT_EQ(Words(smallest), Words(ReadPresetFields(record)));
    EXPECT_EQ((std::pair<short, short>(300, 300)), std::pair(record.dmPrintQuality, record.dmYResolution));
    TARVIK_DEVMODE back = record;
    // Put the written fields back by hand: the rest must never have changed.
    back.dwPdfStandard = before.dwPdfStandard, back.dwResolution = before.dwResolution;
    back.dmPrintQuality = before.dmPrintQuality, back.dmYResolution = before.dmYResolution;
    back.dwFontMode = before.dwFontMode, back.dwFontOption = before.dwFontOption;
    std::memcpy(&back.dwCompression1, &before.dwCompression1, 15 * sizeof(DWORD));
    EXPECT_EQ(0, std::memcmp(&back, &before, sizeof(back)));

    TARVIK_DEVMODE fontsOnly = before;
    WritePresetFields(smallest, kPresetGroupFonts, &fontsOnly);
    EXPECT_EQ(1u, fontsOnly.dwFontOption);
    EXPECT_EQ(before.dwResolution, fontsOnly.dwResolution);
    EXPECT_EQ(before.dwQuality1, fontsOnly.dwQuality1);
}

// Which preset the list shows for fields that differ from a built-in in one place.
TEST(PresetCatalogue, MatchesTheFirstPresetThatMakesTheSameFile)
{
    // What is changed, in which built-in, how; the preset shown (-1: Custom).
    const std::tuple<const char*, size_t, void (*)(PRESET_FIELDS*), int> rows[] = {
        {"none", kPresetStandard, [](PRESET_FIELDS*) {}, kPresetStandard},
        {"none", kPresetPdfAArchive, [](PRESET_FIELDS*) {}, kPresetPdfAArchive},
        {"quality 1", kPresetStandard, [](PRESET_FIELDS* f) { f->image[0].dwQuality = 3; }, -1},
        {"resolution", kPresetHighQualityPrint, [](PRESET_FIELDS* f) { f->dwResolution = 2400; }, -1},
        {"standard", kPresetPdfAArchive, [](PRESET_FIELDS* f) { f->dwPdfStandard = 0; }, -1},
        {"font option", kPresetSmallestFile, [](PRESET_FIELDS* f) { f->dwFontOption = 2; }, -1},
        {"font mode", kPresetStandard, [](PRESET_FIELDS* f) { f->dwFontMode = 3; }, -1},
        // A class that is not downsampled: its resolution and method do nothing
        // (the graphics page stores 72 and no method, -1, for them).
        {"unused method", kPresetStandard, [](PRESET_FIELDS* f) { f->image[2].dwDownsampleMethod = DWORD(-1); },
         kPresetStandard},
        {"unused resolution", kPresetHighQualityPrint, [](PRESET_FIELDS* f) { f->image[1].nResolution = 96; },
         kPresetHighQualityPrint},
        {"downsampled resolution", kPresetSmallestFile, [](PRESET_FIELDS* f) { f->image[2].nResolution = 299; }, -1},
        {"downsampled method", kPresetSmallestFile, [](PRESET_FIELDS* f) { f->image[1].dwDownsampleMethod = 2; }, -1},
        {"downsample off", kPresetSmallestFile, [](PRESET_FIELDS* f) { f->image[0].bDownsample = 0; }, -1},
    };
    CPresetCatalogue catalogue;
    for (const auto& [change, from, edit, expected] : rows)
    {
        PRESET_FIELDS fields = BuiltinPresetFields(from);
        edit(&fields);
        EXPECT_EQ(expected, catalogue.Match(fields)) << change << " from " << from;
    }
}

TEST(PresetName, Rules)
{
    const std::pair<const wchar_t*, PresetNameCheck> rows[] = {
        {L"", kPresetNameEmpty},
        {L"A", kPresetNameOk},
        {L"Thirty-one characters, exactly.", kPresetNameOk},
        {L"Thirty-two characters, exactly..", kPresetNameTooLong},
        {L"Print;Mail", kPresetNameSeparator},
        {L";", kPresetNameSeparator},
        {L"sMALLEST FILE", kPresetNameReserved},
        {L"pdf/a ARCHIVE", kPresetNameReserved},
        {L"custom", kPresetNameReserved},
        {L"Standard 2", kPresetNameOk},
        {L"\uD45C\uC900", kPresetNameOk},
    };
    for (const auto& [name, expected] : rows)
        EXPECT_EQ(expected, CheckPresetName(name, kReserved, std::size(kReserved)))
            << testing::PrintToString(std::wstring(name));
}

// A stored value is read only when it is whole: a fenced copy of every
// length up to and past the real size faults at the first byte read too far.
TEST(PresetCatalogue, DecodesOnlyWholeValuesOfThisVersion)
{
    PRESET_VALUE good = CPresetCatalogue::EncodeValue(BuiltinPresetFields(kPresetSmallestFile));
    testhost::FencedBuffer fence(kPresetValueSize + 1);
    PRESET_FIELDS out = {};
    for (DWORD length = 0; length <= kPresetValueSize + 1; ++length)
    {
        std::vector<BYTE> bytes(length, 0x11);
        std::memcpy(bytes.data(), &good, std::min<DWORD>(length, kPresetValueSize));
        const BYTE* data = fence.Place(length, bytes.data());
        EXPECT_EQ(length == kPresetValueSize, CPresetCatalogue::DecodeValue(REG_BINARY, data, length, &out)) << length;
    }
    EXPECT_EQ(Words(good.fields), Words(out));
    for (DWORD type : {REG_SZ, REG_DWORD, REG_MULTI_SZ, REG_NONE, REG_QWORD})
        EXPECT_FALSE(CPresetCatalogue::DecodeValue(type, reinterpret_cast<BYTE*>(&good), kPresetValueSize, &out));
    PRESET_VALUE future = good;
    future.dwVersion = kPresetValueVersion + 1;
    PRESET_VALUE wrongSize = good;
    wrongSize.cbSize = kPresetValueSize + 4;
    for (const PRESET_VALUE& value : {future, wrongSize})
        EXPECT_FALSE(
            CPresetCatalogue::DecodeValue(REG_BINARY, reinterpret_cast<const BYTE*>(&value), kPresetValueSize, &out));
}

LONG Store(const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY, name.c_str(), type, data, size);
}

// Through the registry: every hostile value is skipped with its debug line,
// the whole ones load sorted by name, and saving and deleting round-trip.
TEST(PresetCatalogue, LoadsOnlyTheWholeStoredPresets)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY);
    CPresetCatalogue catalogue;
    catalogue.SetReservedNames(kReserved, std::size(kReserved));
    ASSERT_EQ(0u, catalogue.Load()); // no key yet: no presets, no failure
    EXPECT_EQ(size_t(kBuiltinPresetCount), catalogue.Count());

    PRESET_FIELDS mail = BuiltinPresetFields(kPresetSmallestFile);
    mail.dwResolution = 600;
    const PRESET_VALUE good = CPresetCatalogue::EncodeValue(mail);
    const BYTE* raw = reinterpret_cast<const BYTE*>(&good);
    for (DWORD length = 0; length <= 64; ++length)
        ASSERT_EQ(ERROR_SUCCESS, Store(L"short " + std::to_wstring(length), REG_BINARY, raw, length));
    const std::vector<BYTE> longer(kPresetValueSize + 1, 0);
    PRESET_VALUE future = good;
    future.dwVersion = 2;
    // clang-format off
    const std::tuple<const wchar_t*, DWORD, const void*, DWORD> others[] = {
        {L"longer", REG_BINARY, longer.data(), DWORD(longer.size())}, {L"future", REG_BINARY, &future, kPresetValueSize},
        {L"text", REG_SZ, raw, kPresetValueSize}, {L"number", REG_DWORD, raw, 4},
        {L"STANDARD", REG_BINARY, raw, kPresetValueSize}, {L"a;b", REG_BINARY, raw, kPresetValueSize},
        {L"A name of thirty-two characters!", REG_BINARY, raw, kPresetValueSize}};
    // clang-format on
    for (const auto& [name, type, data, size] : others)
        ASSERT_EQ(ERROR_SUCCESS, Store(name, type, data, size));
    const size_t hostile = 65 + std::size(others);
    ASSERT_EQ(ERROR_SUCCESS, Store(L"Mail", REG_BINARY, raw, kPresetValueSize));
    ASSERT_EQ(0u, catalogue.Save(L"archive copy", BuiltinPresetFields(kPresetPdfAArchive)));

    testhost::DebugCapture capture;
    ASSERT_EQ(0u, catalogue.Load());
    EXPECT_EQ(hostile, capture.Lines().size());
    ASSERT_EQ(kBuiltinPresetCount + 2, catalogue.Count());
    EXPECT_STREQ(L"archive copy", catalogue.OwnName(kBuiltinPresetCount));
    EXPECT_STREQ(L"Mail", catalogue.OwnName(kBuiltinPresetCount + 1));
    EXPECT_EQ(Words(mail), Words(catalogue.Fields(kBuiltinPresetCount + 1)));
    EXPECT_EQ(int(kBuiltinPresetCount + 1), catalogue.Match(mail));
    // A built-in listed before an own preset of the same fields wins.
    EXPECT_EQ(int(kPresetPdfAArchive), catalogue.Match(BuiltinPresetFields(kPresetPdfAArchive)));

    // Replacing keeps one value and takes the name's new case; deleting removes it.
    ASSERT_EQ(0u, catalogue.Save(L"MAIL", BuiltinPresetFields(kPresetStandard)));
    EXPECT_EQ(int(kBuiltinPresetCount + 1), catalogue.FindOwn(L"mail"));
    EXPECT_STREQ(L"MAIL", catalogue.OwnName(kBuiltinPresetCount + 1));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, catalogue.Save(L"custom", mail));
    ASSERT_EQ(0u, catalogue.Delete(L"Mail"));
    EXPECT_EQ(-1, catalogue.FindOwn(L"Mail"));
    EXPECT_EQ(kBuiltinPresetCount + 1, catalogue.Count());
    RegDeleteTreeW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY);
}
} // namespace
