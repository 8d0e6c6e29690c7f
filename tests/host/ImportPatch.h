// Rewrites a loaded module's import address table slot, as a shim does: for
// peers the machine lacks (the renderer's answer to a printer escape).
#pragma once

#include <windows.h>

namespace testhost
{
// Returns the previous target of `function` imported from `dll` by `module`,
// or null when the module does not import it.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
} // namespace testhost
