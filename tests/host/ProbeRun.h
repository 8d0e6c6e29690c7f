#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Runs `exe` with `arguments` (the command line after the program's name) in
// the folder `dir` (empty: this process's) and waits for it to end. Returns
// its exit code (2000 + error: not started), its output and error output,
// as they came, in *output.
DWORD RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& dir, std::string* output);

// Runs a copy of the build's probe_program.exe named `name` (in a folder of
// its own: Wine's file names ignore letter case) with `argument`, so a test
// sees what the module decides in a process of that name. Returns its exit
// code (1000 + error: not copied, 2000 + error: not started), its output in
// *output.
DWORD RunProbeAs(const std::wstring& name, const wchar_t* argument, std::string* output);
} // namespace testhost
