// Hostile settings records, each ending at a no-access page, against the
// built tarvikui.dll (docs/reliability.md); the output is compared with the
// record rules. Usage: record_fuzz [inputs [seed [first]]]; "record_fuzz 1
// <seed> <k>" replays input k of a seed.
#include "DebugCapture.h"
#include "FencedBuffer.h"
#include "PrinterInstaller.h"
#include "ProcessUsage.h"
#include "RecordFields.h"
#include "WindowDriver.h"

#include "entry/DriverInterface.h"
#include "record/SettingsRecord.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace
{
using Bytes = std::vector<BYTE>;
using testhost::FencedBuffer;

constexpr int kNoUi = 0, kDocumentProperties = 1, kSheet = 2, kConvert = 3, kTargetCount = 4;
const char* const kTargetNames[kTargetCount] = {"no-UI size and merge", "DocumentPropertiesW", "sheet INIT/DESTROY",
                                                "DrvConvertDevMode"};
const char* const kKindNames[] = {"random", "short", "foreign", "truncated", "mutated", "hostile values"};
constexpr size_t kKindCount = std::size(kKindNames);
constexpr BYTE kUntouched = 0xCC;
constexpr size_t kHeaderBytes = 72; // a record is at least what holds dmSize and dmDriverExtra
constexpr size_t kLargestRecord = 0xFFFF * 2;

decltype(&DrvDocumentPropertySheets) g_sheets;
decltype(&DrvConvertDevMode) g_convert;
HANDLE g_printer;
Bytes g_printerDefault; // the printer's stored record, as the spooler gives it
Bytes g_builtInDefault; // what a merge without printer yields

FencedBuffer g_in(kLargestRecord), g_out(kRecordSize + 256), g_name(256), g_size(sizeof(LONG));
FencedBuffer* const g_buffers[] = {&g_in, &g_out, &g_name, &g_size};

// The input under way and what went wrong so far.
unsigned long long g_seed = 1;
unsigned long g_index = 0;
const char* g_what = "";
unsigned long g_fenceFaults = 0, g_guardFaults = 0, g_mismatches = 0;

void Report(const char* what)
{
    std::printf("FAIL input %lu of seed %llu (%s): %s\n", g_index, g_seed, g_what, what);
}

void Expect(bool held, const char* what, unsigned long& faults = g_mismatches)
{
    if (!held)
    {
        ++faults;
        Report(what);
    }
}

// Seen first: the platform's text functions swallow page faults.
LONG CALLBACK WatchFences(EXCEPTION_POINTERS* e)
{
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    const bool violation = r->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && r->NumberParameters >= 2;
    for (const FencedBuffer* buffer : g_buffers)
        Expect(!violation || !buffer->InFence(reinterpret_cast<const void*>(r->ExceptionInformation[1])),
               r->ExceptionInformation[0] ? "wrote past a buffer" : "read past a buffer", g_fenceFaults);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e)
{
    char what[96];
    std::snprintf(what, sizeof(what), "crashed with exception 0x%08lX at %p", e->ExceptionRecord->ExceptionCode,
                  e->ExceptionRecord->ExceptionAddress);
    Report(what);
    ExitProcess(3);
}

Bytes BytesOf(const void* p, size_t n)
{
    return Bytes(static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
}

TARVIK_DEVMODE& AsRecord(Bytes& bytes)
{
    return *reinterpret_cast<TARVIK_DEVMODE*>(bytes.data());
}

bool IsWhole(const Bytes& bytes)
{
    const auto* dm = reinterpret_cast<const DEVMODEW*>(bytes.data());
    return bytes.size() >= kHeaderBytes && dm->dmSize == kPublicSize && dm->dmDriverExtra == kPrivateSize;
}

// A record of one of the kinds a careless or hostile caller hands over, in a
// buffer exactly as long as its own header says (never below the header).
Bytes MakeRecord(std::mt19937_64& rng, size_t kind)
{
    Bytes bytes = (rng() % 2) ? g_printerDefault : g_builtInDefault;
    const auto some = [&](unsigned bound) { return static_cast<unsigned>(rng() % bound); };
    TARVIK_DEVMODE& r = AsRecord(bytes);
    switch (kind)
    {
    case 0: // random throughout, sizes mostly small
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(rng());
        r.dmSize = static_cast<WORD>(some(2) ? some(512) : rng());
        r.dmDriverExtra = static_cast<WORD>(some(2) ? some(8192) : rng());
        break;
    case 1: // an older or smaller public part
        r.dmSize = static_cast<WORD>(some(kPublicSize));
        r.dmDriverExtra = static_cast<WORD>(some(2) ? kPrivateSize : some(kPrivateSize));
        break;
    case 2: // another driver's private block
        r.dmDriverExtra = static_cast<WORD>(some(8192));
        if (r.dmDriverExtra == kPrivateSize)
            ++r.dmDriverExtra;
        for (size_t i = kPublicSize; i < bytes.size(); ++i)
            bytes[i] = static_cast<BYTE>(rng());
        break;
    case 3: // ours, cut short, the header telling the cut length
        r.dmDriverExtra = static_cast<WORD>(some(kPrivateSize));
        break;
    case 4: // ours with bytes changed anywhere, the sizes too
        for (unsigned n = 1 + some(16); n > 0; --n)
            bytes[some(kRecordSize)] = static_cast<BYTE>(rng());
        break;
    default: // whole, with texts that never end and the merged fields at their edges
        for (const testhost::RecordField& field : testhost::RecordFields())
            for (unsigned i = 0; recordfields::IsText(field) && i < field.size; ++i)
                bytes[field.offset + i] = static_cast<BYTE>(0x41 + some(26));
        r.dmPrintQuality = static_cast<short>(some(2) ? static_cast<int>(rng()) : some(3) - 1);
        r.dmScale = static_cast<short>(some(2) ? 0 : rng());
        r.bFixedPaperSize = some(3) == 0 ? static_cast<BOOL>(rng()) : static_cast<BOOL>(some(2));
        r.dwFixedPaperWidth = static_cast<LONG>(rng());
        r.dwFixedPaperLength = static_cast<LONG>(rng());
        break;
    }
    const size_t declared = std::max<size_t>(kHeaderBytes, size_t(r.dmSize) + r.dmDriverExtra);
    bytes.resize(std::min(bytes.size(), declared));
    while (bytes.size() < declared)
        bytes.push_back(static_cast<BYTE>(rng()));
    return bytes;
}

// Places the input and an untouched output; gives what the caller passes.
std::pair<DEVMODEW*, DEVMODEW*> PlaceRecords(const Bytes& record, bool withIn, bool withOut)
{
    BYTE* in = g_in.Place(record.size(), record.data());
    BYTE* out = g_out.Place(kRecordSize, nullptr, kUntouched);
    return {reinterpret_cast<DEVMODEW*>(withIn ? in : nullptr), reinterpret_cast<DEVMODEW*>(withOut ? out : nullptr)};
}

// A size query or merge, directly or through the spooler. The caller's
// buffers are placed whether or not they are passed: one not passed must
// stay as it was.
void RunNoUi(std::mt19937_64& rng, const Bytes& record, bool spooler)
{
    const bool withIn = rng() % 8 != 0, withOut = rng() % 8 != 0;
    const bool withPrinter = spooler || rng() % 4 != 0;
    const auto [in, out] = PlaceRecords(record, withIn, withOut);
    const DWORD io = DM_IN_BUFFER | DM_OUT_BUFFER;
    static const DWORD kModes[] = {0, DM_OUT_BUFFER, DM_IN_BUFFER, io, DM_OUT_DEFAULT, io | DM_OUT_DEFAULT};
    // The spooler opens the sheet for any bit beyond these three.
    const DWORD mode = rng() % 4 == 0 ? static_cast<DWORD>(rng()) & (spooler ? io | DM_OUT_DEFAULT : ~0u)
                                      : kModes[rng() % std::size(kModes)];
    wchar_t name[] = L"Tarvik";
    HANDLE printer = withPrinter ? g_printer : nullptr;
    DOCUMENTPROPERTYHEADER header = {sizeof(header), 0, printer, nullptr, in, out, spooler ? 0 : DWORD(rng()), mode};
    const LONG result = spooler ? DocumentPropertiesW(nullptr, g_printer, name, out, in, mode)
                                : g_sheets(nullptr, reinterpret_cast<LPARAM>(&header));
    Expect(spooler || mode != 0 || header.cbOut == kRecordSize, "a size query did not set cbOut");
    Expect(result == (mode == 0 ? LONG(kRecordSize) : 1), "unexpected answer");
    // The merge: the caller's print quality travels into its resolution
    // field, a whole input is copied with a zero scale made 100 and a fixed
    // paper size put into the public fields, anything else gives the
    // printer's default. A size query writes nothing.
    Bytes expectIn = record, expectOut(kRecordSize, kUntouched);
    const bool whole = withIn && mode != 0 && IsWhole(record);
    if ((mode & DM_IN_BUFFER) && whole && AsRecord(expectIn).dmPrintQuality > 0)
        AsRecord(expectIn).dwResolution = static_cast<DWORD>(AsRecord(expectIn).dmPrintQuality);
    if ((mode & DM_OUT_BUFFER) && withOut)
    {
        expectOut = whole ? expectIn : withPrinter ? g_printerDefault : g_builtInDefault;
        TARVIK_DEVMODE& r = AsRecord(expectOut);
        if (whole && r.dmScale == 0)
            r.dmScale = 100;
        if (whole && r.bFixedPaperSize == 1)
        {
            r.dmPaperWidth = static_cast<short>(r.dwFixedPaperWidth & 0xFFFF);
            r.dmPaperLength = static_cast<short>(r.dwFixedPaperLength & 0xFFFF);
        }
    }
    Expect(BytesOf(g_in.Data(), g_in.Size()) == expectIn, "the input record is not as the merge leaves it");
    Expect(BytesOf(g_out.Data(), kRecordSize) == expectOut, "the output record is not the merge of the input");
}

// The recording host keeps the pages the sheet adds, as the real host does.
std::vector<HPROPSHEETPAGE> g_hostPages;

LONG_PTR CALLBACK RecordingHost(HANDLE, UINT function, LPARAM lParam1, LPARAM)
{
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW)
        return 0;
    g_hostPages.push_back(CreatePropertySheetPageW(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1)));
    return reinterpret_cast<LONG_PTR>(g_hostPages.back());
}

