// The settings row of the paper page on the real sheet: what each built-in
// preset leaves in the record, the pages that follow a choice, the list that
// follows the pages, the encryption question and the user's own presets
// across sheets. The preset model itself: tests/presets.
#include "DocumentedPresets.h"
#include "PrinterTest.h"
#include "SheetSession.h"

#include "presets/CPresetCatalogue.h"
#include "resource.h"

#include <cstring>

namespace
{
using namespace testhost;
using PresetSheet = PrinterTest;

const UINT kNames[] = {IDS_PRESET_STANDARD, IDS_PRESET_HIGH_QUALITY_PRINT, IDS_PRESET_SMALLEST_FILE,
                       IDS_PRESET_PDFA_ARCHIVE};

// `in` with preset `p` written over it as docs/presets.md gives it;
// `shownGraphics`: the graphics page had a window, which stores a class that
// is not downsampled with no method.
TARVIK_DEVMODE WithPreset(TARVIK_DEVMODE r, const PRESET_FIELDS& p, bool shownGraphics)
{
    r.dwPdfStandard = p.dwPdfStandard, r.dwResolution = p.dwResolution;
    r.dmPrintQuality = r.dmYResolution = static_cast<short>(p.dwResolution);
    r.dwFontMode = p.dwFontMode, r.dwFontOption = p.dwFontOption;
    const PRESET_IMAGE_CLASS* c = p.image;
    const auto method = [&](int k) { return shownGraphics && !c[k].bDownsample ? ~0u : c[k].dwDownsampleMethod; };
    r.dwCompression1 = c[0].dwCompression, r.dwQuality1 = c[0].dwQuality, r.bDownsample1 = c[0].bDownsample;
    r.dwCompression2 = c[1].dwCompression, r.dwQuality2 = c[1].dwQuality, r.bDownsample2 = c[1].bDownsample;
    r.dwCompression3 = c[2].dwCompression, r.dwQuality3 = c[2].dwQuality, r.bDownsample3 = c[2].bDownsample;
    r.nResolution1 = c[0].nResolution, r.nResolution2 = c[1].nResolution, r.nResolution3 = c[2].nResolution;
    r.dwDownsampleMethod1 = method(0), r.dwDownsampleMethod2 = method(1), r.dwDownsampleMethod3 = method(2);
    if (p.dwPdfStandard == 1) // PDF/A: no encryption
        r.dwEncrypt = 1, r.dwKeyLength = 0;
    return r;
}

// A record whose preset fields none of the presets has, encrypted with an
// open password, and with other settings a preset must leave alone.
TARVIK_DEVMODE Input()
{
    TARVIK_DEVMODE in = DefaultRecord();
    lstrcpyW(in.szExcludeFonts, L";"), lstrcpyW(in.szTitle, L"Kept title");
    in.dwResolution = in.dmPrintQuality = in.dmYResolution = 2400;
    in.dwFontMode = 2, in.dwFontOption = 2, in.dwCompression1 = 1, in.dwQuality1 = 1;
    in.dwQuality2 = 2, in.dwQuality3 = 1, in.dmOrientation = DMORIENT_LANDSCAPE;
    in.dwEncrypt = 2, in.dwKeyLength = 128, in.bOpenPassword = 1;
    std::strcpy(in.szOpenPassword, "open");
    return in;
}

// Picks list item `index` of `id` while a second hand answers the message
// box the choice shows with `answer`; what the box said.
std::wstring PickAnswering(HWND page, int id, int index, int answer)
{
    std::wstring said;
    UserThread hand([&] { said = AnswerMessageBox(answer); });
    Pick(page, id, index);
    hand.Join();
    return said;
}

// Only the paper page has a window when the preset is chosen: every other
// field goes through the record.
TEST_F(PresetSheet, EachBuiltinSetsExactlyItsFields)
{
    for (size_t i = 0; i < std::size(kDocumentedPresets); ++i)
    {
        SCOPED_TRACE(i);
        const TARVIK_DEVMODE in = Input();
        const TARVIK_DEVMODE out = RunSheet(m_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
            EXPECT_EQ(ResourceText(IDS_PRESET_CUSTOM), Text(s.page, IDC_PRESET));
            EXPECT_FALSE(Enabled(s.window, kApplyButton));
            if (i == 3)
                EXPECT_EQ(MessageOf(IDS_CAPTION_PRESETS, IDS_PRESET_ENCRYPTION_OFF),
                          PickAnswering(s.page, IDC_PRESET, 3, IDOK));
            else
                Pick(s.page, IDC_PRESET, static_cast<int>(i));
            EXPECT_TRUE(Enabled(s.window, kApplyButton));
            EXPECT_FALSE(Enabled(s.page, IDC_PRESET_DELETE));
            // The graphics page, first shown now, shows the preset the record holds.
            ShowTab(s.window, IDS_TITLE_GRAPHICS);
            EXPECT_EQ(ResourceText(kNames[i]), Text(s.page, IDC_PRESET));
        });
        const TARVIK_DEVMODE expected = WithPreset(in, kDocumentedPresets[i], true);
        EXPECT_EQ("", RecordDifferences(&expected, &out));
    }
}

