// What the fuzz exercises that open each input as a device file share: the folder the file lives
// in, the writing of each input, and the report of a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes `hostRoot` the device root or, when it is empty, a new folder under the host's temporary
// folder named after `prefix`. Answers that folder; empty when it could not be made or set.
std::string exerciseDeviceRoot(const std::string& hostRoot, const char* prefix);

// Writes one input as the host file; false when it could not be written whole.
bool writeExerciseInput(const std::string& hostFile, const uint8_t* data, size_t size);

// Reports what the input broke and aborts, which the fuzzer records as a crash with its input.
[[noreturn]] void exerciseBroken(const char* exercise, const char* what);
