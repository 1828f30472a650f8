// Opens a .ydb file of the host through the reader: its folder becomes the device root.
#pragma once

#include <string>

#include "db/database.h"

// Returns the object (never none) with the file open, or none with `error` set when the file is
// missing or the reader refuses it at open.
DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error);
