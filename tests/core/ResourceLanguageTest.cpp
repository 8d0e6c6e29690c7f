// The resource module in one of its languages, as the loader gives it to a
// user of that language (the ctest entry per language sets the Unix locale,
// from which Wine takes the interface language, and TARVIK_LANGUAGE): every
// template creates, with the controls the code reads as the class it reads
// them as and no mnemonic twice; every string loaded and every English one is
// there in the language.
#include "PrinterInstaller.h"
#include "WindowDriver.h"

#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace
{
using namespace testhost;
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const wchar_t* const kClasses[] = {L"Button", L"Edit", L"ComboBox", L"Static", L"ListBox", WC_LISTVIEWW};
constexpr int kButton = 0, kEdit = 1, kCombo = 2, kStatic = 3, kList = 4, kListView = 5;

// What the code reads from each template: the template, the class (an index
// of kClasses), then the controls it reads as that class.
const std::initializer_list<int> kControls[] = {
    {IDD_FORM_PAGE, kCombo, IDC_FORM_NAME, IDC_FORM_RESOLUTION, IDC_FORM_PDF_STANDARD},
    {IDD_FORM_PAGE, kEdit, IDC_FORM_WIDTH, IDC_FORM_HEIGHT, IDC_FORM_OUTPUT_FOLDER, IDC_FORM_FILE_PREFIX},
    {IDD_FORM_PAGE, kStatic, IDC_FORM_WIDTH_UNIT, IDC_FORM_HEIGHT_UNIT, IDC_FORM_PORTRAIT_PAGE,
     IDC_FORM_LANDSCAPE_PAGE},
    {IDD_FORM_PAGE, kButton, IDC_FORM_FAVORITES, IDC_FORM_UNIT_MM, IDC_FORM_UNIT_INCH, IDC_FORM_UNIT_POINT,
     IDC_FORM_FIXED_SIZE, IDC_FORM_PORTRAIT, IDC_FORM_LANDSCAPE, IDC_FORM_AUTO_SAVE, IDC_FORM_BROWSE,
     IDC_FORM_AUTO_SAVE_OPTION},
    {IDD_FAVORITE_FORMS, kListView, IDC_FAVORITE_LIST},
    {IDD_FAVORITE_FORMS, kButton, IDC_FAVORITE_ADD, IDC_FAVORITE_EDIT, IDC_FAVORITE_DELETE, IDC_FAVORITE_UNIT_MM,
     IDC_FAVORITE_UNIT_INCH, IDC_FAVORITE_UNIT_POINT, IDOK, IDCANCEL},
    {IDD_CUSTOM_FORM, kEdit, IDC_CUSTOM_FORM_NAME, IDC_CUSTOM_FORM_WIDTH, IDC_CUSTOM_FORM_HEIGHT},
    {IDD_CUSTOM_FORM, kButton, IDC_CUSTOM_FORM_UNIT_MM, IDC_CUSTOM_FORM_UNIT_INCH, IDC_CUSTOM_FORM_UNIT_POINT, IDOK,
     IDCANCEL},
    {IDD_FONT_PAGE, kButton, IDC_FONT_MODE_ALL, IDC_FONT_MODE_EXCLUDE, IDC_FONT_MODE_NONE, IDC_FONT_EXCLUDE,
     IDC_FONT_INCLUDE},
    {IDD_FONT_PAGE, kStatic, IDC_FONT_OPTION_LABEL},
    {IDD_FONT_PAGE, kCombo, IDC_FONT_OPTION},
    {IDD_FONT_PAGE, kList, IDC_FONT_AVAILABLE, IDC_FONT_EXCLUDED},
    {IDD_GRAPHICS_PAGE, kCombo, IDC_GRAPHICS_COMPRESSION_1, IDC_GRAPHICS_COMPRESSION_2, IDC_GRAPHICS_COMPRESSION_3,
     IDC_GRAPHICS_QUALITY_1, IDC_GRAPHICS_QUALITY_2, IDC_GRAPHICS_QUALITY_3, IDC_GRAPHICS_RESOLUTION_1,
     IDC_GRAPHICS_RESOLUTION_2, IDC_GRAPHICS_RESOLUTION_3, IDC_GRAPHICS_METHOD_1, IDC_GRAPHICS_METHOD_2,
     IDC_GRAPHICS_METHOD_3},
    {IDD_GRAPHICS_PAGE, kButton, IDC_GRAPHICS_DOWNSAMPLE_GROUP, IDC_GRAPHICS_DOWNSAMPLE_1, IDC_GRAPHICS_DOWNSAMPLE_2,
     IDC_GRAPHICS_DOWNSAMPLE_3},
    {IDD_GRAPHICS_PAGE, kStatic, IDC_GRAPHICS_DPI_1, IDC_GRAPHICS_DPI_2, IDC_GRAPHICS_DPI_3},
    {IDD_DOCINFO_PAGE, kEdit, IDC_DOCINFO_TITLE, IDC_DOCINFO_AUTHOR, IDC_DOCINFO_SUBJECT, IDC_DOCINFO_KEYWORDS,
     IDC_DOCINFO_EXTRA},
    {IDD_SECURITY_PAGE, kCombo, IDC_SECURITY_LEVEL},
    {IDD_SECURITY_PAGE, kEdit, IDC_SECURITY_OPEN_PASSWORD, IDC_SECURITY_OPEN_CONFIRM, IDC_SECURITY_PERMISSIONS_PASSWORD,
     IDC_SECURITY_PERMISSIONS_CONFIRM},
    {IDD_SECURITY_PAGE, kStatic, IDC_SECURITY_OPEN_PASSWORD_LABEL, IDC_SECURITY_OPEN_CONFIRM_LABEL,
     IDC_SECURITY_PERMISSIONS_PASSWORD_LABEL, IDC_SECURITY_PERMISSIONS_CONFIRM_LABEL, IDC_SECURITY_ALLOW_LABEL},
    {IDD_SECURITY_PAGE, kButton, IDC_SECURITY_ENCRYPT_GROUP, IDC_SECURITY_ENCRYPT_ALL, IDC_SECURITY_OPEN_GROUP,
     IDC_SECURITY_OPEN, IDC_SECURITY_PERMISSIONS, IDC_SECURITY_PRINT, IDC_SECURITY_PRINT_LOW, IDC_SECURITY_PRINT_HIGH,
     IDC_SECURITY_CHANGE, IDC_SECURITY_COPY, IDC_SECURITY_ACCESSIBILITY, IDC_SECURITY_ANNOTATE, IDC_SECURITY_FILL_FORMS,
     IDC_SECURITY_ASSEMBLE},
    {IDD_INFO_PAGE, kStatic, IDC_INFO_PICTURE, IDC_INFO_VERSION, IDC_INFO_LINK},
    {IDD_INFO_PAGE, kButton, IDC_INFO_CHECK_UPDATE, IDC_INFO_SUPPORT},
    {IDD_OPTION_PAGE, kButton, IDC_OPTION_OPEN_AFTER_SAVE, IDC_OPTION_COMPRESS_TEXT, IDC_OPTION_KEEP_LINKS,
     IDC_OPTION_BOOKMARKS, IDC_OPTION_AUTO_ROTATE, IDC_OPTION_ROTATE_EACH, IDC_OPTION_ROTATE_ALL,
     IDC_OPTION_OPENING_VIEW, IDC_OPTION_VIEW_PAGES, IDC_OPTION_VIEW_BOOKMARKS, IDC_OPTION_VIEW_THUMBNAILS},
    {IDD_WATERMARK_PREVIEW, kButton, IDC_WATERMARK_FRAME, IDC_WATERMARK_PORTRAIT, IDC_WATERMARK_LANDSCAPE,
     IDC_WATERMARK_GUIDES, IDOK},
    {IDD_WATERMARK_PREVIEW, kStatic, IDC_WATERMARK_PAGE},
};

// Every string the code loads, by the dialog that loads it.
const std::initializer_list<UINT> kLoadedStrings[] = {
    {IDS_CAPTION_ERROR, IDS_CAPTION_INFORMATION, IDS_TITLE_DEVICE, IDS_TITLE_OPTION},
    {IDS_TITLE_FORM, IDS_BROWSE_OUTPUT_FOLDER, IDS_UNIT_MM, IDS_UNIT_INCH, IDS_UNIT_POINT, IDS_PDF_STANDARD,
     IDS_PDF_A1},
    {IDS_COLUMN_FORM_NAME, IDS_COLUMN_FORM_SIZE, IDS_CANNOT_DELETE_SPOOLER_FORM, IDS_CONFIRM_DELETE_FORM,
     IDS_CAPTION_DELETE_FORM, IDS_CANNOT_EDIT_SPOOLER_FORM},
    {IDS_EMPTY_FORM_NAME, IDS_FORM_TOO_SMALL, IDS_FORM_NAME_SEPARATOR, IDS_FORM_NAME_TAKEN, IDS_FORM_SIZE_NOT_NUMBER,
     IDS_FORM_TOO_LARGE},
    {IDS_TITLE_FONT, IDS_FONT_OPTION_1, IDS_FONT_OPTION_2, IDS_FONT_OPTION_3, IDS_EXCLUDED_FONTS_TOO_LONG},
    {IDS_TITLE_GRAPHICS, IDS_ZIP_QUALITY_1, IDS_ZIP_QUALITY_2, IDS_ZIP_QUALITY_3, IDS_JPEG_QUALITY_1,
     IDS_JPEG_QUALITY_2, IDS_JPEG_QUALITY_3, IDS_JPEG_QUALITY_4, IDS_JPEG_QUALITY_5},
    {IDS_TITLE_DOCINFO},
    {IDS_TITLE_SECURITY, IDS_OPEN_PASSWORD_MISMATCH, IDS_PERMISSIONS_PASSWORD_MISMATCH, IDS_NO_ENCRYPTION,
     IDS_NO_PASSWORD_CHOSEN, IDS_EMPTY_OPEN_PASSWORD, IDS_EMPTY_PERMISSIONS_PASSWORD, IDS_SAME_PASSWORDS,
     IDS_LEVEL_RC4_40, IDS_LEVEL_RC4_128},
    {IDS_TITLE_INFO, IDS_NEWER_VERSION, IDS_NO_NEWER_VERSION, IDS_VERSION_FORMAT},
    {IDS_WATERMARK_SAMPLE_DIAGONAL, IDS_WATERMARK_SAMPLE_OUTLINED},
};

// Names and data: the product's name and the name of a standard read the same
// in every language.
const UINT kSameInEveryLanguage[] = {IDS_CAPTION_ERROR, IDS_CAPTION_INFORMATION, IDS_TITLE_DEVICE, IDS_PDF_A1,
                                     IDS_UNIT_MM};

const DLGPROC kInert = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };

