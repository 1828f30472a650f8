// Named mutexes: what closing a mutex handle must release.
#pragma once

#include "kernel_state.h"

namespace kernel {

void closeMutex(const MutexRef& mutex);

}  // namespace kernel
