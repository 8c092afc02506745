// Shared main of every test program: the offscreen platform, a fresh platform root per
// process (each test case runs in a process of its own under ctest), and a QApplication.
#include "app/adapters/QuirelleApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quirelle-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 2;
    setenv("QUIRELLE_ROOT", pattern.c_str(), 1);

    ::testing::InitGoogleTest(&argc, argv);
    QuirelleApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return result;
}
