// The throw hook of the crash report, linked into the program alone: every throw in the
// process passes through here first, the throw site is recorded, then the C++ runtime's own
// __cxa_throw takes over.
#include "platform/ExceptionTracking.h"

#include <cxxabi.h>
#include <dlfcn.h>

#include <cstdlib>

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
