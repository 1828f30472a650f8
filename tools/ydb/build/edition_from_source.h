// Turns a checked source edition into the writer's edition: firms in white-pages order, the firm
// lists of rubrics and streets, and the telephone index (rule in source/phone_index.h).
#pragma once

#include "tools/writer/edition.h"
#include "tools/ydb/source/source_edition.h"

// Moves the texts out of `source`, which is left emptied.
Edition editionFromSource(SourceEdition& source);
