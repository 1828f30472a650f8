// What the format cannot hold, found before anything is written.
#pragma once

#include <string>

#include "tools/writer/edition.h"

// True when the edition can be written; otherwise `error` names the first thing that cannot.
bool checkEdition(const Edition& edition, std::string& error);
