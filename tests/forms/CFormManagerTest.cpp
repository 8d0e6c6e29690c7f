// The form catalogue against the real spooler and the registry of the
// private prefix: numbering across both, the stored records, favourites,
// failure lines, and the unit texts of the paper dialogs.
#include "DebugCapture.h"
#include "FormFixture.h"
#include "ReportLines.h"

#include "CFormManager.h"

#include <libmerrow/error.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
using formtest::CustomFormNames;
using testhost::DebugCapture;

// The report of `code` (also the last error text the dialogs show), then
// `rest`, where "@" is this source's location line.
void ExpectFailureLines(const std::vector<std::wstring>& lines, DWORD code, std::vector<std::wstring> rest)
{
    for (std::wstring& line : rest)
    {
        if (line == L"@")
            line = L"@CFormManager";
    }
    EXPECT_EQ("", testhost::ReportMismatch(lines, code, nullptr, rest));
    EXPECT_EQ(std::wstring(GetLastErrorTextW()), lines.empty() ? L"" : lines[0]);
}

std::vector<BYTE> FormRecord(DWORD size, DWORD flags, LONG cx, LONG cy)
{
    std::vector<BYTE> record(size, 0);
    memcpy(record.data(), &flags, 4);
    memcpy(record.data() + 16, &cx, 4);
    memcpy(record.data() + 20, &cy, 4);
    return record;
}

std::vector<BYTE> TextBytes(const std::wstring& text)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t));
}

class Catalogue : public formtest::PrinterFormsTest
{
  protected:
    void Load(CFormManager& forms, DWORD expected = 0)
    {
        EXPECT_EQ(0u, forms.SetPrinter(s_printer));
        EXPECT_EQ(expected, forms.LoadAvailableForm());
    }
};

TEST(CPtrArray, GrowsWhileTakingItsLastFreeSlot)
{
    CPtrArray array(100, 10);
    std::vector<int> items(101);
    for (UINT i = 0; i < 101; ++i)
    {
        array.Add(&items[i]);
        EXPECT_EQ(i < 99 ? 100u : 110u, array.GetCapacity()) << i + 1 << " items";
    }
    EXPECT_EQ(&items[100], array.GetAt(100));
    EXPECT_EQ(&items[0], array.GetData()[0]);
    EXPECT_EQ(nullptr, array.GetAt(101));
    array.RemoveAll();
    EXPECT_EQ(0u, array.GetCount());
    EXPECT_EQ(110u, array.GetCapacity());
    EXPECT_EQ(nullptr, array.GetAt(0));
}

TEST_F(Catalogue, SpoolerFormsThenCustomFormsNumberedOnwards)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Poster", 500, 700));
    ASSERT_EQ(0u, forms.AddForm(L"A4", 100, 150)); // named like a spooler form
    Load(forms);
    const size_t n = s_spoolerForms.size();
    ASSERT_EQ(n + 2, forms.GetFormCount());
    FORM_ITEM* const* items = forms.GetForms();
    for (size_t i = 0; i < n; ++i)
    {
        const formtest::Form& form = s_spoolerForms[i];
        EXPECT_TRUE(items[i]->wPaperNumber == i + 1 && form.name == items[i]->szName &&
                    form.flags == items[i]->dwFlags && form.cx == items[i]->size.cx && form.cy == items[i]->size.cy)
            << i << " " << testhost::Utf8(form.name);
    }
    const std::vector<std::wstring> stored = CustomFormNames();
    ASSERT_EQ(2u, stored.size());
    for (size_t k = 0; k < 2; ++k)
    {
        const bool a4 = stored[k] == L"A4";
        EXPECT_EQ(n + 1 + k, items[n + k]->wPaperNumber);
        EXPECT_EQ(stored[k], items[n + k]->szName);
        EXPECT_EQ(static_cast<DWORD>(FORM_CUSTOM), items[n + k]->dwFlags);
        EXPECT_EQ(a4 ? 100000 : 500000, items[n + k]->size.cx);
        EXPECT_EQ(a4 ? 150000 : 700000, items[n + k]->size.cy);
    }
    // The name finds the spooler's A4 first; only exact names match.
    ASSERT_NE(nullptr, forms.FindForm(L"A4"));
    EXPECT_EQ(210000, forms.FindForm(L"A4")->size.cx);
    EXPECT_LE(forms.FindForm(L"A4")->wPaperNumber, n);
    EXPECT_EQ(nullptr, forms.FindForm(L"a4"));

    // A write reaches the list only with the next load, which rebuilds it.
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Label", 40, 30));
    EXPECT_EQ(nullptr, forms.FindForm(L"Tarvik Label"));
    Load(forms);
    EXPECT_EQ(n + 3, forms.GetFormCount());
    EXPECT_NE(nullptr, forms.FindForm(L"Tarvik Label"));
}

