#pragma once

// Fixture books for the benchmarks, made in a temporary folder that is removed at exit.

#include <QSize>

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct FixtureBook {
    std::filesystem::path path;
    // The JPEG file copied into each image record, record 0 first.
    std::vector<std::filesystem::path> pages;
    QSize pageSize;
};

// 300 comic pages of 2,500 x 3,500 at quality 85, about 100 MB, with the meta record of the
// creation window (MD5 texts, page count).
const FixtureBook &LargePageBook();

// 4,000 pages of the same pictures, about 1.3 GB.
const FixtureBook &LongLargePageBook();

// The same 300 pages at half the width and height.
const FixtureBook &HalfSizePageBook();

// `pages` small pictures (120 x 168, a few kB each) with the creation window's meta record.
const FixtureBook &SmallPictureBook(int pages);

// A first page of 1 x 30,000 pixels, then 29 of the small pictures.
const FixtureBook &TallFirstPageBook();

// The folder that holds the fixtures.
const std::filesystem::path &FixtureFolder();

// Runs a command through the shell; a failure ends the benchmark program.
void RunShell(const std::string &command);

// The path in single quotes, for the shell.
std::string Quoted(const std::filesystem::path &path);

} // namespace bench
