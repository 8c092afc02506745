#include "platform/SystemServices.h"
#include "platform/PlatformRoot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <thread>

TEST(SystemServices, TickCountAdvancesInMilliseconds)
{
    const uint32_t first = platform::GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t elapsed = platform::GetTickCount() - first; // wraps like the counter
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(SystemServices, FileAgeIsTheLastWriteTimeOrNothing)
{
    const std::filesystem::path file = platform::PlatformRoot() / "page.jpg";
    EXPECT_EQ(platform::FileAge(file), std::nullopt);
    std::ofstream(file) << "x";
    const auto age = platform::FileAge(file);
    ASSERT_TRUE(age);
    const auto gap = std::chrono::system_clock::now() - *age;
    EXPECT_LT(std::chrono::abs(gap), std::chrono::seconds(5));
    std::filesystem::remove(file);
    EXPECT_EQ(platform::FileAge(file), std::nullopt);
}

TEST(SystemServices, WindowsDirectoryLivesUnderTheRoot)
{
    const std::filesystem::path folder = platform::WindowsDirectory();
    EXPECT_EQ(folder.parent_path(), platform::PlatformRoot());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(SystemServices, ModulePathNamesTheFileHoldingAnAddress)
{
    static int local = 0;
    EXPECT_EQ(platform::ModulePath(&local), std::filesystem::read_symlink("/proc/self/exe"));
    const std::filesystem::path libm = platform::ModulePath(reinterpret_cast<void *>(&::cbrt));
    EXPECT_TRUE(libm.is_absolute());
    EXPECT_EQ(libm.filename().string().rfind("libm.so", 0), 0u) << libm;
    EXPECT_EQ(platform::ModulePath(nullptr), std::filesystem::path());
}
