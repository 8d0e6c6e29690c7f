// libFuzzer entry: every generated input goes through the full set of checks.
#include "XmlFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckXmlInput(data, size);
    return 0;
}
