// libFuzzer entry for the id3v1 reader; see FuzzTargets.h.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::id3v1(data, size);
    return 0;
}
