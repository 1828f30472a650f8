// libFuzzer target: arbitrary bytes shown as a page, then laid out at other widths, drawn
// scrolled, searched for anchors and tapped.
#include "fuzz/htmlview/page_exercise.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    preparePageExercise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    exercisePage(data, size);
    return 0;
}
