// The host services' one setting: whether starts are carried out or only journalled.
#include "platform/host/host_services.h"

#include <atomic>

namespace host {

namespace {
std::atomic<LaunchMode> currentLaunchMode{LaunchMode::Journal};
}

void setLaunchMode(LaunchMode mode) { currentLaunchMode = mode; }

LaunchMode launchMode() { return currentLaunchMode; }

}  // namespace host
