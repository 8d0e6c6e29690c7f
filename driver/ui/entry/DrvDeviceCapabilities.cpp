// What the virtual printer can do, as the spooler and applications ask it.
// Paper answers come from a fresh form catalogue on every call, followed by
// one "Custom Size" entry; the three paper indexes list the same papers in
// the same order, so entry k of names, numbers and sizes belong together.
#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"

#include "forms/CFormManager.h"
#include "record/SettingsRecord.h"

#include <libmerrow/scoped.h>

#include <winspool.h>

#include <cstring>
#include <iterator>
#include <vector>

namespace
{
constexpr wchar_t kCustomSizeName[] = L"Custom Size";
constexpr WORD kCustomSizePaper = DMPAPER_USER;

// Slot widths, in characters, of the text answers.
constexpr size_t kPaperNameSlot = 64;
constexpr size_t kBinNameSlot = 24;
constexpr size_t kPersonalitySlot = 32;
constexpr size_t kMediaReadySlot = 64;

constexpr DWORD kResolutionCount = static_cast<DWORD>(std::size(kResolutions));

// The answers that are a number alone, with nothing written.
struct FixedAnswer
{
    WORD index;
    DWORD result;
};
constexpr FixedAnswer kFixedAnswers[] = {
    {DC_FIELDS, kDefaultFields},
    {DC_MINEXTENT, 0x00FE00FE}, // 254 x 254 tenths of a millimetre
    {DC_MAXEXTENT, 0x7FFF7FFF}, // 32767 x 32767
    {DC_DUPLEX, 0},
    {DC_EXTRA, kPrivateSize},
    {DC_VERSION, kSpecVersion},
    {DC_DRIVER, kDriverVersion},
    {DC_TRUETYPE, DCTT_BITMAP},
    {DC_ORIENTATION, 90},
    {DC_COPIES, 1},
    {DC_COLLATE, 0},
    {DC_PRINTRATE, 1},
    {DC_PRINTRATEUNIT, 1},
    {DC_PRINTERMEM, 0x40000000},
    {DC_STAPLE, 0},
    {DC_PRINTRATEPPM, 128},
    {DC_COLORDEVICE, 1},
    {DC_NUP, 0},
};

// Writes `text` into the first `slot` characters of `output`: as much as
// fits with a terminator, the rest of the slot cleared.
void WriteSlot(wchar_t* output, size_t slot, const wchar_t* text)
{
    size_t length = wcslen(text);
    if (length > slot - 1)
        length = slot - 1;
    std::memcpy(output, text, length * sizeof(wchar_t));
    std::memset(output + length, 0, (slot - length) * sizeof(wchar_t));
}

// A one-entry text answer ("Tarvik Tray" and its kind).
DWORD WriteOneText(void* output, size_t slot, const wchar_t* text)
{
    if (output)
        WriteSlot(static_cast<wchar_t*>(output), slot, text);
    return 1;
}

void WritePaperNames(wchar_t* output, FORM_ITEM* const* forms, DWORD count)
{
    for (DWORD i = 0; i < count; ++i)
        WriteSlot(output + i * kPaperNameSlot, kPaperNameSlot, forms[i]->szName);
    WriteSlot(output + count * kPaperNameSlot, kPaperNameSlot, kCustomSizeName);
}

void WritePaperNumbers(WORD* output, FORM_ITEM* const* forms, DWORD count)
{
    for (DWORD i = 0; i < count; ++i)
        output[i] = forms[i]->wPaperNumber;
    output[count] = kCustomSizePaper;
}

// Each paper reports the size of the first form of its name, as a lookup
// by name would find it. One pass with a hash of the names keeps this at the
// catalogue's size times a name's length: a search per form would grow with
// the square of the catalogue.
DWORD HashName(const wchar_t* name)
{
    DWORD hash = 2166136261u; // FNV-1a
    for (; *name; ++name)
        hash = (hash ^ static_cast<DWORD>(*name)) * 16777619u;
    return hash;
}

void WritePaperSizes(POINT* output, FORM_ITEM* const* forms, DWORD count)
{
    // Open addressing over a table at most half full; a slot holds the
    // index of the first form of a name plus one, 0 when empty.
    DWORD slots = 16;
    while (slots < count * 2)
        slots *= 2;
    std::vector<DWORD> table(slots, 0);
    for (DWORD i = 0; i < count; ++i)
    {
        const FORM_ITEM* first = forms[i];
        for (DWORD slot = HashName(forms[i]->szName) & (slots - 1);; slot = (slot + 1) & (slots - 1))
        {
            if (table[slot] == 0)
            {
                table[slot] = i + 1;
                break;
            }
            if (wcscmp(forms[table[slot] - 1]->szName, forms[i]->szName) == 0)
            {
                first = forms[table[slot] - 1];
                break;
            }
        }
        output[i].x = FormSizeToTenths(first->size.cx);
        output[i].y = FormSizeToTenths(first->size.cy);
    }
    output[count].x = 0;
    output[count].y = 0;
}

DWORD AnswerPaperQuery(HANDLE hPrinter, WORD iDevCap, void* pvOutput)
{
    CFormManager catalogue;
    catalogue.SetPrinter(hPrinter);
    // A catalogue that could not be loaded whole still answers with what it
    // has; the failure is already in the debug output.
    catalogue.LoadAvailableForm();
    const DWORD count = catalogue.GetFormCount();
    if (pvOutput)
    {
        FORM_ITEM* const* forms = catalogue.GetForms();
        if (iDevCap == DC_PAPERNAMES)
            WritePaperNames(static_cast<wchar_t*>(pvOutput), forms, count);
        else if (iDevCap == DC_PAPERS)
            WritePaperNumbers(static_cast<WORD*>(pvOutput), forms, count);
        else
            WritePaperSizes(static_cast<POINT*>(pvOutput), forms, count);
    }
    return count + 1;
}

// Some hosts (Wine's DeviceCapabilitiesW among them) pass the printer's name
// but no handle. The spooler lists forms only for an open printer, so such a
// call opens the printer by name for its own duration.
DWORD AnswerPaperQueryFor(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, void* pvOutput)
{
    ScopedPrinter opened;
    if (!hPrinter && pDeviceName && pDeviceName[0] && OpenPrinterW(pDeviceName, opened.Out(), nullptr))
        hPrinter = opened.Get();
    return AnswerPaperQuery(hPrinter, iDevCap, pvOutput);
}

DWORD WriteResolutions(void* output)
{
    if (output)
    {
        LONG* pairs = static_cast<LONG*>(output);
        for (DWORD i = 0; i < kResolutionCount; ++i)
        {
            pairs[2 * i] = kResolutions[i];
            pairs[2 * i + 1] = kResolutions[i];
        }
    }
    return kResolutionCount;
}
} // namespace

