#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A new folder under the temporary directory for a platform root; aborts when none can be made.
inline std::string MakePlatformRoot()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quirelle-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

// Every test case gets a fresh platform root of its own, removed after it, and the process's
// root back: a case sees no registry or files of another when the test program runs whole,
// as when ctest runs each case in a process of its own.
class FreshPlatformRootPerTest : public ::testing::EmptyTestEventListener {
public:
    explicit FreshPlatformRootPerTest(std::string processRoot)
        : processRoot_(std::move(processRoot))
    {
    }

    void OnTestStart(const ::testing::TestInfo &) override
    {
        caseRoot_ = MakePlatformRoot();
        setenv("QUIRELLE_ROOT", caseRoot_.c_str(), 1);
    }

    void OnTestEnd(const ::testing::TestInfo &) override
    {
        setenv("QUIRELLE_ROOT", processRoot_.c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(caseRoot_, ignored);
    }

private:
    std::string processRoot_;
    std::string caseRoot_;
};

// The main of every test program: the offscreen platform, a fresh platform root for the
// process and one for each test case, and the application object that the program's layer
// needs, made after GoogleTest has taken its own arguments.
template <typename Application> int RunTests(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string root = MakePlatformRoot();
    setenv("QUIRELLE_ROOT", root.c_str(), 1);

    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshPlatformRootPerTest(root));
    int result = 0;
    {
        Application application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return result;
}

// For the tests of the layers below Qt.
struct NoApplication {
    NoApplication(int &, char **) {}
};
