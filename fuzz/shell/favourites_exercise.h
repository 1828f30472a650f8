// Arbitrary bytes as the favourites file beside a sound database: the slots loaded from it and
// each one tapped (its rubric looked for by caption), checking what must hold whatever the bytes:
// a slot for every entry up to twelve and none beyond, captions within the part that is read,
// and a tap that finds only a rubric with firms. Shared by the libFuzzer target and the test that
// replays the corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes `hostRoot` the device root (or, when empty, a new folder under the host's temporary
// folder), writes and opens the database and makes it the current choice. Call once.
bool prepareFavouritesExercise(const std::string& hostRoot = {});

// Writes the bytes as the file, loads the slots and taps each. Answers the number of slots. A
// broken invariant aborts.
int exerciseFavourites(const uint8_t* data, size_t size);
