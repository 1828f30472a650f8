// Mutations that keep a database file's shape: a record's field, a table's reference, a record
// grown or cut with its length and the later table starts moved along, a header's start or count,
// a chunk's header. Random bytes rarely get past the first check of a file; these keep most
// inputs readable, so the record decoders and the searches behind them see real records.
// Shared by the fuzz targets that read database files and the test that measures how deep the
// mutated files reach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A mutation of raw bytes (libFuzzer's own, in the targets): the same contract as the mutator's.
using RawMutation = size_t (*)(uint8_t* data, size_t size, size_t maxSize);

// Mutates the `size` bytes at `data` in place (at most `maxSize`) and answers the new size. An
// input without a database header is replaced by `sound` now and then, so that a run from
// random bytes still finds its way to sound files; `raw` takes a share of the mutations (none
// when it is null).
size_t mutateEdition(uint8_t* data, size_t size, size_t maxSize, uint32_t seed, const std::vector<uint8_t>& sound,
                     RawMutation raw);

// A sound edition of a few dozen firms, streets, rubrics and chunks of both kinds, written once:
// what the mutator puts in place of an input that is no database at all.
const std::vector<uint8_t>& soundMutationEdition();
