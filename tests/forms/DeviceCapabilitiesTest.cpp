// The device-capability answers, directly with the open printer and through
// the spooler's DeviceCapabilitiesW; the paper answers agree entry by entry.
#include "FormFixture.h"
#include "HeapWatch.h"
#include "ReportLines.h"

#include "CFormManager.h"
#include "DriverInterface.h"
#include "SettingsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

namespace
{
using CapsCall = std::function<DWORD(WORD index, void* output)>;

constexpr BYTE kUntouched = 0xCD;
constexpr size_t kGuard = 256; // bytes checked past every answer

// The three paper answers, each asked for its count and then into a buffer of
// exactly that many entries; a name's terminator must lie within its slot.
struct Papers
{
    std::vector<DWORD> results; // names, numbers, sizes: without, then with a buffer
    std::vector<std::wstring> names;
    std::vector<WORD> numbers;
    std::vector<std::pair<LONG, LONG>> sizes;
    bool guardsIntact = true;
    bool operator==(const Papers& o) const
    {
        return std::tie(results, names, numbers, sizes, guardsIntact) ==
               std::tie(o.results, o.names, o.numbers, o.sizes, o.guardsIntact);
    }
};

Papers QueryPapers(const CapsCall& caps)
{
    Papers papers;
    const WORD indexes[3] = {DC_PAPERNAMES, DC_PAPERS, DC_PAPERSIZE};
    const size_t widths[3] = {64 * sizeof(wchar_t), sizeof(WORD), sizeof(POINT)};
    for (int q = 0; q < 3; ++q)
    {
        const DWORD count = caps(indexes[q], nullptr);
        papers.results.push_back(count);
        if (count > 10000)
            return papers;
        std::vector<BYTE> out(count * widths[q] + kGuard, kUntouched);
        papers.results.push_back(caps(indexes[q], out.data()));
        papers.guardsIntact &=
            std::vector<BYTE>(out.end() - kGuard, out.end()) == std::vector<BYTE>(kGuard, kUntouched);
        const auto* names = reinterpret_cast<const wchar_t*>(out.data());
        for (DWORD k = 0; k < count; ++k)
        {
            if (q == 0) // a name without its terminator in the slot shows as 64 characters
                papers.names.emplace_back(names + 64 * k, wcsnlen(names + 64 * k, 64));
            if (q == 1)
                papers.numbers.push_back(reinterpret_cast<const WORD*>(out.data())[k]);
            if (q == 2)
                papers.sizes.emplace_back(reinterpret_cast<const POINT*>(out.data())[k].x,
                                          reinterpret_cast<const POINT*>(out.data())[k].y);
        }
    }
    return papers;
}

CapsCall Direct(HANDLE printer, const wchar_t* name)
{
    return [=](WORD index, void* output) {
        return DrvDeviceCapabilities(printer, const_cast<PWSTR>(name), index, output, nullptr);
    };
}

using DeviceCaps = formtest::PrinterFormsTest;

template <typename T>
std::vector<BYTE> Bytes(std::initializer_list<T> values)
{
    std::vector<BYTE> bytes(values.size() * sizeof(T));
    memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
}

// A text in a slot of `slot` characters, cleared after its terminator.
std::vector<BYTE> Slot(const std::wstring& text, size_t slot)
{
    std::wstring padded = text;
    padded.resize(slot, L'\0');
    return std::vector<BYTE>(reinterpret_cast<const BYTE*>(padded.data()),
                             reinterpret_cast<const BYTE*>(padded.data() + slot));
}

// The number answers write nothing, whether a buffer is given or not; those
// that describe the settings record agree with the record the driver makes.
// Unlisted indexes say so. The answers with a list fill exactly their slots.
TEST_F(DeviceCaps, EveryIndexWithAndWithoutABuffer)
{
    auto check = [](WORD index, DWORD result, std::vector<BYTE> written) {
        EXPECT_EQ(result, DrvDeviceCapabilities(s_printer, nullptr, index, nullptr, nullptr)) << index;
        std::vector<BYTE> out(kGuard, kUntouched);
        EXPECT_EQ(result, DrvDeviceCapabilities(s_printer, nullptr, index, out.data(), nullptr)) << index;
        written.resize(kGuard, kUntouched);
        EXPECT_EQ(written, out) << index;
    };
    TARVIK_DEVMODE record;
    SetDefaultRecord(nullptr, &record);
    check(DC_FIELDS, record.dmFields, {});
    check(DC_EXTRA, record.dmDriverExtra, {});
    check(DC_VERSION, record.dmSpecVersion, {});
    check(DC_DRIVER, record.dmDriverVersion, {});
    for (WORD index :
         {DC_MINEXTENT, DC_MAXEXTENT, DC_DUPLEX, DC_TRUETYPE, DC_ORIENTATION, DC_COPIES, DC_COLLATE, DC_PRINTRATE,
          DC_PRINTRATEUNIT, DC_PRINTERMEM, DC_STAPLE, DC_PRINTRATEPPM, DC_COLORDEVICE, DC_NUP})
        check(index, DrvDeviceCapabilities(s_printer, nullptr, index, nullptr, nullptr), {});
    for (WORD index : {0, DC_SIZE, DC_FILEDEPENDENCIES, DC_EMF_COMPLIANT, DC_MANUFACTURER, DC_MEDIATYPES, 36})
        check(index, GDI_ERROR, {});
    check(DC_BINS, 1, Bytes<WORD>({DMBIN_ONLYONE}));
    check(DC_ENUMRESOLUTIONS, 5, Bytes<LONG>({300, 300, 600, 600, 1200, 1200, 2400, 2400, 3000, 3000}));
    check(DC_BINNAMES, 1, Slot(L"Tarvik Tray", 24));
    check(DC_PERSONALITY, 1, Slot(L"Tarvik", 32));
    check(DC_MEDIAREADY, 1, Slot(L"Tarvik Paper", 64));
}

TEST_F(DeviceCaps, PapersAreTheCatalogueThenCustomSizeWhoeverAsks)
{
    CFormManager writer;
    ASSERT_EQ(0u, writer.AddForm(L"A4", 100, 150)); // named like a spooler form
    ASSERT_EQ(0u, writer.AddForm(std::wstring(64, L'w').c_str(), 10, 20));
    std::vector<formtest::Form> forms = s_spoolerForms;
    for (const std::wstring& name : formtest::CustomFormNames())
        forms.push_back({name, FORM_CUSTOM, 0, 0});
    const DWORD n = static_cast<DWORD>(forms.size());

    const Papers papers = QueryPapers(Direct(s_printer, L"Tarvik"));
    EXPECT_EQ(std::vector<DWORD>(6, n + 1), papers.results);
    EXPECT_TRUE(papers.guardsIntact);
    ASSERT_EQ(n + 1, papers.sizes.size());
    for (DWORD k = 0; k < n; ++k)
    {
        SCOPED_TRACE(testhost::Utf8(forms[k].name));
        EXPECT_EQ(forms[k].name.substr(0, 63), papers.names[k]); // 64 characters leave no room
        EXPECT_EQ(k + 1, papers.numbers[k]);
        std::pair<LONG, LONG> size(forms[k].cx / 100, forms[k].cy / 100);
        if (forms[k].flags == FORM_CUSTOM) // its own size, unless a spooler form has its name
            size = forms[k].name == L"A4" ? std::make_pair(2100L, 2970L) : std::make_pair(100L, 200L);
        EXPECT_EQ(size, papers.sizes[k]);
    }
    EXPECT_EQ(L"Custom Size", papers.names[n]);
    EXPECT_EQ(DMPAPER_USER, papers.numbers[n]);
    EXPECT_EQ(std::make_pair(0L, 0L), papers.sizes[n]);

    // The same through the spooler (which passes no handle) and by name alone.
    const CapsCall spooler = [](WORD index, void* output) {
        return static_cast<DWORD>(
            DeviceCapabilitiesW(L"Tarvik", L"FILE:", index, static_cast<LPWSTR>(output), nullptr));
    };
    EXPECT_TRUE(papers == QueryPapers(spooler));
    EXPECT_TRUE(papers == QueryPapers(Direct(nullptr, L"Tarvik")));

    // No printer to ask: "Custom Size" alone.
    const Papers alone = QueryPapers(Direct(nullptr, L"No Such Printer"));
    EXPECT_EQ(std::vector<DWORD>(6, 1), alone.results);
    EXPECT_EQ(std::vector<std::wstring>{L"Custom Size"}, alone.names);
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
            if (answer == DWORD(GDI_ERROR))
            {
                ++failures;
                EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
            }
            else
            {
                EXPECT_EQ(whole, answer);
            }
            EXPECT_EQ(0, watch.Alive());
        },
        testhost::HeapWatch::Forms::All);
    EXPECT_GT(failures, 0);
    EXPECT_GT(runs, failures);
}

} // namespace
