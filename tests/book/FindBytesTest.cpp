#include "app/book/BookFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::int32_t naiveFind(const std::string &pattern, const Bytes &buffer, std::int32_t start)
{
    if (pattern.empty())
        return -1;
    const std::int64_t m = std::int64_t(pattern.size());
    for (std::int64_t i = std::max(start, 1) - 1; i + m <= std::int64_t(buffer.size()); ++i)
        if (std::equal(pattern.begin(), pattern.end(), buffer.begin() + i,
                       [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }))
            return std::int32_t(i);
    return -1;
}

std::int32_t find(const std::string &pattern, const std::string &buffer, std::int32_t start)
{
    return FindBytes(pattern, reinterpret_cast<const std::uint8_t *>(buffer.data()),
                     std::int32_t(buffer.size()), start);
}

} // namespace

TEST(FindBytes, Cases)
{
    struct Case {
        const char *name;
        std::string pattern, buffer;
        std::int32_t start, expected;
    };
    const Case cases[] = {
        {"empty pattern", "", "abc", 1, -1},
        {"empty buffer", "a", "", 1, -1},
        {"pattern longer than buffer", "abcd", "abc", 1, -1},
        {"first of two occurrences", "%EOF", "xx%EOFyy%EOF", 1, 2},
        {"second when start is past the first", "%EOF", "xx%EOFyy%EOF", 4, 8},
        {"ends at the last byte", "end", "the end", 1, 4},
        {"start 10 skips offset 0", "%PDF", "%PDF......%PDF", 10, 10},
        {"start 10, match beginning at the 10th byte", "ab", "123456789ab", 10, 9},
        {"start below 1 counts as 1", "ab", "ab", -5, 0},
        {"start past the end", "a", "aaa", 4, -1},
        {"single byte", "z", "abz", 1, 2},
        {"high bytes", "\xff\xd8", std::string("\x00\xff\xd8", 3), 1, 1},
        {"first and last agree, middle differs", "abxab", "abyababxab", 1, 5},
        {"whole buffer", "abc", "abc", 1, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(find(c.pattern, c.buffer, c.start), c.expected) << c.name;
}

TEST(FindBytes, AgreesWithNaiveSearch)
{
    std::mt19937 random(12345);
    // A small alphabet makes partial matches and repeats frequent.
    std::uniform_int_distribution<int> letter(0, 3), patternLength(1, 12), bufferLength(0, 300);
    for (int round = 0; round < 5000; ++round) {
        std::string pattern(std::size_t(patternLength(random)), '\0');
        for (char &ch : pattern)
            ch = char("ab\xff\x00"[letter(random)]);
        Bytes buffer(std::size_t(bufferLength(random)));
        for (std::uint8_t &byte : buffer)
            byte = std::uint8_t("ab\xff\x00"[letter(random)]);
        const std::int32_t start =
            std::uniform_int_distribution<int>(-1, int(buffer.size()) + 2)(random);
        ASSERT_EQ(FindBytes(pattern, buffer.data(), std::int32_t(buffer.size()), start),
                  naiveFind(pattern, buffer, start))
            << "round " << round;
    }
}