// INIT fills the caller's output with the working record: the input when it
// is whole, else the printer's default.
void RunSheet(std::mt19937_64& rng, const Bytes& record)
{
    const bool withIn = rng() % 8 != 0, withOut = rng() % 4 != 0;
    const auto [in, out] = PlaceRecords(record, withIn, withOut);
    const DWORD mode = DM_IN_PROMPT | (in ? DM_IN_BUFFER : 0) | (out ? DM_OUT_BUFFER : 0);
    DOCUMENTPROPERTYHEADER header = {sizeof(header), 0, g_printer, nullptr, in, out, 0, mode};
    PROPSHEETUI_INFO info = {
        sizeof(info), 0, 0, PROPSHEETUI_REASON_INIT, reinterpret_cast<HANDLE>(&g_hostPages), RecordingHost, 0, 0, 0};
    Expect(g_sheets(&info, reinterpret_cast<LPARAM>(&header)) == 1 && info.UserData != 0, "INIT failed");
    const Bytes working = withIn && IsWhole(record) ? record : g_printerDefault;
    Expect(BytesOf(g_out.Data(), kRecordSize) == (withOut ? working : Bytes(kRecordSize, kUntouched)),
           "the working record is not what INIT must fill in");
    Expect(BytesOf(g_in.Data(), record.size()) == record, "INIT changed the input");
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    Expect(g_sheets(&info, 0) == 1 && info.UserData == 0, "DESTROY failed");
    for (HPROPSHEETPAGE page : g_hostPages)
        DestroyPropertySheetPage(page);
    g_hostPages.clear();
}

