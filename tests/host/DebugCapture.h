// Captures the debugger output stream of the process for real: every
// OutputDebugStringW raises the debug-print exception, which a vectored
// handler sees exactly as a debugger would. While a capture object lives,
// the lines are collected (and swallowed).
#pragma once

#include <string>
#include <vector>

namespace testhost
{
class DebugCapture
{
  public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::vector<std::wstring> Lines() const;

  private:
    std::vector<std::wstring> m_lines; // filled by the handler while this capture lives
};
} // namespace testhost
