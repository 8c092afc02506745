#pragma once

#include <QObject>

#include <functional>
#include <type_traits>
#include <utility>

// Qt's widget code is built without exception cleanups: an exception that unwinds through it
// skips the destructors of its frames (the guard that QAction::activate holds, the state of a
// combo box or of a button being clicked). So the slots and event handlers that can throw run
// their work through GuardEvent or ConnectGuarded, which hand the exception, in our own frame,
// to the hook that the program sets. Without a hook the exception goes on.

// Called inside a catch block with the object whose slot or handler failed.
using EventExceptionHook = std::function<void(const QObject *source)>;
void SetEventExceptionHook(EventExceptionHook hook);

// Inside a catch block: hands the exception being handled to the hook, or throws it on.
void HandOverEventException(const QObject *source);

template <typename Work> void GuardEvent(const QObject *source, Work &&work)
{
    try {
        std::forward<Work>(work)();
    } catch (...) {
        HandOverEventException(source);
    }
}

namespace guarded_connection {

template <typename... Arguments> struct Parameters {
};

template <typename Class, typename Result, typename... Arguments>
Parameters<Arguments...> ParametersOf(Result (Class::*)(Arguments...))
{
    return {};
}
template <typename Class, typename Result, typename... Arguments>
Parameters<Arguments...> ParametersOf(Result (Class::*)(Arguments...) const)
{
    return {};
}
template <typename Functor> auto ParametersOf(const Functor &)
{
    return ParametersOf(&Functor::operator());
}

// A functor that takes the slot's own parameters, so that Qt passes it what the slot takes of
// the signal's arguments.
template <typename Receiver, typename Slot, typename... Arguments>
auto GuardedSlot(const QObject *sender, Receiver *receiver, Slot slot, Parameters<Arguments...>)
{
    if constexpr (std::is_member_function_pointer_v<Slot>)
        return [sender, receiver, slot](Arguments... arguments) {
            GuardEvent(sender, [&] { (receiver->*slot)(std::forward<Arguments>(arguments)...); });
        };
    else
        return [sender, slot](Arguments... arguments) {
            GuardEvent(sender, [&] { slot(std::forward<Arguments>(arguments)...); });
        };
}

} // namespace guarded_connection

// QObject::connect for a slot that can throw: a member function of receiver, or a functor (not
// a generic lambda) run in receiver's context. An exception that the slot lets escape goes to
// the hook, with sender, before it reaches the Qt code that emitted the signal.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection ConnectGuarded(Sender *sender, Signal signal, Receiver *receiver, Slot slot,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(sender, signal, receiver,
                            guarded_connection::GuardedSlot(sender, receiver, slot,
                                                            guarded_connection::ParametersOf(slot)),
                            type);
}
