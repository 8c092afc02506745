#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// One frame of a recorded call stack: its address and the load address of the module that
// holds it (0 when no module is known for the address).
struct StackFrame {
    std::uintptr_t address = 0;
    std::uintptr_t moduleBase = 0;
};

// While tracking is on, every C++ exception thrown in the process records the call stack of
// its throw site for the throwing thread. Tracking is off until started. Throws are seen only
// in a binary that links the throw hook (ThrowHook.cpp, the target quirelle_throw_hook).
void StartExceptionTracking();
void StopExceptionTracking();

// Records the calling thread's stack as that of its last exception, when tracking is on; the
// throw hook calls it for every throw.
void RecordThrowSite();

// The stack recorded for the last exception thrown on the calling thread, innermost frame
// first; empty when none was recorded on this thread.
std::vector<StackFrame> LastExceptionStack();

} // namespace platform
