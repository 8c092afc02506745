#pragma once

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>

extern char **environ;

// For a case whose outcome depends on what its process did before (the libraries it loaded, the
// memory its allocator keeps). True when this process runs that case alone: its body is to run
// here. Otherwise the case runs again alone, in a new process of this program whose verdict
// becomes the case's, and false is returned: the body is not to run here.
//     if (!CaseRunsAlone()) return;
inline bool CaseRunsAlone()
{
    const ::testing::UnitTest &unit = *::testing::UnitTest::GetInstance();
    if (unit.test_to_run_count() == 1)
        return true;
    const ::testing::TestInfo &info = *unit.current_test_info();
    std::string program = "/proc/self/exe";
    std::string filter =
        std::string("--gtest_filter=") + info.test_suite_name() + "." + info.name();
    char *arguments[] = {program.data(), filter.data(), nullptr};
    pid_t child = 0;
    int status = 0;
    const bool ran =
        posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) == 0 &&
        waitpid(child, &status, 0) == child;
    EXPECT_TRUE(ran && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the case failed in a process of its own (output above)";
    return false;
}
