// libFuzzer entry for the listfile reader; see FileTargets.h.
#include "FileTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::listFile(data, size);
    return 0;
}
