// What the file calls share: attributes of host entries and the open-file bookkeeping.
#pragma once

#include "kernel_state.h"

#include <string>
#include <sys/stat.h>

namespace kernel {

// FILE_ATTRIBUTE_* of a host entry. Without write permission a file is read-only.
DWORD attributesOf(const std::string& hostPath, const struct stat& info);
bool isReadOnly(const std::string& hostPath, const struct stat& info);

// Whether a handle of this process has the file open.
bool fileIsOpen(const struct stat& info);

void closeOpenFile(OpenFile& file);

// A host program started for the device has the file open for writing, sharing reading only
// (see emu::holdFileForHostProgram).
bool heldByHostProgram(const struct stat& info);

}  // namespace kernel
