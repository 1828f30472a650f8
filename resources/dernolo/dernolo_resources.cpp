// Dernolo's compiled resource script, registered before WinMain runs: the program finds its
// strings, pictures, accelerators and dialogs by identifier as it does in its own image.
#include "resources/res_file/res_register.h"

extern const unsigned char dernoloResources[];
extern const size_t dernoloResources_size;

namespace {

const int registered = resfile::registerProgramResources("Dernolo", dernoloResources, dernoloResources_size);

} // namespace
