// Passwords in a double-byte ANSI code page, run under a Korean locale (code
// page 949): the edits take whole characters up to 32 bytes, confirmations
// are compared byte for byte, and the record gets the code page's bytes.
#include "PageInput.h"
#include "PrinterTest.h"
#include "SettingsSheet.h"
#include "WindowDriver.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>

namespace
{
using settings::ResourceText;

using KoreanPasswords = testhost::PrinterTest;

std::string Cp949(const std::wstring& text)
{
    std::string bytes(text.size() * 2, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(949, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

TEST_F(KoreanPasswords, WholeCharactersWithin32Bytes)
{
    ASSERT_EQ(949u, GetACP()) << "run with LC_ALL=ko_KR.UTF-8";
    const std::wstring ga(15, L'\xAC00');
    // 'x' and 15 syllables make 31 bytes: the next syllable would need 33
    // and is refused whole; a one-byte letter still fits.
    const std::wstring password = L"x" + ga + L"y";
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwKeyLength = 128;
    // A stored password without its NUL, ending in half a character.
    const std::string stored = Cp949(std::wstring(16, L'\xD55C') + L"\xD55C");
    std::memcpy(in.szPermissionsPassword, stored.data(), sizeof(in.szPermissionsPassword));
    std::wstring typed, shownStored, mismatch;
    const TARVIK_DEVMODE out = settings::RunSheet(m_printer, in, [&](HWND sheet, const TARVIK_DEVMODE&) {
        HWND page = testhost::ShowTab(sheet, ResourceText(IDS_TITLE_SECURITY));
        ASSERT_NE(nullptr, page);
        shownStored = testhost::WindowText(GetDlgItem(page, IDC_SECURITY_PERMISSIONS_PASSWORD));
        testhost::SetChecked(GetDlgItem(page, IDC_SECURITY_OPEN), true);
        HWND edit = GetDlgItem(page, IDC_SECURITY_OPEN_PASSWORD);
        testhost::TypeText(edit, L"x" + ga + L"\xB098" + L"y");
        typed = testhost::WindowText(edit);
        // The same characters but the last syllable: not the same bytes.
        HWND confirm = GetDlgItem(page, IDC_SECURITY_OPEN_CONFIRM);
        testhost::TypeText(confirm, L"x" + std::wstring(14, L'\xAC00') + L"\xAC01" + L"y");
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        testhost::MessageBoxSeen seen;
        if (testhost::AnswerMessageBox(&seen, IDOK, 10000))
            mismatch = seen.text;
        testhost::ReplaceText(confirm, password);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(std::wstring(16, L'\xD55C'), shownStored);
    EXPECT_EQ(password, typed);
    EXPECT_EQ(ResourceText(IDS_OPEN_PASSWORD_MISMATCH), mismatch);
    EXPECT_EQ(1, out.bOpenPassword);
    EXPECT_EQ(Cp949(password), std::string(out.szOpenPassword));
    EXPECT_EQ(32u, std::strlen(out.szOpenPassword));
}
} // namespace