// One DrvConvertDevMode call, the output of `size` bytes ending at its fence
// and the size variable at its own.
void Convert(DWORD mode, size_t size, const wchar_t* name, bool withOut, bool withSize, LONG claimed)
{
    BYTE* out = g_out.Place(size, nullptr, kUntouched);
    auto* needed = reinterpret_cast<LONG*>(g_size.Place(sizeof(LONG), &claimed));
    SetLastError(0xDEADBEEF);
    const BOOL result =
        g_convert(const_cast<LPWSTR>(name), reinterpret_cast<DEVMODEW*>(g_in.Data()),
                  reinterpret_cast<DEVMODEW*>(withOut ? out : nullptr), withSize ? needed : nullptr, mode);
    const DWORD error = GetLastError();
    Bytes written(g_out.Size(), kUntouched);
    const bool small = withSize && claimed < LONG(kRecordSize);
    const BOOL answer = mode != CDM_DRIVER_DEFAULT || (withSize && !small && withOut);
    if (mode == CDM_DRIVER_DEFAULT && answer)
    {
        const TARVIK_DEVMODE made = testhost::DefaultRecord(name && name[0] ? name : TARVIK_PRODUCT_NAME);
        std::memcpy(written.data(), &made, kRecordSize);
    }
    else if (mode == CDM_DRIVER_DEFAULT)
        Expect(error == (small ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER),
               "a refused default gave another last error");
    Expect(result == answer, "unexpected answer");
    Expect(*needed == (mode == CDM_DRIVER_DEFAULT && small ? LONG(kRecordSize) : claimed),
           "the size variable is not as the rules leave it");
    Expect(BytesOf(g_out.Data(), g_out.Size()) == written, "the output is not the default record or untouched");
}

