#include "platform/PlatformRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(PlatformRoot, FollowsQuirelleRoot)
{
    const std::filesystem::path root = std::getenv("QUIRELLE_ROOT");
    EXPECT_EQ(platform::PlatformRoot(), root);
    EXPECT_TRUE(std::filesystem::is_directory(root));
}
