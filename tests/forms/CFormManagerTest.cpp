// The form catalogue against the real spooler and registry, and the
// device-capability answers (the paper answers entry by entry the catalogue's).
#include "FormFixture.h"
#include "HeapWatch.h"
#include "ProbeRun.h"
#include "RecordFields.h"

#include "forms/CFormManager.h"
#include "entry/DriverInterface.h"

#include <cstring>
#include <tuple>

namespace
{
using formtest::CustomFormNames;
using Catalogue = formtest::PrinterFormsTest;
using DeviceCaps = formtest::PrinterFormsTest;
using Names = std::vector<std::wstring>;

TEST_F(Catalogue, SpoolerFormsThenCustomFormsAddedReplacedAndDeleted)
{
    CFormManager forms;
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 100, 200));
    ASSERT_EQ(0u, forms.AddForm(L"Tarvik Card", 500, 700)); // replaces
    ASSERT_EQ(0u, forms.AddForm(L"A4", 100, 150));          // named like a spooler form
    ASSERT_EQ(0u, forms.SetPrinter(s_printer));
    ASSERT_EQ(0u, forms.LoadAvailableForm());
    ASSERT_EQ(s_spoolerForms.size() + 2, forms.GetFormCount());
    // Each form's number, name, flags, width and height: the spooler's, then
    // the custom forms numbered on in the registry's order.
    std::vector<std::tuple<size_t, std::wstring, DWORD, LONG, LONG>> expected, listed;
    for (const formtest::Form& form : s_spoolerForms)
        expected.emplace_back(expected.size() + 1, form.name, form.flags, form.cx, form.cy);
    for (const std::wstring& name : CustomFormNames())
        expected.emplace_back(expected.size() + 1, name, FORM_CUSTOM, name == L"A4" ? 100000 : 500000,
                              name == L"A4" ? 150000 : 700000);
    for (DWORD i = 0; i < forms.GetFormCount(); ++i)
    {
        const FORM_ITEM& f = *forms.GetForms()[i];
        listed.emplace_back(f.wPaperNumber, f.szName, f.dwFlags, f.size.cx, f.size.cy);
    }
    EXPECT_EQ(expected, listed);
    // The name finds the spooler's A4 first; only exact names match.
    ASSERT_NE(nullptr, forms.FindForm(L"A4"));
    EXPECT_EQ(210000, forms.FindForm(L"A4")->size.cx);
    EXPECT_EQ(nullptr, forms.FindForm(L"a4"));

    ASSERT_EQ(0u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Tarvik Card"));
    EXPECT_EQ(2u, forms.DeleteForm(L"Letter"));
    EXPECT_EQ(Names{L"A4"}, CustomFormNames());
    EXPECT_EQ(87u, forms.AddForm(std::wstring(65, L'x').c_str(), 10, 10));
    EXPECT_EQ(87u, forms.AddForm(L"", 10, 10));
}

TEST_F(Catalogue, FavoritesSplitOnSeparatorsAndSaveJoined)
{
    // The stored value (null: none); the names loaded, the load's code, the value saved again.
    const std::tuple<const wchar_t*, Names, DWORD, std::wstring> rows[] = {
        {L";A4;;Letter;", {L"A4", L"Letter"}, 0, L"A4;Letter"},
        {L" A4 ;A4", {L" A4 ", L"A4"}, 0, L" A4 ;A4"},
        {L";;", {}, 0, L""},
        {nullptr, {}, 2, L""},
    };
    for (const auto& [stored, names, code, saved] : rows)
    {
        SetUp();
        ASSERT_TRUE(!stored || formtest::StoreFavorites(stored) == 0);
        CFormManager forms;
        forms.AddFavoriteForm(L"replaced by the load");
        EXPECT_EQ(code, forms.LoadFavoriteForm());
        EXPECT_EQ(names, Names(forms.GetFavoriteForms(), forms.GetFavoriteForms() + forms.GetFavoriteFormCount()));
        EXPECT_EQ(0u, forms.SaveFavoriteForm());
        EXPECT_EQ(saved, formtest::StoredFavorites()) << (stored ? testhost::Utf8(stored) : "none");
    }
}

// Measured in copies of the probe program: it prints the catalogue's count
// and whether the paper answers are the catalogue's.
TEST_F(Catalogue, OnlyAnHwpHostIsCappedAndOnlyFrom256Forms)
{
    // The forms there are, the probe's name, the forms it sees.
    const std::tuple<size_t, const wchar_t*, unsigned> rows[] = {
        {255, L"hwp.exe", 255}, {256, L"hwp.exe", 255},   {256, L"probe.exe", 256},
        {300, L"HWP.EXE", 255}, {300, L"myhwp.exe", 300},
    };
    CFormManager writer;
    size_t total = s_spoolerForms.size();
    for (const auto& [forms, name, count] : rows)
    {
        for (; total < forms; ++total)
            ASSERT_EQ(0u, writer.AddForm((L"Tarvik " + std::to_wstring(total)).c_str(), 100, 100));
        std::string output;
        EXPECT_EQ(0u, testhost::RunProbeAs(name, L"papers", &output));
        EXPECT_EQ(std::to_string(count) + " 1\r\n", output) << testhost::Utf8(name) << ", " << forms;
    }
    // The paper page looks for favourites among all forms, even where the
    // form lists are capped: the 300th form is still offered.
    CFormManager favorites;
    favorites.AddFavoriteForm(L"A4");
    favorites.AddFavoriteForm(L"Tarvik 299");
    ASSERT_EQ(0u, favorites.SaveFavoriteForm());
    std::string offered;
    EXPECT_EQ(0u, testhost::RunProbeAs(L"hwp.exe", L"offered", &offered));
    EXPECT_EQ("A4;Tarvik 299\r\n", offered);
}

