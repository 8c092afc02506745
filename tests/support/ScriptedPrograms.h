#pragma once

#include "app/core/seams/OutsidePrograms.h"

#include <deque>
#include <functional>
#include <vector>

// Records every program run and every restart request. Each run takes the next entry of the
// script, which acts in the program's place (it may write the files the program would and
// call the poll); once the script is empty, programs run for real. The computer is never
// restarted.
class ScriptedPrograms : public OutsidePrograms {
public:
    using Script =
        std::function<ProgramExit(const ProgramCall &call, const std::function<bool()> &poll)>;

    ProgramExit run(const ProgramCall &call, UiHooks &ui,
                    const std::function<bool()> &poll) override;
    void restartComputer() override { ++restarts; }

    void script(Script next) { script_.push_back(std::move(next)); }
    // A program that does nothing and exits with the given status.
    void exitWith(int status);

    std::vector<ProgramCall> calls;
    int restarts = 0;

private:
    std::deque<Script> script_;
    SystemPrograms real_;
};
