#include "platform/controls/control_limits.h"

namespace emu {
namespace {
int capacity = defaultListCapacity;
}

int listCapacity()
{
    return capacity;
}

void setListCapacity(int items)
{
    capacity = items > 0 ? items : defaultListCapacity;
}

}  // namespace emu
