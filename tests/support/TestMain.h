#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

// A fresh, empty platform root in the temporary folder, named by QUIRELLE_ROOT while it lives;
// the previous value comes back and the folder goes when it ends.
class TemporaryPlatformRoot {
public:
    TemporaryPlatformRoot()
    {
        if (const char *previous = std::getenv("QUIRELLE_ROOT"))
            previous_ = previous;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quirelle-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::filesystem::filesystem_error(
                "mkdtemp", pattern, std::error_code(errno, std::generic_category()));
        path_ = pattern;
        setenv("QUIRELLE_ROOT", path_.c_str(), 1);
    }
    ~TemporaryPlatformRoot()
    {
        if (previous_)
            setenv("QUIRELLE_ROOT", previous_->c_str(), 1);
        else
            unsetenv("QUIRELLE_ROOT");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryPlatformRoot(const TemporaryPlatformRoot &) = delete;
    TemporaryPlatformRoot &operator=(const TemporaryPlatformRoot &) = delete;

private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

// Gives every test case a platform root of its own, so cases leave no settings to the next one
// whichever way the program is run (one case per process under ctest, or all of them at once).
class PlatformRootPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { root_.emplace(); }
    void OnTestEnd(const ::testing::TestInfo &) override { root_.reset(); }

    std::optional<TemporaryPlatformRoot> root_;
};

// The main of every test program: the offscreen platform, a platform root for the application
// object and one per test case, and the application object that the program's layer needs,
// made after GoogleTest has taken its own arguments.
template <typename Application> int RunTests(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PlatformRootPerTest);
    TemporaryPlatformRoot processRoot;
    Application application(argc, argv);
    return RUN_ALL_TESTS();
}

// For the tests of the layers below Qt.
struct NoApplication {
    NoApplication(int &, char **) {}
};
