// Arbitrary bytes shown as a page, as the viewer shows one: the source added in two pieces, laid
// out at the screen's width, drawn at the top and scrolled, searched for an anchor, tapped, then
// laid out again narrow and drawn. Shared by the libFuzzer target and the test that replays its
// corpus.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes the drawing target and lets the font engine find every face once (its caches live as
// long as the process). Call once before exercisePage.
void preparePageExercise();

// Answers the laid-out height of the page at the screen's width.
int exercisePage(const uint8_t* data, size_t size);
