#include "app/core/files/Md5.h"

#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string md5Text(const std::string &message)
{
    MD5Context context;
    MD5Init(context);
    MD5Update(context, message.data(), std::uint32_t(message.size()));
    MD5Digest digest;
    MD5Final(context, digest);
    return MD5DigestToText(digest);
}

const std::string EmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";

} // namespace

TEST(MD5, Rfc1321TestSuite)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", EmptyDigest},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto &[message, expected] : cases)
        EXPECT_EQ(md5Text(message), expected) << '"' << message << '"';
}

TEST(MD5, PaddingBoundaries)
{
    // Digests of 55, 56, 63, 64 and 65 bytes 'a' (one or two padding blocks).
    const std::pair<std::size_t, std::string> cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"}, {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const auto &[length, expected] : cases)
        EXPECT_EQ(md5Text(std::string(length, 'a')), expected) << length;
}

TEST(MD5, SplitUpdatesGiveTheSameDigest)
{
    std::string message(300, '\0');
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = char(i * 7 + 3);
    const std::string whole = md5Text(message);
    for (const std::size_t first : {0, 1, 55, 56, 63, 64, 65, 128, 299, 300}) {
        for (const std::size_t second : {0, 1, 63, 64, 65}) {
            if (first + second > message.size())
                continue;
            MD5Context context;
            MD5Init(context);
            MD5Update(context, message.data(), std::uint32_t(first));
            MD5Update(context, message.data() + first, std::uint32_t(second));
            MD5Update(context, message.data() + first + second,
                      std::uint32_t(message.size() - first - second));
            MD5Digest digest;
            MD5Final(context, digest);
            EXPECT_EQ(MD5DigestToText(digest), whole) << first << " + " << second;
        }
    }
}

TEST(MD5, FinalClearsTheContext)
{
    MD5Context context;
    MD5Init(context);
    MD5Update(context, "abcdef", 6);
    MD5Digest digest;
    MD5Final(context, digest);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(&context);
    for (std::size_t i = 0; i < sizeof context; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(MD5File, HashesTheWholeFile)
{
    TempDir dir;
    Bytes content(10'000'003);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = std::uint8_t(i * 31 + i / 4096);
    WriteFileBytes(dir / "page.jpg", content);
    MD5Digest digest;
    EXPECT_TRUE(MD5File(dir / "page.jpg", digest));
    EXPECT_EQ(MD5DigestToText(digest), Md5TextOf(content));
}

TEST(MD5File, HashesAFileLargerThan4GiB)
{
    // A sparse file of 2^32 + 5 zero bytes: a size cut to 32 bits would hash 5 of them.
    TempDir dir;
    WriteFileBytes(dir / "big.jpg", {});
    std::filesystem::resize_file(dir / "big.jpg", (std::uintmax_t(1) << 32) + 5);
    MD5Digest digest;
    EXPECT_TRUE(MD5File(dir / "big.jpg", digest));
    EXPECT_EQ(MD5DigestToText(digest), "968a8809aa0886d87f385d88733a98d2");
}

TEST(MD5File, UnreadableOrEmptyGivesTheEmptyDigest)
{
    TempDir dir;
    WriteFileBytes(dir / "empty.jpg", {});
    struct Case {
        const char *name;
        std::filesystem::path path;
        bool read;
    };
    const Case cases[] = {
        {"missing", dir / "missing.jpg", false},
        {"directory", dir.path(), false},
        {"empty", dir / "empty.jpg", true},
    };
    for (const Case &c : cases) {
        MD5Digest digest;
        digest.fill(0xaa);
        EXPECT_EQ(MD5File(c.path, digest), c.read) << c.name;
        EXPECT_EQ(MD5DigestToText(digest), EmptyDigest) << c.name;
    }
}