void RunConvert(std::mt19937_64& rng, const Bytes& record)
{
    g_in.Place(record.size(), record.data());
    static const DWORD kModes[] = {CDM_CONVERT, CDM_CONVERT351, CDM_DRIVER_DEFAULT, CDM_DRIVER_DEFAULT};
    const DWORD mode = rng() % 5 ? kModes[rng() % std::size(kModes)] : static_cast<DWORD>(rng());
    const size_t size = rng() % 2 ? kRecordSize + rng() % 256 : rng() % (kRecordSize + 256);
    std::wstring name(rng() % 80, L'\0');
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(0x20 + rng() % 0xFFD0);
    const wchar_t* placed = rng() % 8 ? g_name.PlaceText(name.c_str(), name.size()) : nullptr;
    const LONG claimed = rng() % 4 ? static_cast<LONG>(size) : static_cast<LONG>(rng() % (size + 1)) - 8;
    Convert(mode, size, placed, rng() % 16 != 0, rng() % 16 != 0, claimed);
}

// The real sheet through the spooler, once, every text field filled to its
// end without a terminator, each with a character of its own (UTF-16 fields
// U+4E00 onwards, the 8-bit passwords 0xC0 onwards). Each tab is shown,
// every control's text read, and OK pressed (Cancel if a page refuses to be
// left). No control shows more than its field, each text comes back as it
// was or ended within its field, no password reaches the debugger output.
void RunSheetWithEndlessTexts()
{
    Bytes record = g_printerDefault;
    std::vector<std::pair<const testhost::RecordField*, wchar_t>> marked; // each text field and its marker
    for (const testhost::RecordField& field : testhost::RecordFields())
    {
        const bool wide = field.kind == testhost::FieldKind::Text16;
        const auto marker = static_cast<wchar_t>((wide ? 0x4E00 : 0xC0) + marked.size());
        for (unsigned i = 0; recordfields::IsText(field) && i < field.size; ++i)
            record[field.offset + i] = wide ? static_cast<BYTE>(i % 2 ? marker >> 8 : marker) : BYTE(marker);
        if (recordfields::IsText(field))
            marked.emplace_back(&field, marker);
    }
    const auto [in, out] = PlaceRecords(record, true, true);
    std::vector<std::wstring> texts;
    size_t tabs = 0;
    testhost::DebugCapture debug;
    {
        testhost::UserThread user([&] {
            HWND sheet = testhost::WaitForSheet();
            tabs = sheet ? testhost::TabTitles(sheet).size() : 0;
            for (size_t tab = 0; tab < tabs; ++tab)
            {
                // Posted: a page that complains answers in a message box.
                PostMessageW(sheet, PSM_SETCURSEL, tab, 0);
                testhost::WaitFor([&] {
                    return !testhost::AnswerMessageBox(IDOK, 50).empty() ||
                           PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)) == int(tab);
                });
                EnumChildWindows(
                    PropSheet_GetCurrentPageHwnd(sheet),
                    [](HWND control, LPARAM all) {
                        reinterpret_cast<std::vector<std::wstring>*>(all)->push_back(testhost::WindowText(control));
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(&texts));
            }
            PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            testhost::WaitFor([&] {
                testhost::AnswerMessageBox(IDOK, 100);
                PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                return !IsWindow(sheet);
            });
        });
        wchar_t name[] = L"Tarvik";
        DocumentPropertiesW(nullptr, g_printer, name, out, in, DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    Expect(tabs > 0 && !texts.empty(), "the sheet did not show its pages");
    for (const auto& [field, marker] : marked)
    {
        // A reader that ran on shows the next field's marker too. A page may
        // store another text (the paper page stores its form), ended in its field.
        const size_t unit = field->kind == testhost::FieldKind::Text16 ? 2 : 1, characters = field->size / unit;
        for (const std::wstring& text : texts)
            Expect(text.find(marker) == std::wstring::npos ||
                       (text.size() <= characters && text.find_first_not_of(marker) == std::wstring::npos),
                   "a control shows more than its field");
        const BYTE* stored = g_out.Data() + field->offset;
        bool ended = false;
        for (size_t n = 0; n < characters && !ended; ++n)
            ended = (unit == 2 ? stored[2 * n] | stored[2 * n + 1] : stored[n]) == 0;
        Expect(std::equal(stored, stored + field->size, record.data() + field->offset) || ended, field->name);
    }
    for (const std::wstring& line : debug.Lines())
        Expect(line.find(marked.back().second) == std::wstring::npos &&
                   line.find(static_cast<wchar_t>(marked.back().second - 1)) == std::wstring::npos,
               "a password reached the debugger output");
    std::printf("  sheet with endless texts: %zu tabs, %zu control texts read, %zu debug lines\n", tabs, texts.size(),
                debug.Lines().size());
}

bool Prepare()
{
    std::wstring step;
    if (const DWORD failed = testhost::InstallTarvikPrinter(&step))
    {
        std::printf("installing the printer failed at %s: %lu\n", testhost::Utf8(step).c_str(), failed);
        return false;
    }
    g_printer = testhost::OpenTarvikPrinter();
    HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    if (!g_printer || !module)
        return false;
    g_sheets = reinterpret_cast<decltype(g_sheets)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvDocumentPropertySheets")));
    g_convert =
        reinterpret_cast<decltype(g_convert)>(reinterpret_cast<void*>(GetProcAddress(module, "DrvConvertDevMode")));
    DWORD needed = 0;
    GetPrinterW(g_printer, 2, nullptr, 0, &needed);
    Bytes info(needed);
    const DEVMODEW* stored = needed && GetPrinterW(g_printer, 2, info.data(), needed, &needed)
                                 ? reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode
                                 : nullptr;
    if (stored)
        g_printerDefault = BytesOf(stored, size_t(stored->dmSize) + stored->dmDriverExtra);
    const TARVIK_DEVMODE builtIn = testhost::DefaultRecord();
    g_builtInDefault = BytesOf(&builtIn, kRecordSize);
    return g_sheets && g_convert && IsWhole(g_printerDefault);
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

int main(int argc, char** argv)
{
    const unsigned long inputs = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 3000;
    g_seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const unsigned long first = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!Prepare())
    {
        std::printf("the printer \"Tarvik\" or the built module is not usable\n");
        return 2;
    }
    AddVectoredExceptionHandler(1, WatchFences);
    SetUnhandledExceptionFilter(ReportCrash);
    g_what = "the sheet with endless texts";
    RunSheetWithEndlessTexts();
    g_what = "DrvConvertDevMode sweep";
    const testhost::ProcessUsage before = testhost::CurrentProcessUsage();
    const auto start = std::chrono::steady_clock::now();

    // Every output size from 0 up, in every mode, the name ending at its fence.
    unsigned long sweep = 0;
    for (DWORD mode : {0u, 1u, 2u, 3u, 4u, 5u, 0xFFFFFFFFu})
        for (size_t size = 0; size <= kRecordSize + 64; ++size, ++sweep)
            Convert(mode, size, g_name.PlaceText(L"Tarvik", 6), true, true, static_cast<LONG>(size));
    const double sweepSeconds = SecondsSince(start);

    unsigned long perTarget[kTargetCount] = {}, perKind[kKindCount] = {};
    double seconds[kTargetCount] = {};
    for (g_index = first; g_index < first + inputs; ++g_index)
    {
        std::mt19937_64 rng(g_seed * 0x9E3779B97F4A7C15ull + g_index);
        const size_t kind = rng() % kKindCount;
        const Bytes record = MakeRecord(rng, kind);
        // The sheet costs a GDI+ start and the pages: one input in eight.
        const unsigned pick = static_cast<unsigned>(rng() % 8);
        const int target = pick < 3 ? kNoUi : pick < 5 ? kDocumentProperties : pick < 6 ? kSheet : kConvert;
        g_what = kTargetNames[target];
        const auto began = std::chrono::steady_clock::now();
        if (target == kNoUi || target == kDocumentProperties)
            RunNoUi(rng, record, target == kDocumentProperties);
        else if (target == kSheet)
            RunSheet(rng, record);
        else
            RunConvert(rng, record);
        for (const FencedBuffer* buffer : g_buffers)
            Expect(buffer->GuardIntact(), "wrote before a buffer", g_guardFaults);
        seconds[target] += SecondsSince(began);
        ++perTarget[target];
        ++perKind[kind];
    }

    const testhost::ProcessUsage after = testhost::CurrentProcessUsage();
    std::printf("record fuzz: seed %llu, inputs %lu to %lu, %.1f s\n", g_seed, first, first + inputs - 1,
                SecondsSince(start));
    std::printf("  %-22s %8lu calls %8.2f s (every size 0 to %lu, 7 modes)\n", "DrvConvertDevMode sweep", sweep,
                sweepSeconds, static_cast<unsigned long>(kRecordSize + 64));
    for (int t = 0; t < kTargetCount; ++t)
        std::printf("  %-22s %8lu inputs %7.2f s\n", kTargetNames[t], perTarget[t], seconds[t]);
    std::printf("  records:");
    for (size_t kind = 0; kind < kKindCount; ++kind)
        std::printf(" %s %lu%s", kKindNames[kind], perKind[kind], kind + 1 < kKindCount ? "," : "\n");
    std::printf("  reads or writes past a buffer %lu, writes before a buffer %lu, results not as the rules say %lu\n",
                g_fenceFaults, g_guardFaults, g_mismatches);
    std::printf("  handles %lu -> %lu, private bytes %.1f -> %.1f MiB\n", before.handles, after.handles,
                before.privateBytes / 1048576.0, after.privateBytes / 1048576.0);
    return g_fenceFaults + g_guardFaults + g_mismatches == 0 ? 0 : 1;
}
