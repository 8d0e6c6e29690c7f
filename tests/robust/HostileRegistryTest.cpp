// Registry values something else wrote (docs/reliability.md): the catalogue
// keeps only whole forms, and the paper answers describe exactly it.
#include "FormFixture.h"

#include "forms/CFormManager.h"
#include "entry/DriverInterface.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace
{
using formtest::WriteValue;
using HostileRegistry = formtest::PrinterFormsTest;

// The stored layout of a custom form named `n`: n millimetres by 2n, padded
// or cut to `length` bytes.
std::vector<BYTE> FormRecord(LONG n, size_t length)
{
    std::vector<BYTE> bytes(std::max<size_t>(length, kCustomFormRecordSize), 0xEE);
    const LONG values[] = {LONG(FORM_CUSTOM), 0, 0, 0, n * 1000, n * 2000, 0, 0, n * 1000, n * 2000};
    std::memcpy(bytes.data(), values, sizeof(values));
    bytes.resize(length);
    return bytes;
}

LONG WriteForm(const std::wstring& name, DWORD type, const std::vector<BYTE>& data)
{
    return WriteValue(TARVIK_FORMS_KEY, name, type, data.data(), static_cast<DWORD>(data.size()));
}

// The catalogue holds exactly the custom forms `stored` names, with their
// sizes, in the registry's order up to the value `endsAt` that ends the
// load; the three paper answers describe it entry by entry.
void ExpectCatalogue(HANDLE printer, const std::map<std::wstring, LONG>& stored, const std::wstring& endsAt = L"")
{
    CFormManager catalogue;
    catalogue.SetPrinter(printer);
    EXPECT_EQ(endsAt.empty() ? 0u : DWORD(ERROR_MORE_DATA), catalogue.LoadAvailableForm());
    using Form = std::tuple<std::wstring, LONG, LONG>; // name, width, height
    std::vector<Form> custom, expected;
    for (DWORD i = 0; i < catalogue.GetFormCount(); ++i)
    {
        const FORM_ITEM* form = catalogue.GetForms()[i];
        if (form->dwFlags == FORM_CUSTOM)
            custom.emplace_back(form->szName, form->size.cx, form->size.cy);
    }
    for (const std::wstring& name : formtest::CustomFormNames())
    {
        if (name == endsAt)
            break;
        if (const auto found = stored.find(name); found != stored.end())
            expected.emplace_back(name, found->second * 1000, found->second * 2000);
    }
    EXPECT_EQ(expected, custom);
    EXPECT_EQ(formtest::PapersOf(catalogue), formtest::AskPapers(formtest::Caps(nullptr, L"Tarvik")));
}

TEST_F(HostileRegistry, CustomFormValuesOfEveryLengthAndType)
{
    std::map<std::wstring, LONG> whole; // the values that hold a flag word and a size
    for (size_t length = 0; length <= 64; ++length)
    {
        const std::wstring name = L"Binary " + std::to_wstring(length);
        ASSERT_EQ(ERROR_SUCCESS, WriteForm(name, REG_BINARY, FormRecord(LONG(length) + 1, length)));
        if (length >= 24)
            whole[name] = LONG(length) + 1;
    }
    for (DWORD type : {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_DWORD_BIG_ENDIAN})
        ASSERT_EQ(ERROR_SUCCESS, WriteForm(L"Type " + std::to_wstring(type), type, FormRecord(7, 40)));
    const std::wstring longest(kFormNameLength, L'N');
    ASSERT_EQ(ERROR_SUCCESS, WriteForm(longest, REG_BINARY, FormRecord(300, 40)));
    whole[longest] = 300;
    ExpectCatalogue(s_printer, whole);
}

// A name or data too large to read ends the load there: the forms before it
// stay, nothing of it (not even a shortened name) becomes a form.
TEST_F(HostileRegistry, ValuesTooLargeToReadEndTheLoad)
{
    for (const auto& [name, length] : {std::pair(std::wstring(kFormNameLength + 1, L'M'), size_t(40)),
                                       std::pair(std::wstring(L"Huge"), size_t(8193))})
    {
        SCOPED_TRACE(name.size());
        SetUp();
        ASSERT_EQ(ERROR_SUCCESS, WriteForm(L"A before", REG_BINARY, FormRecord(11, 40)));
        ASSERT_EQ(ERROR_SUCCESS, WriteForm(name, REG_BINARY, FormRecord(12, length)));
        ASSERT_EQ(ERROR_SUCCESS, WriteForm(L"z after", REG_BINARY, FormRecord(13, 40)));
        ExpectCatalogue(s_printer, {{L"A before", 11}, {L"z after", 13}}, name);
    }
}

// The favourite list is only ever text, read whole and split.
TEST_F(HostileRegistry, FavoriteFormOf64KiBOrOfAnotherType)
{
    std::wstring many;
    std::vector<std::wstring> names;
    while (many.size() < 32760)
    {
        names.push_back(L"Form " + std::to_wstring(names.size()));
        many += names.back() + L";";
    }
    const std::wstring endless(32768, L'x'); // no separator and no terminator
    const DWORD number = 0x00340041;         // "A4" if read as text
    const wchar_t multi[] = L"A4\0Letter\0";
    // The value's type, bytes and size; what the load answers, the names it gives.
    const std::tuple<const char*, DWORD, const void*, DWORD, DWORD, std::vector<std::wstring>> rows[] = {
        {"64 KiB of names", REG_SZ, many.c_str(), DWORD((many.size() + 1) * 2), 0, names},
        {"64 KiB, one unterminated name", REG_SZ, endless.data(), DWORD(endless.size() * 2), 0, {endless}},
        {"a number", REG_DWORD, &number, sizeof(number), ERROR_FILE_NOT_FOUND, {}},
        {"bytes", REG_BINARY, "A4;Letter", 9, ERROR_FILE_NOT_FOUND, {}},
        {"several texts", REG_MULTI_SZ, multi, sizeof(multi), ERROR_FILE_NOT_FOUND, {}},
    };
    for (const auto& [what, type, data, size, result, loaded] : rows)
    {
        SCOPED_TRACE(what);
        ASSERT_EQ(ERROR_SUCCESS, WriteValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, type, data, size));
        CFormManager catalogue;
        EXPECT_EQ(result, catalogue.LoadFavoriteForm());
        EXPECT_TRUE(loaded ==
                    std::vector<std::wstring>(catalogue.GetFavoriteForms(),
                                              catalogue.GetFavoriteForms() + catalogue.GetFavoriteFormCount()));
        ExpectCatalogue(s_printer, {}); // the forms do not depend on the favourites
    }
}
} // namespace
