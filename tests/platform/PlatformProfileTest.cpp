#include "platform/PlatformProfile.h"
#include "platform/PlatformRoot.h"

#include <gtest/gtest.h>

#include <fstream>

using platform::PlatformProfile;
using platform::WindowsFamily;

TEST(PlatformProfile, DefaultsToNT61)
{
    const PlatformProfile profile = platform::CurrentPlatformProfile();
    EXPECT_TRUE(profile.isNT());
    EXPECT_EQ(profile.majorVersion, 6);
    EXPECT_EQ(profile.minorVersion, 1);
}

TEST(PlatformProfile, KeepsTheProfileSetForTheRoot)
{
    const std::vector<PlatformProfile> cases = {
        {WindowsFamily::Windows9x, 4, 10},
        {WindowsFamily::NT, 5, 1},
        {WindowsFamily::NT, 10, 0},
    };
    for (const PlatformProfile &profile : cases) {
        platform::SetPlatformProfile(profile);
        EXPECT_EQ(platform::CurrentPlatformProfile(), profile);
    }
    EXPECT_FALSE(platform::CurrentPlatformProfile() == PlatformProfile{});
}

TEST(PlatformProfile, DamagedFileIsReported)
{
    const std::filesystem::path file = platform::PlatformRoot() / "profile.txt";
    for (const char *text : {"", "XP 5.1\n", "NT 6\n", "NT six.one\n", "NT 6.1 extra\n"}) {
        SCOPED_TRACE(text);
        std::ofstream(file) << text;
        try {
            platform::CurrentPlatformProfile();
            ADD_FAILURE() << "no error";
        } catch (const platform::PlatformProfileError &error) {
            EXPECT_EQ(error.what(),
                      "Le profil de la plate-forme est endommagé : " + file.string() + ".");
        }
    }
}
