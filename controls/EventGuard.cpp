#include "controls/EventGuard.h"

namespace {

EventExceptionHook &hook()
{
    static EventExceptionHook installed;
    return installed;
}

} // namespace

void SetEventExceptionHook(EventExceptionHook installed)
{
    hook() = std::move(installed);
}

void HandOverEventException(const QObject *source)
{
    if (!hook())
        throw;
    hook()(source);
}
