// Runs a probe program of the build under another executable name, so a
// test sees what the module decides in a process of that name.
#pragma once

#include <windows.h>

#include <string>

namespace testhost
{
// Runs a copy of the build's `program` named `name`, in its own folder
// `folder` (Wine's file names ignore letter case), and returns its exit code
// (1000 + error when it could not be copied, 2000 + error when it did not
// start), with what it printed in *output when that is given.
DWORD RunCopyAs(const wchar_t* program, const std::wstring& folder, const std::wstring& name,
                std::string* output = nullptr);
} // namespace testhost
