#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The main of every test program: the offscreen platform, a fresh platform root per process
// (each test case runs in a process of its own under ctest), and the application object that
// the program's layer needs, made after GoogleTest has taken its own arguments.
template <typename Application> int RunTests(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quirelle-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 2;
    setenv("QUIRELLE_ROOT", pattern.c_str(), 1);

    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        Application application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return result;
}

// For the tests of the layers below Qt.
struct NoApplication {
    NoApplication(int &, char **) {}
};
