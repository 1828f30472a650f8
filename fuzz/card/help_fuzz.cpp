// libFuzzer target: arbitrary bytes as a database's resource area, every help text in it loaded.
#include "fuzz/card/help_exercise.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!prepareHelpExercise())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    exerciseHelpTexts(data, size);
    return 0;
}
