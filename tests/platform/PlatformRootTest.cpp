#include "platform/PlatformRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

TEST(PlatformRoot, FollowsQuirelleRoot)
{
    const std::filesystem::path root = std::getenv("QUIRELLE_ROOT");
    EXPECT_EQ(platform::PlatformRoot(), root);
    EXPECT_TRUE(std::filesystem::is_directory(root));
}

// Under a plain file no folder can be made: the root is given all the same, for the registry
// and the other uses to fail on with their own messages.
TEST(PlatformRoot, ARootThatCannotBeMadeIsStillGiven)
{
    const std::filesystem::path file = std::filesystem::path(std::getenv("QUIRELLE_ROOT")) / "f";
    std::ofstream(file) << "x";
    const std::filesystem::path root = file / "quirelle";
    setenv("QUIRELLE_ROOT", root.c_str(), 1);
    EXPECT_EQ(platform::PlatformRoot(), root);
    EXPECT_FALSE(std::filesystem::exists(root));
}
