// libFuzzer target: arbitrary bytes examined as `ydb check` and `ydb dump` examine a file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/ydb/examine_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!prepareExamineExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseExaminer(data, size);
    return 0;
}
