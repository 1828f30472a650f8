// The conformance program's compiled resource script, registered before WinMain runs, as the
// program's own image would hold it.
#include "resources/res_file/res_register.h"

extern const unsigned char conformanceResources[];
extern const size_t conformanceResources_size;

namespace {

const int registered = resfile::registerProgramResources("Conformance", conformanceResources, conformanceResources_size);

} // namespace
