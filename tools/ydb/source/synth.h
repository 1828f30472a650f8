// A generated source edition of any size, for scale tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

struct SynthOptions {
    uint32_t firms = 1000;
    uint64_t seed = 1;
};

// Writes edition.json, rubrics.json, streets.jsonl and firms.jsonl into `folder` (created when
// missing). Returns false with `error` set when a file cannot be written.
bool writeSynthEdition(const std::string& folder, const SynthOptions& options, std::string& error);
