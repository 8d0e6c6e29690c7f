// The excluded-font text and the catalogue without a window, the font page on
// the real sheet, and the registry rule seen from probes named like the shell.
#include "DebugCapture.h"
#include "ImportPatch.h"
#include "PrinterTest.h"
#include "ReportLines.h"
#include "ProbeRun.h"
#include "SheetSession.h"

#include "pages/CDlgFontSetting.h"
#include "fonts/CFontManager.h"
#include "forms/CFormManager.h"
#include "fonts/ExcludedFontList.h"
#include "core/Globals.h"
#include "resource.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <type_traits>

namespace
{
using namespace testhost;
using Names = std::vector<std::wstring>;
constexpr size_t kField = std::extent_v<decltype(TARVIK_DEVMODE::szExcludeFonts)>;

TEST(ExcludedFontList, ReadWithinItsFieldAndWrittenAgain)
{
    const std::wstring n40(40, L'N'), a(1022, L'A'), b(1023, L'B'), c(2045, L'C');
    // The text and its field's capacity; what is written again: the names that
    // fit ";", each name and ";", and the NUL.
    const std::tuple<std::wstring, size_t, std::wstring> rows[] = {
        {L"", kField, L";"},
        {L";;;", kField, L";"},
        {L";A;;B;", kField, L";A;B;"},
        {L"A;B", kField, L";A;B;"},
        {L";" + n40 + L";", kField, L";" + n40 + L";"},                   // longer than any face name
        {L";AB;CDEF;GH", 6, L";AB;CD;"},                                  // no terminator within the field
        {L";" + a + L";" + a + L";", kField, L";" + a + L";" + a + L";"}, // 2047 units and the NUL
        {L";" + a + L";" + b + L";x;", 2 * kField, L";" + a + L";x;"},
        {L";" + c + L";", kField, L";" + c + L";"},
        {L";" + c + L"C;", kField, L";"},
    };
    for (const auto& [text, capacity, expected] : rows)
    {
        wchar_t out[kField];
        size_t used = BeginExcludedFonts(out), pos = 0, start = 0, length = 0;
        while (NextExcludedFont(text.c_str(), capacity, &pos, &start, &length))
            AppendExcludedFont(out, kField, &used, text.c_str() + start, length);
        EXPECT_EQ(expected, out) << text.size() << " units: " << testing::PrintToString(text.substr(0, 20));
        EXPECT_EQ(expected.size(), used);
    }
}

// GDI as a Japanese system or a printer's device context reports faces: a
// family once per character set, vertical "@" faces, device and raster
// fonts. The catalogue keeps device and TrueType families, each once; a
// second Init appends them again.
TEST(FontCatalogue, SkipsVerticalRasterAndRepeatedFaces)
{
    const auto script = +[](HDC, LPLOGFONTW, FONTENUMPROCW report, LPARAM context, DWORD) -> int {
        const std::pair<const wchar_t*, DWORD> reports[] = {
            {L"Arial", TRUETYPE_FONTTYPE},     {L"Arial", TRUETYPE_FONTTYPE}, {L"@MS Mincho", TRUETYPE_FONTTYPE},
            {L"MS Mincho", TRUETYPE_FONTTYPE}, {L"Courier", DEVICE_FONTTYPE}, {L"Fixedsys", RASTER_FONTTYPE},
            {L"@Courier", DEVICE_FONTTYPE},    {L"Arial", TRUETYPE_FONTTYPE}};
        for (const auto& [face, type] : reports)
        {
            LOGFONTW font = {};
            lstrcpyW(font.lfFaceName, face);
            const TEXTMETRICW metric = {};
            report(&font, &metric, type, context);
        }
        return 1;
    };
    HMODULE self = GetModuleHandleW(nullptr);
    void* gdi = PatchImport(self, "gdi32.dll", "EnumFontFamiliesExW", reinterpret_cast<void*>(script));
    ASSERT_NE(nullptr, gdi);
    CFontManager catalogue;
    const DWORD code = catalogue.Init() + catalogue.Init();
    PatchImport(self, "gdi32.dll", "EnumFontFamiliesExW", gdi);
    Names names;
    for (UINT i = 0; i < catalogue.GetFontCount(); ++i)
        names.emplace_back(catalogue.GetFontName(i));
    EXPECT_EQ(0u, code);
    // A family reported again after another one is a new run of reports.
    EXPECT_EQ((Names{L"Arial", L"MS Mincho", L"Courier", L"Arial", L"Arial", L"MS Mincho", L"Courier", L"Arial"}),
              names);
}

// The items of a font list, sorted as the tests compare them.
Names Sorted(HWND page, int list)
{
    Names items = Items(page, list);
    std::sort(items.begin(), items.end());
    return items;
}

// A user's Ctrl-clicks on the named items of a list, then on a button.
void Move(HWND page, int list, const Names& names, int button)
{
    for (const std::wstring& name : names)
        SendDlgItemMessageW(
            page, list, LB_SETSEL, TRUE,
            SendDlgItemMessageW(page, list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(name.c_str())));
    Click(page, button);
}

std::wstring StoredInRegistry()
{
    wchar_t data[2048] = L"";
    DWORD type = 0, bytes = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE, RRF_RT_ANY, &type, data,
                     &bytes) != ERROR_SUCCESS)
        return L"(none)";
    return type == REG_SZ && bytes == (wcslen(data) + 1) * sizeof(wchar_t) ? data : L"(not a whole REG_SZ)";
}

