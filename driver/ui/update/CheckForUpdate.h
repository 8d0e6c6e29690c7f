// The update check: fetch the maker's small XML answer, compare the version
// it announces with the installed one, and say whether a newer version may
// be offered and where to download it. It shows nothing: the information
// page tells the user what the result says.
#pragma once

#include <windows.h>

#include <string>

// The maker's web server: the support page and the update answer live there.
#define TARVIK_WEB_SERVER L"http://www.kastrel.com"
#define TARVIK_UPDATE_URL TARVIK_WEB_SERVER L"/tarvikpro7/checkupdate.html"

enum class UpdateOutcome
{
    kNotNewer, // the answer announces the installed version or an older one
    kNewer,    // a newer version, with a download address that may be opened
    kFailed,   // no answer, or one that is not an update answer
};

struct UpdateCheckResult
{
    UpdateOutcome outcome = UpdateOutcome::kFailed;
    std::wstring address; // the download address, when kNewer
    // Why the check failed: the HTTP client's code when the request failed,
    // ERROR_INVALID_DATA when the answer cannot be read or its address may
    // not be opened, ERROR_NOT_FOUND when an element is missing; else 0.
    DWORD error = 0;
};

// One complete check against `updateUrl` for the installed version
// (major, minor, build, revision); each failing step writes its line to the
// debug output.
UpdateCheckResult CheckForUpdate(const wchar_t* updateUrl, const WORD installed[4]);

// Whether the version text of an update answer is newer than the installed
// version. The text is read as four numbers separated by ".": each the
// number at its start (0 without digits) cut to its low 16 bits; a missing
// number counts as 0 and any after the fourth is ignored. Newer when, at the
// first number that differs, the announced one is greater.
bool IsNewerVersion(const wchar_t* announced, const WORD installed[4]);

// Whether a download address from an update answer may be opened: an http or
// https address with a host, and no quote, space or control character
// anywhere, which a browser's command line could turn into arguments.
bool IsWebAddress(const wchar_t* address);
