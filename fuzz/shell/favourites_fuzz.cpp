// libFuzzer target: arbitrary bytes as the favourites file, the slots loaded and each one tapped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/shell/favourites_exercise.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!prepareFavouritesExercise()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseFavourites(data, size);
    return 0;
}