using FontPage = PrinterTest;

// Opens the sheet on a record with this mode, option and list, runs `user`
// on the font page and presses OK.
TARVIK_DEVMODE Edit(HANDLE printer, DWORD mode, DWORD option, const std::wstring& list,
                    const std::function<void(const Sheet&)>& user)
{
    TARVIK_DEVMODE in = DefaultRecord();
    in.dwFontMode = mode;
    in.dwFontOption = option;
    std::copy(list.begin(), list.begin() + std::min(list.size() + 1, std::size(in.szExcludeFonts)),
              in.szExcludeFonts); // a list of 2048 units or more keeps no terminator
    return RunSheet(printer, in, IDS_TITLE_FONT, user);
}

TEST_F(FontPage, ModesOptionsAndStoredList)
{
    // The record's mode, option and list; the radio button clicked (0: none),
    // the option picked (-1: none); the mode buttons ("X" checked) and option
    // shown before the click, then whether the lists, their buttons, the option
    // and its label are enabled; what OK stores.
    const std::tuple<DWORD, DWORD, const wchar_t*, int, int, std::string, DWORD, DWORD, const wchar_t*> rows[] = {
        {0, 0, L";Font A;;Font B;", 0, -1, "--X 1 ------", 3, 2, L";Font A;Font B;"},
        {7, 9, L"", 0, -1, "--X 1 ------", 3, 2, L";"},
        {1, 1, L";;", IDC_FONT_MODE_EXCLUDE, 2, "X-- 0 ++++++", 2, 3, L";"},
        {2, 3, L"Font B;Font A", IDC_FONT_MODE_ALL, 0, "-X- 2 ----++", 1, 1, L";Font A;Font B;"},
        {2, 2, L";Font A;", IDC_FONT_MODE_NONE, -1, "-X- 1 ------", 3, 2, L";Font A;"},
    };
    for (const auto& [mode, option, list, click, pick, shown, storedMode, storedOption, storedList] : rows)
    {
        SCOPED_TRACE(testing::Message() << mode << "/" << option << " then " << click << "/" << pick);
        std::string seen;
        const TARVIK_DEVMODE out = Edit(m_printer, mode, option, list, [&](const Sheet& s) {
            for (int radio : {IDC_FONT_MODE_ALL, IDC_FONT_MODE_EXCLUDE, IDC_FONT_MODE_NONE})
                seen += IsDlgButtonChecked(s.page, radio) ? 'X' : '-';
            seen += " " + std::to_string(SendDlgItemMessageW(s.page, IDC_FONT_OPTION, CB_GETCURSEL, 0, 0)) + " ";
            if (click)
                Click(s.page, click);
            if (pick >= 0)
                Pick(s.page, IDC_FONT_OPTION, pick);
            for (int id : {IDC_FONT_EXCLUDED, IDC_FONT_AVAILABLE, IDC_FONT_INCLUDE, IDC_FONT_EXCLUDE, IDC_FONT_OPTION,
                           IDC_FONT_OPTION_LABEL})
                seen += Enabled(s.page, id) ? '+' : '-';
        });
        EXPECT_EQ(shown, seen);
        EXPECT_EQ(storedMode, out.dwFontMode);
        EXPECT_EQ(storedOption, out.dwFontOption);
        EXPECT_STREQ(storedList, out.szExcludeFonts);
    }
}

