#include "resources/res_file/res_register.h"

#include "emulator.h"
#include "resources/res_file/res_file.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

namespace resfile {

namespace {

// The registry keeps pointers to the data: it lives as long as the program, as an image's would.
std::deque<std::vector<Resource>>& keptResources()
{
    static std::deque<std::vector<Resource>> kept;
    return kept;
}

const WCHAR* keyValue(const ResourceKey& key)
{
    return key.isNumber() ? MAKEINTRESOURCEW(key.id) : key.text.c_str();
}

} // namespace

int registerResFile(const unsigned char* bytes, size_t size, std::string& error)
{
    ReadResult read = readResFile(std::vector<uint8_t>(bytes, bytes + size));
    if (!read.error.empty()) {
        error = read.error;
        return -1;
    }
    std::vector<Resource>& resources = keptResources().emplace_back(std::move(read.resources));
    std::vector<emu::ResourceEntry> table;
    table.reserve(resources.size());
    for (const Resource& resource : resources)
        table.push_back({keyValue(resource.type), keyValue(resource.name), resource.data.data(),
                         static_cast<uint32_t>(resource.data.size())});
    emu::registerResources(table.data(), table.size());
    return 0;
}

} // namespace resfile

namespace resfile {

int registerProgramResources(const char* program, const unsigned char* bytes, size_t size)
{
    std::string error;
    if (registerResFile(bytes, size, error) != 0) {
        std::fprintf(stderr, "%s: the compiled resources are damaged: %s\n", program, error.c_str());
        std::abort();
    }
    return 0;
}

} // namespace resfile