// The controls of a dialog that the code can reach by ID: ID, class and
// button kind, in template order.
std::vector<std::wstring> Kinds(HWND dialog)
{
    std::vector<std::wstring> kinds;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (static_cast<WORD>(GetDlgCtrlID(child)) != 0xFFFF)
            kinds.push_back(std::to_wstring(GetDlgCtrlID(child)) + L" " + ClassOf(child) + L" " +
                            std::to_wstring(GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK));
    }
    return kinds;
}

class ResourceLanguage : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        const INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
        s_module = LoadLibraryW((BinDirectory() + L"\\tarvikres7.dll").c_str());
        const char* name = std::getenv("TARVIK_LANGUAGE");
        const std::string language = name ? name : "en-US";
        s_language = LANGIDFROMLCID(LocaleNameToLCID(std::wstring(language.begin(), language.end()).c_str(), 0));
    }
    static void TearDownTestSuite() { FreeLibrary(s_module); }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_module);
        ASSERT_NE(0, s_language) << "TARVIK_LANGUAGE names no language";
        ASSERT_EQ(s_language, GetUserDefaultUILanguage()) << "the ctest entry sets LC_ALL for its language";
    }

    // The 16 strings of one string-table block in one language, or none
    // when the language has no such block.
    static std::vector<std::wstring> Block(WORD block, LANGID language)
    {
        std::vector<std::wstring> strings;
        HRSRC found = FindResourceExW(s_module, RT_STRING, MAKEINTRESOURCEW(block), language);
        const wchar_t* p = found ? static_cast<const wchar_t*>(LockResource(LoadResource(s_module, found))) : nullptr;
        for (int i = 0; p && i < 16; ++i, p += 1 + *p)
            strings.emplace_back(p + 1, *p);
        return strings;
    }

    // The resource names of one type.
    static std::vector<WORD> Names(LPCWSTR type)
    {
        std::vector<WORD> names;
        EnumResourceNamesW(
            s_module, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR all) {
                if (IS_INTRESOURCE(name))
                    reinterpret_cast<std::vector<WORD>*>(all)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    static HMODULE s_module;
    static LANGID s_language;
};
HMODULE ResourceLanguage::s_module = nullptr;
LANGID ResourceLanguage::s_language = 0;

TEST_F(ResourceLanguage, EveryTemplateCreatesWithItsControlsAndEachMnemonicOnce)
{
    const std::vector<WORD> dialogs = Names(RT_DIALOG);
    for (const auto& row : kControls)
        EXPECT_NE(dialogs.end(), std::find(dialogs.begin(), dialogs.end(), *row.begin()))
            << "no template " << *row.begin();
    // A hidden owner; the pages are child templates and need a parent.
    HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    for (WORD dialog : dialogs)
    {
        SCOPED_TRACE("template " + std::to_string(dialog));
        ASSERT_NE(nullptr, FindResourceExW(s_module, RT_DIALOG, MAKEINTRESOURCEW(dialog), s_language))
            << "not in this language";
        HWND window = CreateDialogParamW(s_module, MAKEINTRESOURCEW(dialog), owner, kInert, 0);
        ASSERT_NE(nullptr, window) << GetLastError();
        EXPECT_FALSE(IsWindowVisible(window));
        for (const auto& row : kControls)
        {
            const wchar_t* className = kClasses[row.begin()[1]];
            for (auto id = row.begin() + 2; row.begin()[0] == dialog && id != row.end(); ++id)
                EXPECT_TRUE(ClassIs(GetDlgItem(window, *id), className))
                    << "control " << *id << " is no " << testing::PrintToString(std::wstring(className));
        }
        std::map<wchar_t, std::wstring> labels;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        {
            const LONG style = GetWindowLongW(child, GWL_STYLE), type = style & SS_TYPEMASK;
            const bool label = ClassIs(child, L"Button") || (ClassIs(child, L"Static") && !(style & SS_NOPREFIX) &&
                                                             type != SS_BITMAP && type != SS_ICON);
            const std::wstring text = WindowText(child);
            const auto [first, added] = labels.emplace(label ? Mnemonic(text) : 0, text);
            EXPECT_TRUE(added || !first->first) << "mnemonic of " << testing::PrintToString(text) << " repeats that of "
                                                << testing::PrintToString(first->second);
        }
        // The same controls as in English, of the same kinds.
        const HRSRC english = FindResourceExW(s_module, RT_DIALOG, MAKEINTRESOURCEW(dialog), kEnglish);
        HWND englishWindow = CreateDialogIndirectParamW(
            s_module, static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(s_module, english))), owner, kInert, 0);
        EXPECT_EQ(Kinds(englishWindow), Kinds(window));
        DestroyWindow(englishWindow);
        DestroyWindow(window);
    }
    DestroyWindow(owner);
}

