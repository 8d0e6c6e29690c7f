// The main job's printer installer (tools/install), under the test host's names.
#pragma once

#include "install/PrinterInstaller.h"

namespace testhost
{
using tarvikinstall::BinDirectory;
using tarvikinstall::InstallTarvikPrinter;
using tarvikinstall::OpenTarvikPrinter;
} // namespace testhost
