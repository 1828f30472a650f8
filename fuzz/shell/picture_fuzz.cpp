// libFuzzer target: arbitrary bytes as a database's resource area, every picture in it loaded and
// drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/shell/picture_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!preparePictureExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exercisePictures(data, size);
    return 0;
}
