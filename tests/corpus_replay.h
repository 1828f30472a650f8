// The tests that replay a fuzz target's corpus (its seeds and the inputs that once broke
// something) through the target's own exercise on every run.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Hands `visit` each file of the corpus folder as (file name, bytes), under a trace of the name so
// that a failure says which input it was. Answers the number of files; a missing folder fails the
// test and answers 0.
template <class Visit>
size_t forEachCorpusFile(const std::filesystem::path& folder, Visit visit)
{
    if (!std::filesystem::is_directory(folder)) {
        ADD_FAILURE() << "no corpus folder " << folder;
        return 0;
    }
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        visit(name, bytes);
        ++files;
    }
    return files;
}

// Every file of the corpus folder through an exercise that takes the bytes alone.
inline size_t replayCorpus(const std::filesystem::path& folder, void (*exercise)(const uint8_t* data, size_t size))
{
    return forEachCorpusFile(folder, [exercise](const std::string&, const std::string& bytes) {
        exercise(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    });
}
