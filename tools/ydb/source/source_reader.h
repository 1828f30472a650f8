// Reads a source edition folder (edition.json, rubrics.json, streets.jsonl, firms.jsonl, html/) and
// checks it against every limit of the file format.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/ydb/source/issues.h"
#include "tools/ydb/source/source_edition.h"

// Told, while the firms are read (they are nearly all of a large source), how many bytes of
// firms.jsonl are done out of how many.
using ReadProgress = std::function<void(uint64_t done, uint64_t total)>;

// Fills `edition`; returns true when `issues` stayed empty. Reading goes on after an error, so that
// one run reports as many problems as it can.
bool readSourceEdition(const std::string& folder, SourceEdition& edition, IssueList& issues,
                       const ReadProgress& progress = nullptr);
