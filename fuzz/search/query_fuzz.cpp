// libFuzzer target: every list and search of the directory over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/search/search_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!prepareSearchExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseSearchesOneWay(data, size);
    return 0;
}