TEST_F(Catalogue, AddReplacesTheRecordAndDeleteFindsOnlyCustomForms)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 100, 200));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 300, 400));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Tag", 30, 60));
    DWORD type = 0;
    std::vector<BYTE> expected = FormRecord(40, FORM_CUSTOM, 300000, 400000);
    memcpy(expected.data() + 32, expected.data() + 16, 8); // imageable area right, bottom
    EXPECT_EQ(expected, formtest::ReadValue(TARVIK_FORMS_KEY, L"Tarvik Card", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    ASSERT_EQ(0u, forms.DeleteForm(L"Tarvik Card"));
    for (const wchar_t* name : {L"Tarvik Card", L"Letter"})
    {
        DebugCapture capture;
        EXPECT_EQ(2u, forms.DeleteForm(name));
        ExpectFailureLines(capture.Lines(), 2, {L"from RegDeleteKey()", L"from CFormManager::DeleteForm()"});
    }
    EXPECT_EQ(std::vector<std::wstring>{L"Tarvik Tag"}, CustomFormNames());

    // Names the catalogue could not load back, and sizes a LONG cannot hold.
    for (const std::wstring& name : {std::wstring(65, L'x'), std::wstring(), std::wstring(L"Tarvik Wide")})
    {
        DebugCapture capture;
        EXPECT_EQ(87u, forms.AddForm(name.c_str(), name.empty() ? 10 : 2147484, 10));
        ExpectFailureLines(capture.Lines(), 87, {L"@", L"from CFormManager::AddForm()"});
    }
    EXPECT_EQ(0u, forms.AddForm(std::wstring(64, L'x').c_str(), 2147483, 10));
    Load(forms);
    EXPECT_EQ(2147483000, forms.FindForm(std::wstring(64, L'x').c_str())->size.cx);
}

TEST_F(Catalogue, DamagedValuesAreSkippedAndAnOverlongNameEndsTheLoad)
{
    const std::vector<BYTE> whole = FormRecord(40, FORM_CUSTOM, 11000, 22000);
    const std::vector<BYTE> shortest = FormRecord(24, 0x10000005, 33000, 44000);
    ASSERT_EQ(0, formtest::WriteValue(TARVIK_FORMS_KEY, L"Tarvik 1", REG_BINARY, whole.data(), 40));
    ASSERT_EQ(0, formtest::WriteValue(TARVIK_FORMS_KEY, L"Tarvik 2", REG_BINARY, shortest.data(), 24));
    ASSERT_EQ(0, formtest::WriteValue(TARVIK_FORMS_KEY, L"Tarvik Cut", REG_BINARY, whole.data(), 23));
    ASSERT_EQ(0, formtest::WriteValue(TARVIK_FORMS_KEY, L"Tarvik Dword", REG_DWORD, whole.data(), 4));
    CFormManager forms;
    {
        DebugCapture capture;
        Load(forms);
        EXPECT_EQ(2u, capture.Lines().size()); // one note per skipped value
    }
    const size_t n = s_spoolerForms.size();
    ASSERT_EQ(n + 2, forms.GetFormCount());
    const FORM_ITEM* second = forms.FindForm(L"Tarvik 2");
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(0x10000005u, second->dwFlags);
    EXPECT_EQ(33000, second->size.cx);
    EXPECT_EQ(44000, second->size.cy);
    // Usable values take the numbers after the spooler's in enumeration
    // order; each damaged one leaves a note.
    auto countBefore = [](const std::wstring& stop, const wchar_t* a, const wchar_t* b) {
        size_t count = 0;
        for (const std::wstring& name : CustomFormNames())
        {
            if (name == stop)
                break;
            count += name == a || name == b;
        }
        return count;
    };
    auto usableBefore = [&](const std::wstring& stop) { return countBefore(stop, L"Tarvik 1", L"Tarvik 2"); };
    EXPECT_EQ(n + 1 + usableBefore(L"Tarvik 2"), second->wPaperNumber);

    // A value name longer than a form name stops the load where it stands.
    const std::wstring overlong(65, L'z');
    ASSERT_EQ(0, formtest::WriteValue(TARVIK_FORMS_KEY, overlong, REG_BINARY, whole.data(), 40));
    DebugCapture capture;
    Load(forms, ERROR_MORE_DATA);
    std::vector<std::wstring> lines = capture.Lines();
    const size_t notes = countBefore(overlong, L"Tarvik Cut", L"Tarvik Dword");
    ASSERT_GE(lines.size(), notes);
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(notes));
    ExpectFailureLines(lines, ERROR_MORE_DATA,
                       {L"from CFormManager::_LoadFormFromRegistry()", L"from CFormManager::LoadAvailableForm()"});
    EXPECT_EQ(n + usableBefore(overlong), forms.GetFormCount());
}

