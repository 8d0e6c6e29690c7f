#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Runs a copy of the build's probe_program.exe named `name` (in a folder of
// its own: Wine's file names ignore letter case) with `argument`, so a test
// sees what the module decides in a process of that name. Returns its exit
// code (1000 + error: not copied, 2000 + error: not started), its output in
// *output.
DWORD RunProbeAs(const std::wstring& name, const wchar_t* argument, std::string* output);
} // namespace testhost
