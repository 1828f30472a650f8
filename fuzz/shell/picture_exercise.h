// Arbitrary bytes as the resource area of an otherwise sound database: every picture the area
// holds is loaded, copied and stretched, checking what must hold whatever the bytes: a code the
// loader may give, a size within its limits, no block left behind, and no picture found past the
// end of the chain. Shared by the libFuzzer target and the test that replays the corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes `hostRoot` the device root (or, when empty, a new folder under the host's temporary
// folder), installs a silent message box handler and writes the sound part of the database. Call
// once before exercisePictures.
bool preparePictureExercise(const std::string& hostRoot = {});

// Writes the database with the bytes as its resource area and loads pictures 0, 1, ... until the
// area ends (at most a few). Answers how many loaded whole. A broken invariant aborts.
int exercisePictures(const uint8_t* data, size_t size);
