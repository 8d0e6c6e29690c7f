// The rules of the update check that need no window and no network: how the
// announced version compares with the installed one, and which download
// addresses may be handed to the shell.
#pragma once

#include <windows.h>

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
