#include "kernel_state.h"

namespace kernel {

KernelState& kernelState() {
    // Deliberately never destroyed: handles and registries stay usable during static destruction.
    static KernelState* const state = new KernelState();
    return *state;
}

bool Fault::strikes() {
    if (count == 0) return false;
    if (skip > 0) {
        --skip;
        return false;
    }
    --count;
    return true;
}

}  // namespace kernel
