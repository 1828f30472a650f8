// Every list and search of the directory run over arbitrary bytes opened as a database: the rubric
// tree in both modes, every rubric's firm list, the white pages, the search in every mode with
// every answer to its questions, the street and telephone searches and both completion lists.
// Whatever the bytes, nothing may read out of bounds, loop without end or keep a block. Shared
// by the libFuzzer target and the test that replays the corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes `hostRoot` the device root (a new temporary folder when empty) and installs a silent
// message box handler. Call once before exerciseSearches.
bool prepareSearchExercise(const std::string& hostRoot = {});

// Writes the bytes as a database file and runs every query over it. A broken invariant aborts.
void exerciseSearches(const uint8_t* data, size_t size);

// The same, the searches one way of all: one window size, one answer and one mode, chosen by the
// input's way byte (exerciseWay). The fuzz target's run; the corpus replay runs every way.
void exerciseSearchesOneWay(const uint8_t* data, size_t size);

// Lines the queries listed so far, for a test to see that they ran.
size_t exercisedLines();
