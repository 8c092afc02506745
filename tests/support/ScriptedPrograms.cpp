#include "tests/support/ScriptedPrograms.h"

ProgramExit ScriptedPrograms::run(const ProgramCall &call, UiHooks &ui,
                                  const std::function<bool()> &poll)
{
    calls.push_back(call);
    if (script_.empty())
        return real_.run(call, ui, poll);
    const Script next = std::move(script_.front());
    script_.pop_front();
    return next(call, poll);
}

void ScriptedPrograms::exitWith(int status)
{
    script([status](const ProgramCall &, const std::function<bool()> &) {
        return ProgramExit{ProgramExit::Outcome::Exited, status};
    });
}
