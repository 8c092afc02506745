#pragma once

// Fixture books for the benchmarks, made in a temporary folder that is removed at exit.

#include <QImage>
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

// Line art: flat shapes on flat paper, which libjpeg decodes fast. Scan: as a scanned page
// comes, shaded shapes on paper that darkens towards its edges, with grain in every pixel;
// about 2.6 times as large and 1.8 times as slow to decode.
enum class PageKind { LineArt, Scan };

// A comic page of eight panels drawn at any size as at 2,500 x 3,500; `seed` varies the
// drawing.
QImage ComicPage(QSize size, int seed, PageKind kind);

// 300 comic pages of 2,500 x 3,500 at quality 85 (about 100 MB of line art, 260 MB of scans),
// with the meta record of the creation window (MD5 texts, page count).
const FixtureBook &LargePageBook(PageKind kind = PageKind::LineArt);

// 4,000 pages of the same line art, about 1.3 GB.
const FixtureBook &LongLargePageBook();

// The same 300 pages of line art at half the width and height.
const FixtureBook &HalfSizePageBook();

// `pages` small pictures (120 x 168, a few kB each) with the creation window's meta record.
const FixtureBook &SmallPictureBook(int pages);

// A first page of 1 x 30,000 pixels, then 29 of the small pictures.
const FixtureBook &TallFirstPageBook();

// The folder that holds the fixtures and whatever a benchmark writes: made on first use in the
// temporary directory, removed with its contents when the program ends.
const std::filesystem::path &FixtureFolder();

// md5sum of the file, in a process of its own: the reference for reading a book.
void Md5sum(const std::filesystem::path &file);

// Runs a command through the shell; a failure ends the benchmark program.
void RunShell(const std::string &command);

// The path in single quotes, for the shell.
std::string Quoted(const std::filesystem::path &path);

} // namespace bench
