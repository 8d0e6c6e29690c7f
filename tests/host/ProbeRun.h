// Runs the probe program of the build under another executable name, so a
// test sees what the module decides in a process of that name.
#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Runs a copy of the build's probe_program.exe named `name`, in a folder of
// its own (Wine's file names ignore letter case), with the argument
// `argument`, and returns its exit code (1000 + error when it could not be
// copied, 2000 + error when it did not start), with what it printed in
// *output.
DWORD RunProbeAs(const std::wstring& name, const wchar_t* argument, std::string* output);
} // namespace testhost
