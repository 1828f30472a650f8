// Arbitrary bytes as the resource area of an otherwise sound database: help texts 0, 1, ... are
// loaded into a page pane until the area ends, checking what must hold whatever the bytes: a code
// the loader may give, a text that ends inside its block and holds no more than its chunk, no
// block left behind, no help text found past the end of the chain. Shared by the libFuzzer target
// and the test that replays the corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

bool prepareHelpExercise(const std::string& hostRoot = {});

// Answers how many texts loaded whole. A broken invariant aborts.
int exerciseHelpTexts(const uint8_t* data, size_t size);
