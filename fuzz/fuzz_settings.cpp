// libFuzzer entry for the settings reader; see FileTargets.h.
#include "FileTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::settingsFile(data, size);
    return 0;
}
