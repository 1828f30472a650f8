// A small but complete source edition compiled the way `ydb build` compiles it, written to a host
// file, so that tests can check, dump and damage it.
#pragma once

#include <string>

#include "tests/ydb/source_fixture.h"
#include "tools/writer/edition_writer.h"

struct BuiltEdition {
    SourceFolder source;
    DatabaseImage image;
    std::string path;  // host path of the written file

    // Four firms (two branches sharing a name, one without a house, one with a fax and a code),
    // three streets, rubrics in three levels with headings of no firms of their own.
    BuiltEdition();
    // Compiles the source folder as it stands; false with the first problem in `error`.
    bool build(std::string& error);
    // Writes `image` (patched or not) to `path`.
    bool save();
};
