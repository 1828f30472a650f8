// `ydb new`: a small source edition of an invented town that builds into a complete edition, every
// file of it there to be rewritten.
#pragma once

#include <string>

// Writes into `folder` (new or empty; made when missing).
bool writeStarterEdition(const std::string& folder, std::string& error);
