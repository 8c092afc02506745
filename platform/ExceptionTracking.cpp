#include "platform/ExceptionTracking.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <array>
#include <atomic>
#include <cstdlib>

namespace platform {
namespace {

constexpr int MaxFrames = 64;

std::atomic<bool> tracking{false};

struct RecordedStack {
    std::array<void *, MaxFrames> frames{};
    int count = -1; // -1: nothing recorded on this thread
};

thread_local RecordedStack lastStack;

// Not inlined, so that the frames to skip are always this one and __cxa_throw's.
[[gnu::noinline]] void RecordThrowSite()
{
    if (tracking.load(std::memory_order_relaxed))
        lastStack.count = backtrace(lastStack.frames.data(), MaxFrames);
}

} // namespace

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

// Every throw in the process passes through here first: the throw site is recorded, then the
// C++ runtime's own __cxa_throw takes over.
extern "C" void __cxa_throw(void *exception, std::type_info *type, void (*destructor)(void *))
{
    using Throw = void (*)(void *, std::type_info *, void (*)(void *));
    static const auto next = reinterpret_cast<Throw>(dlsym(RTLD_NEXT, "__cxa_throw"));
    platform::RecordThrowSite();
    if (!next)
        std::abort();
    next(exception, type, destructor);
    std::abort(); // not reached: the runtime's __cxa_throw does not return
}
