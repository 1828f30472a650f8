// Vantory's compiled resource script, registered before WinMain runs: the program finds its
// strings, pictures, accelerators and about box by identifier as it does in its own image.
#include "resources/res_file/res_register.h"

#include <cstdio>
#include <cstdlib>

extern const unsigned char vantoryResources[];
extern const size_t vantoryResources_size;

namespace {

int registerVantoryResources()
{
    std::string error;
    if (resfile::registerResFile(vantoryResources, vantoryResources_size, error) != 0) {
        // The build made these bytes: a fault here is the build's, and the program cannot run without them.
        std::fprintf(stderr, "Vantory: the compiled resources are damaged: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}

const int registered = registerVantoryResources();

} // namespace
