// libFuzzer target: arbitrary bytes opened as a directory database and read every way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/db/database_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!prepareDatabaseExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseDatabaseOneWay(data, size);
    return 0;
}