using formtest::kGuard;
using formtest::kUntouched;

template <typename T>
std::vector<BYTE> Bytes(std::initializer_list<T> values)
{
    std::vector<BYTE> bytes(values.size() * sizeof(T));
    memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
}

// A text in a slot of `slot` characters, cleared after its terminator.
std::vector<BYTE> Slot(std::wstring text, size_t slot)
{
    text.resize(slot, L'\0');
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {bytes, bytes + slot * sizeof(wchar_t)};
}

// The number answers write nothing, whether a buffer is given or not, and
// are the driver's fixed values; unlisted indexes say so. The answers with a
// list fill exactly their slots.
TEST_F(DeviceCaps, EveryIndexWithAndWithoutABuffer)
{
    auto check = [](WORD index, DWORD result, std::vector<BYTE> written) {
        EXPECT_EQ(result, DrvDeviceCapabilities(s_printer, nullptr, index, nullptr, nullptr)) << index;
        std::vector<BYTE> out(kGuard, kUntouched);
        EXPECT_EQ(result, DrvDeviceCapabilities(s_printer, nullptr, index, out.data(), nullptr)) << index;
        written.resize(kGuard, kUntouched);
        EXPECT_EQ(written, out) << index;
    };
    const std::pair<WORD, DWORD> numbers[] = {// clang-format off
        {DC_FIELDS, 0x1BF1F}, {DC_MINEXTENT, 0x00FE00FE}, {DC_MAXEXTENT, 0x7FFF7FFF}, {DC_DUPLEX, 0}, {DC_EXTRA, 6092},
        {DC_VERSION, 0x401}, {DC_DRIVER, 0x700}, {DC_TRUETYPE, DCTT_BITMAP}, {DC_ORIENTATION, 90}, {DC_COPIES, 1},
        {DC_COLLATE, 0}, {DC_PRINTRATE, 1}, {DC_PRINTRATEUNIT, 1}, {DC_PRINTERMEM, 0x40000000}, {DC_STAPLE, 0},
        {DC_PRINTRATEPPM, 128}, {DC_COLORDEVICE, 1}, {DC_NUP, 0}};
    // clang-format on
    for (const auto& [index, result] : numbers)
        check(index, result, {});
    for (WORD index :
         {0, DC_SIZE, DC_FILEDEPENDENCIES, 19, DC_EMF_COMPLIANT, 21, DC_MANUFACTURER, 24, 34, DC_MEDIATYPES, 36})
        check(index, GDI_ERROR, {});
    check(DC_BINS, 1, Bytes<WORD>({DMBIN_ONLYONE}));
    check(DC_ENUMRESOLUTIONS, 5, Bytes<LONG>({300, 300, 600, 600, 1200, 1200, 2400, 2400, 3000, 3000}));
    check(DC_BINNAMES, 1, Slot(L"Tarvik Tray", 24));
    check(DC_PERSONALITY, 1, Slot(L"Tarvik", 32));
    check(DC_MEDIAREADY, 1, Slot(L"Tarvik Paper", 64));
}

// The catalogue's forms, a custom form named like a spooler form and one
// whose name fills its slot among them, then "Custom Size": the same
// whether the module is asked with the handle, by name alone or through the
// spooler (which passes no handle).
TEST_F(DeviceCaps, PapersAreTheCatalogueThenCustomSizeWhoeverAsks)
{
    CFormManager catalogue;
    ASSERT_EQ(0u, catalogue.AddForm(L"A4", 100, 150));
    ASSERT_EQ(0u, catalogue.AddForm(std::wstring(64, L'w').c_str(), 10, 20));
    catalogue.SetPrinter(s_printer);
    catalogue.LoadAvailableForm();
    ASSERT_EQ(s_spoolerForms.size() + 2, catalogue.GetFormCount());
    const std::vector<std::wstring> papers = formtest::PapersOf(catalogue);
    EXPECT_EQ(papers, formtest::AskPapers(formtest::Caps(s_printer, L"Tarvik")));
    EXPECT_EQ(papers, formtest::AskPapers(formtest::Caps(nullptr, L"Tarvik")));
    EXPECT_EQ(papers, formtest::AskPapers([](WORD index, void* output) {
                  return static_cast<DWORD>(
                      DeviceCapabilitiesW(L"Tarvik", L"FILE:", index, static_cast<LPWSTR>(output), nullptr));
              }));
    // No printer to ask: "Custom Size" alone.
    EXPECT_EQ((std::vector<std::wstring>{L"counts 1 1 1 1 1 1", L"Custom Size | 256 | 0 x 0"}),
              formtest::AskPapers(formtest::Caps(nullptr, L"No Such Printer")));
}

// Whichever allocation fails while the catalogue is read, the paper answer
// is whole or GDI_ERROR with ERROR_NOT_ENOUGH_MEMORY, and nothing is left.
TEST_F(DeviceCaps, AFailedAllocationFailsTheAnswerCleanly)
{
    const DWORD whole = DrvDeviceCapabilities(s_printer, nullptr, DC_PAPERNAMES, nullptr, nullptr);
    long failures = 0;
    const long runs = testhost::FailEachAllocation(
        [&](const testhost::HeapWatch& watch) {
            SetLastError(0xdeadbeef);
            const DWORD answer = DrvDeviceCapabilities(s_printer, nullptr, DC_PAPERNAMES, nullptr, nullptr);
            const bool failed = answer == DWORD(GDI_ERROR);
            failures += failed;
            EXPECT_EQ(failed ? DWORD(ERROR_NOT_ENOUGH_MEMORY) : whole, failed ? GetLastError() : answer);
            EXPECT_EQ(0, watch.Alive());
        },
        testhost::HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
    EXPECT_GT(runs, failures);
}
} // namespace
