// Opening arbitrary bytes as a directory database and reading every table with every detail flag,
// through a small and a large read window, checking what must hold whatever the bytes: no read
// past the data, no block left behind, and a record found by NEXT decodes the same at its
// reference. Shared by the libFuzzer target and the test that replays the corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes `hostRoot` the device root (or, when empty, a new folder under the host's temporary
// folder) and installs a silent message box handler. Call once before exerciseDatabase.
bool prepareDatabaseExercise(const std::string& hostRoot = {});

// Writes the bytes as a database file on the device and reads it every way. A broken invariant
// aborts (the fuzzer reports it as a crash).
void exerciseDatabase(const uint8_t* data, size_t size);

// The same checks, one way of all: one window size and one detail flag set per table, chosen by
// the input's way byte (exerciseWay). A run costs a fifth of reading every way, and the fuzzer reaches
// every way by mutating that byte; the corpus replay reads every way.
void exerciseDatabaseOneWay(const uint8_t* data, size_t size);

// The number of message boxes the exercises brought up, for a test to see that the checks ran.
size_t exerciseMessageBoxes();
