#include "kernel_state.h"

#include <thread>

void WINAPI Sleep(DWORD dwMilliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds)); }

DWORD WINAPI GetTickCount(void) {
    const auto elapsed = std::chrono::steady_clock::now() - kernel::kernelState().startTime;
    // Wraps after 49.7 days, as on the platform.
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
