// libFuzzer target: arbitrary bytes loaded as bitmap and icon resources and drawn.
#include "fuzz/gdi/image_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    exerciseImageResources(data, size);
    return 0;
}
