// Passwords in a double-byte ANSI code page, under a Korean locale (code
// page 949): the edits take whole characters up to 32 bytes, confirmations
// are compared byte for byte, and the record gets the code page's bytes.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "resource.h"

#include <cstring>
#include <string>

namespace
{
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
    // 'x' and 15 syllables make 31 bytes: a 16th syllable would end at 33
    // and is refused whole; a one-byte letter still fits.
    const std::wstring ga(15, L'\xAC00'), password = L"x" + ga + L"y";
    TARVIK_DEVMODE in = testhost::DefaultRecord();
    in.dwKeyLength = 128;
    // A stored password without its NUL, ending in half a character.
    std::memcpy(in.szPermissionsPassword, Cp949(std::wstring(17, L'\xD55C')).data(), sizeof(in.szPermissionsPassword));
    std::wstring shownStored, typed, mismatch;
    const auto script = [&](const testhost::Sheet& s) {
        shownStored = testhost::Text(s.page, IDC_SECURITY_PERMISSIONS_PASSWORD);
        testhost::Check(s.page, IDC_SECURITY_OPEN, true);
        testhost::Key(GetDlgItem(s.page, IDC_SECURITY_OPEN_PASSWORD), L"x" + ga + L"\xB098y");
        typed = testhost::Text(s.page, IDC_SECURITY_OPEN_PASSWORD);
        // The last syllable differs: the same length, not the same bytes.
        HWND confirm = GetDlgItem(s.page, IDC_SECURITY_OPEN_CONFIRM);
        testhost::Key(confirm, L"x" + ga.substr(1) + L"\xAC01y");
        PropSheet_PressButton(s.window, PSBTN_OK);
        mismatch = testhost::AnswerMessageBox(IDOK, 10000);
        testhost::Key(confirm, password);
    };
    const TARVIK_DEVMODE out = testhost::RunSheet(m_printer, in, IDS_TITLE_SECURITY, script);
    EXPECT_EQ(std::wstring(16, L'\xD55C'), shownStored);
    EXPECT_EQ(password, typed);
    EXPECT_EQ(testhost::MessageOf(IDS_CAPTION_ERROR, IDS_OPEN_PASSWORD_MISMATCH), mismatch);
    EXPECT_EQ(1, out.bOpenPassword);
    EXPECT_EQ(Cp949(password), std::string(out.szOpenPassword));
    EXPECT_EQ(32u, std::strlen(out.szOpenPassword));
}
} // namespace
