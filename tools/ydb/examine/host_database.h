// Opens a .ydb file of the host through the reader: its folder becomes the device root.
#pragma once

#include <string>

#include "db/database.h"
#include "emulator.h"

// Why a file could not be opened: it cannot be read at all (missing, a folder, no permission), or
// it can be read but is no sound directory database.
enum class OpenFailure { none, unreadable, damaged };

// Returns the object (never none) with the file open, or none with `error` set ("FILE: what is
// wrong", in the tool's own words) and `failure` saying which kind of failure it was. The reader's
// own message boxes at open are not shown: `error` says the same for a publisher.
DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error, OpenFailure& failure);
DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error);

// The reader's code at open, in words.
std::string describeOpenCode(int32_t code);

// While it lives, the reader's message boxes (the handheld's words to its user, in Russian) are
// answered silently: the examiner reports the same faults in its own words.
class ReaderBoxesSilenced {
public:
    ReaderBoxesSilenced();
    ~ReaderBoxesSilenced();
    ReaderBoxesSilenced(const ReaderBoxesSilenced&) = delete;
    ReaderBoxesSilenced& operator=(const ReaderBoxesSilenced&) = delete;

private:
    emu::MessageBoxHandler previous_;
};
