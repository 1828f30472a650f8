// libFuzzer target: arbitrary bytes inspected as `ydb check` and `ydb dump` inspect a file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/ydb/inspect_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!prepareInspectExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseInspector(data, size);
    return 0;
}
