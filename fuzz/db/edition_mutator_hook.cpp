// The database mutator as a target's custom mutator, with libFuzzer's own for raw bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/db/edition_mutator.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    return mutateEdition(data, size, maxSize, seed, soundMutationEdition(), LLVMFuzzerMutate);
}
