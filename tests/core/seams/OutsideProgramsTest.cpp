#include "app/core/seams/OutsidePrograms.h"

#include "app/core/seams/UiHooks.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class CountingUi : public UiHooks {
public:
    void processPendingEvents() override { ++passes; }
    void setBusyCursor(bool) override {}
    int passes = 0;
};

const auto KeepWaiting = [] { return true; };

TEST(SystemPrograms, GivesTheOutcomeOfOurOwnChildProcess)
{
    using Outcome = ProgramExit::Outcome;
    const struct {
        const char *name;
        ProgramCall call;
        Outcome outcome;
        int exitCode;
    } cases[] = {
        {"success", {"true", {}}, Outcome::Exited, 0},
        {"exit status", {"sh", {"-c", "exit 3"}}, Outcome::Exited, 3},
        {"killed by a signal", {"sh", {"-c", "kill -9 $$"}}, Outcome::Crashed, -1},
        {"no such program", {"quirelle-no-such-program", {}}, Outcome::NotStarted, -1},
        {"no program at all", {"", {}}, Outcome::NotStarted, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        NoUiHooks ui;
        const ProgramExit exit = SystemPrograms().run(c.call, ui, KeepWaiting);
        EXPECT_EQ(exit.outcome, c.outcome);
        EXPECT_EQ(exit.exitCode, c.exitCode);
        EXPECT_EQ(exit.succeeded(), c.outcome == Outcome::Exited && c.exitCode == 0);
    }
}

TEST(SystemPrograms, HandsTheArgumentsOverAsTheyAreInTheWorkingDirectory)
{
    TempDir dir;
    // Everything a shell would act on.
    const QString name = QStringLiteral("a b \"c\" 'd' $HOME %1 ; * `e` é");
    NoUiHooks ui;
    const ProgramExit exit = SystemPrograms().run(
        {"touch", {name}, QString::fromStdString(dir.path().string())}, ui, KeepWaiting);
    EXPECT_TRUE(exit.succeeded());
    EXPECT_TRUE(std::filesystem::exists(dir / name.toStdString()));
}

TEST(SystemPrograms, LetsMessagesRunAndPollsWhileTheProgramRuns)
{
    CountingUi ui;
    int polls = 0;
    const ProgramExit exit = SystemPrograms().run({"sleep", {"0.3"}}, ui, [&] {
        ++polls;
        return true;
    });
    EXPECT_TRUE(exit.succeeded());
    EXPECT_GT(ui.passes, polls);
    EXPECT_GE(polls, 1);
}

TEST(SystemPrograms, APollAnsweringFalseStopsTheProgram)
{
    NoUiHooks ui;
    int polls = 0;
    const ProgramExit exit = SystemPrograms().run({"sleep", {"600"}}, ui, [&] {
        ++polls;
        return false;
    });
    EXPECT_EQ(exit.outcome, ProgramExit::Outcome::Stopped);
    EXPECT_EQ(polls, 1);
}

} // namespace