// Pages that have windows show the choice at once; the list follows a change
// on any page and its undoing; the encryption question may be refused.
TEST_F(PresetSheet, ShownPagesFollowAndTheListFollowsThePages)
{
    const TARVIK_DEVMODE in = Input();
    const TARVIK_DEVMODE out = RunSheet(m_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        HWND fonts = ShowTab(s.window, IDS_TITLE_FONT);
        HWND graphics = ShowTab(s.window, IDS_TITLE_GRAPHICS);
        HWND security = ShowTab(s.window, IDS_TITLE_SECURITY);
        HWND paper = ShowTab(s.window, IDS_TITLE_FORM);
        Pick(paper, IDC_PRESET, 2);
        const auto position = [](HWND page, int id) { return SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0); };
        EXPECT_EQ(L"300", Text(paper, IDC_FORM_RESOLUTION));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(fonts, IDC_FONT_MODE_ALL));
        EXPECT_EQ(0, position(fonts, IDC_FONT_OPTION)); // only the characters used
        EXPECT_EQ(1, position(graphics, IDC_GRAPHICS_COMPRESSION_1));
        EXPECT_EQ(3, position(graphics, IDC_GRAPHICS_QUALITY_1)); // JPEG low quality
        EXPECT_EQ(2, position(graphics, IDC_GRAPHICS_QUALITY_3));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(graphics, IDC_GRAPHICS_DOWNSAMPLE_3));
        EXPECT_EQ(L"300", Text(graphics, IDC_GRAPHICS_RESOLUTION_3));

        const std::wstring smallest = ResourceText(IDS_PRESET_SMALLEST_FILE);
        EXPECT_EQ(smallest, Text(paper, IDC_PRESET));
        Pick(graphics, IDC_GRAPHICS_QUALITY_1, 0);
        EXPECT_EQ(ResourceText(IDS_PRESET_CUSTOM), Text(paper, IDC_PRESET));
        Pick(graphics, IDC_GRAPHICS_QUALITY_1, 3);
        EXPECT_EQ(smallest, Text(paper, IDC_PRESET));
        Click(fonts, IDC_FONT_MODE_NONE);
        EXPECT_EQ(ResourceText(IDS_PRESET_CUSTOM), Text(paper, IDC_PRESET));
        Click(fonts, IDC_FONT_MODE_ALL);
        EXPECT_EQ(smallest, Text(paper, IDC_PRESET));

        // Refused, the archive changes nothing; accepted, it turns encryption off.
        const std::wstring question = MessageOf(IDS_CAPTION_PRESETS, IDS_PRESET_ENCRYPTION_OFF);
        EXPECT_EQ(question, PickAnswering(paper, IDC_PRESET, 3, IDCANCEL));
        EXPECT_EQ(smallest, Text(paper, IDC_PRESET));
        EXPECT_EQ(2, position(security, IDC_SECURITY_LEVEL));
        EXPECT_EQ(L"300", Text(paper, IDC_FORM_RESOLUTION));
        EXPECT_EQ(question, PickAnswering(paper, IDC_PRESET, 3, IDOK));
        EXPECT_EQ(0, position(security, IDC_SECURITY_LEVEL));
        EXPECT_EQ(1, position(paper, IDC_FORM_PDF_STANDARD));
        EXPECT_EQ(ResourceText(IDS_PRESET_PDFA_ARCHIVE), Text(paper, IDC_PRESET));
    });
    const TARVIK_DEVMODE expected = WithPreset(in, kDocumentedPresets[3], true);
    EXPECT_EQ("", RecordDifferences(&expected, &out));
}

