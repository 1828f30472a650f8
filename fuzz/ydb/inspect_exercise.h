// Arbitrary bytes written as a host file and inspected the way `ydb check`, `ydb dump` and
// `ydb info` inspect a file: the checker, every table dumped, the resource chain and its pictures.
// Shared by the libFuzzer target and the test that replays damaged files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A fresh host folder for the file, and a silent message box handler (the reader reports damage
// through message boxes). Call once before exerciseInspector.
bool prepareInspectExercise();

// Inspects the bytes; returns the number of records the dumps produced, so that callers can see
// the inspection ran. Must neither crash nor hang, whatever the bytes.
size_t exerciseInspector(const uint8_t* data, size_t size);
