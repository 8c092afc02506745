#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using platform::Hive;
using platform::RegistryKey;

TEST(RegistrySharing, ConcurrentWritersLoseNothing)
{
    constexpr int Writers = 4;
    constexpr int ValuesEach = 40;
    RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true)->writeString("Before", "x");

    std::vector<pid_t> children;
    for (int writer = 0; writer < Writers; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            try {
                auto key = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true);
                auto own = RegistryKey::open(Hive::CurrentUser,
                                             "Software\\Writer" + std::to_string(writer), true);
                for (int i = 0; i < ValuesEach; ++i) {
                    key->writeInteger("w" + std::to_string(writer) + "-" + std::to_string(i), i);
                    own->writeString("v" + std::to_string(i), "x");
                }
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    auto key = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", false);
    EXPECT_EQ(key->valueNames().size(), size_t{Writers * ValuesEach + 1});
    for (int writer = 0; writer < Writers; ++writer) {
        for (int i = 0; i < ValuesEach; ++i)
            EXPECT_EQ(key->readInteger("w" + std::to_string(writer) + "-" + std::to_string(i)), i);
        auto own = RegistryKey::open(Hive::CurrentUser, "Software\\Writer" + std::to_string(writer),
                                     false);
        ASSERT_TRUE(own);
        EXPECT_EQ(own->valueNames().size(), size_t{ValuesEach});
    }
    EXPECT_EQ(key->readString("Before"), "x");
}
