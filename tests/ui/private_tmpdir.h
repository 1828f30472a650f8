// A folder of the test's own as TMPDIR while it lives, so that no other process on the machine
// takes part in the registry of shared windows; the previous value comes back afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace ui_test {

class PrivateTmpdir {
public:
    explicit PrivateTmpdir(const std::filesystem::path& folder)
    {
        const char* old = std::getenv("TMPDIR");
        had = old != nullptr;
        if (had)
            saved = old;
        std::filesystem::create_directories(folder);
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~PrivateTmpdir()
    {
        if (had)
            ::setenv("TMPDIR", saved.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    PrivateTmpdir(const PrivateTmpdir&) = delete;
    PrivateTmpdir& operator=(const PrivateTmpdir&) = delete;

private:
    std::string saved;
    bool had = false;
};

} // namespace ui_test
