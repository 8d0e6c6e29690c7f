// Replaces one imported function of a loaded module, the way a shim does:
// the slot in the module's import address table is rewritten, so the
// module's own calls go to the replacement. Used where the machine lacks the
// real peer (the renderer's answer to a printer escape).
#pragma once

#include <windows.h>

namespace testhost
{
// Returns the previous target of `function` imported from `dll` by `module`,
// or null when the module does not import it.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
} // namespace testhost