TEST_F(Catalogue, WithoutAPrinterNothingIsLoaded)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 100, 200));
    forms.SetPrinter(nullptr);
    DebugCapture capture;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), forms.LoadAvailableForm());
    ExpectFailureLines(
        capture.Lines(), ERROR_INVALID_HANDLE,
        {L"from EnumForms()", L"from CFormManager::_LoadFormFromSpooler()", L"from CFormManager::LoadAvailableForm()"});
    EXPECT_EQ(0u, forms.GetFormCount());
}

TEST_F(Catalogue, FavoritesSplitOnSeparatorsAndSaveJoined)
{
    const struct
    {
        DWORD type;
        std::wstring stored;
        bool terminated;
        std::vector<std::wstring> names;
        std::wstring saved;
    } rows[] = {
        {REG_SZ, L";A4;;Letter;", true, {L"A4", L"Letter"}, L"A4;Letter"},
        {REG_SZ, L" A4 ;A4", true, {L" A4 ", L"A4"}, L" A4 ;A4"},
        {REG_SZ, L";;", true, {}, L""},
        {REG_BINARY, L"A4;B5", false, {L"A4", L"B5"}, L"A4;B5"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testhost::Utf8(row.stored));
        const DWORD bytes = static_cast<DWORD>((row.stored.size() + (row.terminated ? 1 : 0)) * 2);
        ASSERT_EQ(0,
                  formtest::WriteValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, row.type, row.stored.c_str(), bytes));
        CFormManager forms;
        forms.AddFavoriteForm(L"replaced by the load");
        EXPECT_EQ(0u, forms.LoadFavoriteForm());
        EXPECT_EQ(row.names, std::vector<std::wstring>(forms.GetFavoriteForms(),
                                                       forms.GetFavoriteForms() + forms.GetFavoriteFormCount()));
        EXPECT_EQ(0u, forms.SaveFavoriteForm());
        DWORD type = 0;
        EXPECT_EQ(TextBytes(row.saved), formtest::ReadValue(TARVIK_CONFIG_KEY, TARVIK_FAVORITE_VALUE, &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    }

    // Without the value: code 2 and an empty list.
    formtest::PrinterFormsTest::SetUp();
    CFormManager forms;
    forms.AddFavoriteForm(L"A4");
    DebugCapture capture;
    EXPECT_EQ(2u, forms.LoadFavoriteForm());
    ExpectFailureLines(capture.Lines(), 2, {L"@", L"from CFormManager::LoadFavoriteForm()"});
    EXPECT_EQ(0u, forms.GetFavoriteFormCount());
}

TEST(TrimNumberText, DropsZerosAfterThePointThenABarePoint)
{
    const wchar_t* rows[][2] = {{L"12.50", L"12.5"}, {L"12.00", L"12"}, {L"12.", L"12"},
                                {L"120", L"120"},    {L"0.00", L"0"},   {L"100.10", L"100.1"}};
    for (const auto& row : rows)
    {
        wchar_t text[16];
        wcscpy_s(text, 16, row[0]);
        TrimNumberText(text);
        EXPECT_STREQ(row[1], text) << testhost::Utf8(row[0]);
    }
}

TEST_F(Catalogue, UnitTextsOfTheSpoolersA4AndLetter)
{
    CFormManager forms;
    Load(forms);
    const struct
    {
        const wchar_t* form;
        const wchar_t* texts[6]; // mm, inch, point; width then height
        short tenths[2];
    } rows[] = {
        {L"A4", {L"210", L"297", L"8.27", L"11.69", L"595.28", L"841.89"}, {2100, 2970}},
        {L"Letter", {L"215.9", L"279.4", L"8.5", L"11", L"612", L"792"}, {2159, 2794}},
    };
    for (const auto& row : rows)
    {
        const FORM_ITEM* form = forms.FindForm(row.form);
        ASSERT_NE(nullptr, form);
        for (int side = 0; side < 2; ++side)
        {
            const LONG size = side ? form->size.cy : form->size.cx;
            const float mm = FormSizeToMillimetres(size);
            const float values[3] = {mm, MillimetresToInches(mm), InchesToPoints(MillimetresToInches(mm))};
            for (int unit = 0; unit < 3; ++unit)
            {
                wchar_t text[32];
                FormatFormSize(values[unit], text, 32);
                EXPECT_STREQ(row.texts[unit * 2 + side], text) << testhost::Utf8(row.form) << " unit " << unit;
            }
            EXPECT_EQ(row.tenths[side], FormSizeToTenths(size));
        }
    }
}
} // namespace