// Saved in one sheet, a preset is there in the next, until it is deleted.
TEST_F(PresetSheet, OwnPresetsOutliveTheSheet)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY);
    const TARVIK_DEVMODE in = Input();
    RunSheet(
        m_printer, in, IDS_TITLE_FORM,
        [&](const Sheet& s) {
            Pick(s.page, IDC_PRESET, 1);
            Pick(s.page, IDC_FORM_RESOLUTION, 3); // 2400: no built-in
            EXPECT_EQ(ResourceText(IDS_PRESET_CUSTOM), Text(s.page, IDC_PRESET));
            ClickOpening(s.page, IDC_PRESET_SAVE);
            HWND dialog = WaitForTopWindow([](HWND w) { return IsDialog(w) && GetDlgItem(w, IDC_PRESET_NAME); });
            ASSERT_NE(nullptr, dialog);
            const std::pair<std::wstring, UINT> refused[] = {
                {L"", IDS_PRESET_NAME_EMPTY},
                {L"a;b", IDS_PRESET_NAME_SEPARATOR},
                {L"HIGH QUALITY PRINT", IDS_PRESET_NAME_RESERVED},
                {ResourceText(IDS_PRESET_CUSTOM), IDS_PRESET_NAME_RESERVED},
                {L"Thirty-two characters, exactly..", IDS_PRESET_NAME_TOO_LONG},
            };
            for (const auto& [name, message] : refused)
            {
                Key(GetDlgItem(dialog, IDC_PRESET_NAME), name);
                ClickOpening(dialog, IDOK);
                EXPECT_EQ(MessageOf(IDS_CAPTION_PRESETS, message), AnswerMessageBox(IDOK)) << Utf8(name);
            }
            Key(GetDlgItem(dialog, IDC_PRESET_NAME), L"Thirty-one characters, exactly.");
            CloseWith(dialog, IDOK);
            EXPECT_EQ(L"Thirty-one characters, exactly.", Text(s.page, IDC_PRESET));
            EXPECT_TRUE(Enabled(s.page, IDC_PRESET_DELETE));
        },
        PSBTN_CANCEL);

    RunSheet(m_printer, in, IDS_TITLE_FORM, [&](const Sheet& s) {
        const std::vector<std::wstring> items = Items(s.page, IDC_PRESET);
        ASSERT_EQ(6u, items.size()); // four built-ins, the own preset, Custom
        EXPECT_EQ(L"Thirty-one characters, exactly.", items[4]);
        Pick(s.page, IDC_PRESET, 4);
        EXPECT_EQ(L"2400", Text(s.page, IDC_FORM_RESOLUTION));
        EXPECT_EQ(5u, Items(s.page, IDC_PRESET).size()); // no Custom while a preset matches
        // Saving under the same name asks first.
        ClickOpening(s.page, IDC_PRESET_SAVE);
        HWND dialog = WaitForTopWindow([](HWND w) { return IsDialog(w) && GetDlgItem(w, IDC_PRESET_NAME); });
        Key(GetDlgItem(dialog, IDC_PRESET_NAME), L"thirty-one characters, exactly.");
        ClickOpening(dialog, IDOK);
        const std::wstring replace = ResourceText(IDS_PRESET_REPLACE);
        EXPECT_NE(std::wstring::npos, AnswerMessageBox(IDNO).find(replace.substr(replace.find(L"%s") + 2)));
        CloseWith(dialog, IDCANCEL);
        ClickOpening(s.page, IDC_PRESET_DELETE);
        AnswerMessageBox(IDOK);
        // The pages still show what the preset held: no preset matches them.
        EXPECT_TRUE(WaitFor([&] { return Text(s.page, IDC_PRESET) == ResourceText(IDS_PRESET_CUSTOM); }));
        EXPECT_EQ(5u, Items(s.page, IDC_PRESET).size());
        EXPECT_FALSE(Enabled(s.page, IDC_PRESET_DELETE));
    });
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegGetValueW(HKEY_CURRENT_USER, TARVIK_PRESETS_KEY, L"Thirty-one characters, exactly.", RRF_RT_ANY,
                           nullptr, nullptr, nullptr));
}
} // namespace
