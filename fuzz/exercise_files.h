// What the fuzz exercises that open each input as a device file share: the folder the file lives
// in, the writing of each input, and the report of a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A new folder for the inputs, named after `prefix`, in memory when the host allows; empty when
// none could be made.
std::string exerciseFolder(const char* prefix);

// Makes `hostRoot` the device root or, when it is empty, a new folder under the host's temporary
// folder named after `prefix`. Answers that folder; empty when it could not be made or set.
std::string exerciseDeviceRoot(const std::string& hostRoot, const char* prefix);

// Writes one input as the host file; false when it could not be written whole.
bool writeExerciseInput(const std::string& hostFile, const uint8_t* data, size_t size);

// The last byte of a database header is reserved (0 in every edition, ignored by the reader):
// the exercises of database files read it as which of their ways to go through the file in a
// fuzz run, so that a run costs one way and the fuzzer reaches every way by mutating that byte.
// 0 for an input shorter than a header.
uint8_t exerciseWay(const uint8_t* data, size_t size);

// Reports what the input broke and aborts, which the fuzzer records as a crash with its input.
[[noreturn]] void exerciseBroken(const char* exercise, const char* what);