TEST_F(ResourceLanguage, EveryLoadedStringIsThereAndEveryEnglishStringToo)
{
    const wchar_t* text = nullptr;
    for (const auto& ids : kLoadedStrings)
        for (UINT id : ids)
            EXPECT_LT(0, LoadStringW(s_module, id, reinterpret_cast<LPWSTR>(&text), 0)) << "string " << id;
    const std::vector<WORD> blocks = Names(RT_STRING);
    ASSERT_FALSE(blocks.empty());
    for (WORD block : blocks)
    {
        const std::vector<std::wstring> english = Block(block, kEnglish), here = Block(block, s_language);
        for (size_t i = 0; i < english.size(); ++i)
        {
            const UINT id = (block - 1u) * 16u + static_cast<UINT>(i);
            if (english[i].empty())
                continue;
            if (i >= here.size() || here[i].empty())
            {
                ADD_FAILURE() << "string " << id << " is missing";
                continue;
            }
            // The loader gives this language's text; apart from names and
            // data, another language says it in its own words.
            const int length = LoadStringW(s_module, id, reinterpret_cast<LPWSTR>(&text), 0);
            EXPECT_EQ(here[i], std::wstring(text, static_cast<size_t>(std::max(length, 0))));
            if (s_language != kEnglish &&
                std::count(std::begin(kSameInEveryLanguage), std::end(kSameInEveryLanguage), id) == 0)
            {
                EXPECT_NE(english[i], here[i]) << "string " << id << " is still English";
            }
        }
    }
}
} // namespace
