// Arbitrary bytes written as a host file and examined the way `ydb check`, `ydb dump` and
// `ydb info` examine a file: the checker, every table dumped, the resource chain and its pictures.
// Shared by the libFuzzer target and the test that replays damaged files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A fresh host folder for the file, and a silent message box handler (the reader reports damage
// through message boxes). Call once before exerciseExaminer.
bool prepareExamineExercise();

// Examines the bytes; returns the number of records the dumps produced, so that callers can see
// the examination ran. Must neither crash nor hang, whatever the bytes.
size_t exerciseExaminer(const uint8_t* data, size_t size);
