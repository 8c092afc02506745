#include "platform/ExceptionTracking.h"

#include <dlfcn.h>
#include <execinfo.h>

#include <array>
#include <atomic>

namespace platform {
namespace {

constexpr int MaxFrames = 64;

std::atomic<bool> tracking{false};

struct RecordedStack {
    std::array<void *, MaxFrames> frames{};
    int count = -1; // -1: nothing recorded on this thread
};

thread_local RecordedStack lastStack;

} // namespace

// Not inlined, so that the frames to skip are always this one and __cxa_throw's.
[[gnu::noinline]] void RecordThrowSite()
{
    if (tracking.load(std::memory_order_relaxed))
        lastStack.count = backtrace(lastStack.frames.data(), MaxFrames);
}

void StartExceptionTracking()
{
    // The first backtrace() loads the unwinder; do it now rather than inside a throw.
    std::array<void *, 1> warmUp{};
    backtrace(warmUp.data(), 1);
    tracking.store(true);
}

void StopExceptionTracking()
{
    tracking.store(false);
}

std::vector<StackFrame> LastExceptionStack()
{
    std::vector<StackFrame> stack;
    // The first two frames are RecordThrowSite and __cxa_throw, not the throw site.
    for (int i = 2; i < lastStack.count; ++i) {
        StackFrame frame;
        frame.address = reinterpret_cast<std::uintptr_t>(lastStack.frames[i]);
        Dl_info info{};
        if (dladdr(lastStack.frames[i], &info) && info.dli_fbase)
            frame.moduleBase = reinterpret_cast<std::uintptr_t>(info.dli_fbase);
        stack.push_back(frame);
    }
    return stack;
}

} // namespace platform
