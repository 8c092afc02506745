#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using platform::Hive;
using platform::RegistryKey;

namespace {

// prefix followed by n. Appended, not prepended: GCC 12 at -O3 takes the copy in
// "prefix" + std::to_string(n) for an overlapping one (a -Wrestrict false alarm).
std::string numbered(std::string prefix, int n)
{
    return prefix.append(std::to_string(n));
}

} // namespace

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
                                             numbered("Software\\Writer", writer), true);
                for (int i = 0; i < ValuesEach; ++i) {
                    key->writeInteger(numbered(numbered("w", writer) + "-", i), i);
                    own->writeString(numbered("v", i), "x");
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
            EXPECT_EQ(key->readInteger(numbered(numbered("w", writer) + "-", i)), i);
        auto own =
            RegistryKey::open(Hive::CurrentUser, numbered("Software\\Writer", writer), false);
        ASSERT_TRUE(own);
        EXPECT_EQ(own->valueNames().size(), size_t{ValuesEach});
    }
    EXPECT_EQ(key->readString("Before"), "x");
}