// The settings record is not read: every answer is the same for any record.
extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, VOID* pvOutput,
                                              PDEVMODEW /*pDevMode*/)
{
    switch (iDevCap)
    {
    case DC_PAPERS:
    case DC_PAPERSIZE:
    case DC_PAPERNAMES:
        // The catalogue is read from the spooler and the registry into the
        // heap: the one answer that can fail for want of memory.
        return ExceptionBarrier(L"DrvDeviceCapabilities()", DWORD(GDI_ERROR),
                                [&] { return AnswerPaperQueryFor(hPrinter, pDeviceName, iDevCap, pvOutput); });
    case DC_BINS:
        if (pvOutput)
            *static_cast<WORD*>(pvOutput) = DMBIN_ONLYONE;
        return 1;
    case DC_BINNAMES:
        return WriteOneText(pvOutput, kBinNameSlot, L"Tarvik Tray");
    case DC_ENUMRESOLUTIONS:
        return WriteResolutions(pvOutput);
    case DC_PERSONALITY:
        return WriteOneText(pvOutput, kPersonalitySlot, L"Tarvik");
    case DC_MEDIAREADY:
        return WriteOneText(pvOutput, kMediaReadySlot, L"Tarvik Paper");
    default:
        for (const FixedAnswer& answer : kFixedAnswers)
        {
            if (answer.index == iDevCap)
                return answer.result;
        }
        return GDI_ERROR;
    }
}