// Every TrueType face is available once, an excluded one never, whatever the
// letter case the record gave it; three fonts move at once each way, one of
// them a name longer than any face name.
TEST_F(FontPage, MovesFontsBothWays)
{
    std::set<std::wstring> faces; // the screen's TrueType families
    HDC screen = GetDC(nullptr);
    const auto collect = [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM all) -> int {
        if (type == TRUETYPE_FONTTYPE && font->lfFaceName[0] != L'@')
            reinterpret_cast<std::set<std::wstring>*>(all)->insert(font->lfFaceName);
        return 1;
    };
    EnumFontFamiliesExW(screen, nullptr, collect, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(2u, faces.erase(L"Tahoma") + faces.erase(L"Liberation Sans")); // Wine's fonts in the prefix
    const std::wstring longName = L"A Font Name Longer Than Any Face Name GDI Gives";
    Names kept = {L"TAHOMA", L"liberation SANS"};
    const TARVIK_DEVMODE out =
        Edit(m_printer, 2, 2, L";liberation SANS;Zz Not Installed;" + longName + L";TAHOMA;", [&](const Sheet& s) {
            const Names available = Sorted(s.page, IDC_FONT_AVAILABLE);
            EXPECT_EQ(Names(faces.begin(), faces.end()), available);
            ASSERT_GE(available.size(), 3u);
            Move(s.page, IDC_FONT_AVAILABLE, {available.begin(), available.begin() + 3}, IDC_FONT_EXCLUDE);
            EXPECT_EQ(7u, Items(s.page, IDC_FONT_EXCLUDED).size());
            Move(s.page, IDC_FONT_EXCLUDED, {longName, L"Zz Not Installed", available[0]}, IDC_FONT_INCLUDE);
            kept.insert(kept.end(), available.begin() + 1, available.begin() + 3);
            std::sort(kept.begin(), kept.end());
            EXPECT_EQ(kept, Sorted(s.page, IDC_FONT_EXCLUDED));
        });
    ASSERT_EQ(4u, kept.size());
    std::wstring stored = out.szExcludeFonts;
    for (const std::wstring& name : kept)
        stored.replace(stored.find(L";" + name + L";"), name.size() + 1, L"");
    EXPECT_EQ(L";", stored); // each kept name once between ";", nothing else
}

// A list that does not fit the record keeps the user on the page with a
// message; once it fits, OK stores it. The record's text fills its field
// with no terminator: its last name ends at the field's end.
TEST_F(FontPage, ListThatDoesNotFitKeepsThePage)
{
    const std::wstring longest(2040, L'Q');
    const TARVIK_DEVMODE out = Edit(m_printer, 2, 2, L";" + longest + L";RRRRRR;SS", [&](const Sheet& s) {
        EXPECT_EQ((Names{longest, L"RRRRRR"}), Sorted(s.page, IDC_FONT_EXCLUDED));
        PropSheet_PressButton(s.window, PSBTN_OK);
        EXPECT_EQ(MessageOf(IDS_CAPTION_ERROR, IDS_EXCLUDED_FONTS_TOO_LONG), AnswerMessageBox(IDOK));
        // Answered on the sheet's thread once the refused OK has finished.
        EXPECT_EQ(s.page, PropSheet_GetCurrentPageHwnd(s.window));
        Move(s.page, IDC_FONT_EXCLUDED, {L"RRRRRR"}, IDC_FONT_INCLUDE);
    });
    EXPECT_EQ(L";" + longest + L";", std::wstring(out.szExcludeFonts));
}

// Only in the shell or the spooler, known by the exact names of their
// executables, does OK keep the list in the registry (this process: the last row).
TEST_F(FontPage, RegistryWrittenOnlyFromTheShellAndTheSpooler)
{
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {{L"explorer.exe", L";Gate Probe Font;"},
                                                              {L"spoolsv.exe", L";Gate Probe Font;"},
                                                              {L"Explorer.exe", L"(none)"},
                                                              {L"SPOOLSV.EXE", L"(none)"},
                                                              {L"explorer2.exe", L"(none)"},
                                                              {L"probe_program.exe", L"(none)"}};
    for (const auto& [name, stored] : rows)
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE);
        std::string output;
        EXPECT_EQ(0u, RunProbeAs(name, L"fonts", &output)) << output;
        EXPECT_EQ(stored, StoredInRegistry()) << Utf8(name);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, TARVIK_CONFIG_KEY, TARVIK_EXCLUDE_FONTS_VALUE);
}

// In the shell, a registry that refuses the list leaves the record's copy
// and one failure report naming the fixed location support looks for.
TEST(FontPageInShell, ARefusedRegistryWriteIsReported)
{
    const auto refuse = +[](HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) -> LONG { return ERROR_ACCESS_DENIED; };
    HMODULE self = GetModuleHandleW(nullptr);
    void* registry = PatchImport(self, "advapi32.dll", "RegSetValueExW", reinterpret_cast<void*>(refuse));
    ASSERT_NE(nullptr, registry);
    g_bSpoolerOrShell = TRUE;
    TARVIK_DEVMODE record = DefaultRecord();
    record.dwFontMode = 2;
    lstrcpyW(record.szExcludeFonts, L";Refused Font;");
    CDlgFontSetting page;
    page.AttachRecord(nullptr, &record);
    DebugCapture capture;
    RunPageSheet({&page}, IDD_FONT_PAGE, IDS_TITLE_FONT, [](HWND sheet) { PropSheet_PressButton(sheet, PSBTN_OK); });
    const std::vector<std::wstring> lines = capture.Lines();
    g_bSpoolerOrShell = FALSE;
    PatchImport(self, "advapi32.dll", "RegSetValueExW", registry);
    EXPECT_STREQ(L";Refused Font;", record.szExcludeFonts);
    EXPECT_EQ("", ReportMismatch(lines, ERROR_ACCESS_DENIED, nullptr, {L"CDlgFontSetting(356) : error = 5"}));
}
} // namespace
