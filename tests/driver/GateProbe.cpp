// Run under another name by the process gate test: reports, as its exit
// code, whether the module's process gate took this process for the shell or
// the spooler (1) or not (0).
#include "Globals.h"

int main()
{
    g_bSpoolerOrShell = 7; // anything the gate does not write would show
    CheckHostProcess();
    return static_cast<int>(g_bSpoolerOrShell);
}
