// A sound database whose resource area is the fuzzer's input: the tables are written once, each
// input is appended as the area and the file opened as the current database. Shared by the
// exercises of what the area holds (pictures, help texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct DirectoryDatabase;

// Makes `hostRoot` the device root (or a new temporary folder named after `prefix`), answers every
// message box silently and writes the sound part. False when that cannot be done.
bool prepareAreaDatabase(const std::string& hostRoot, const char* prefix);

// The database with the bytes as its area, opened and made current; aborts (naming `exercise`)
// when the sound part does not open.
DirectoryDatabase* openAreaDatabase(const uint8_t* data, size_t size, const char* exercise);
// Closes it and puts back the database that was current before.
void closeAreaDatabase(DirectoryDatabase* db);
