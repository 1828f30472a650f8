// Kernel object handles: opaque, checked identifiers. A stale, foreign or wrong-kind handle is
// recognised and never dereferenced.
#pragma once

#include "kernel_state.h"

namespace kernel {

// Stores the object and returns its handle, or null (ERROR_TOO_MANY_OPEN_FILES set) when the
// table is full.
HANDLE addHandle(std::variant<std::monostate, OpenFile, FindSearch, MutexRef> object);

// The live slot of a handle, or null.
HandleSlot* findSlot(HANDLE handle);

template <class T>
T* handleObject(HANDLE handle) {
    HandleSlot* slot = findSlot(handle);
    return slot ? std::get_if<T>(&slot->object) : nullptr;
}

// Empties the slot; the handle value becomes stale.
void removeHandle(HANDLE handle);

}  // namespace kernel
