#include "bench/BenchBooks.h"
#include "bench/BenchFiles.h"

#include "app/core/creation/CreationMeta.h"
#include "app/core/files/BookWriter.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <stdexcept>

#include <unistd.h>

namespace bench {

namespace {

namespace fs = std::filesystem;

// Distinct pictures per book; the pages cycle through them.
constexpr int DistinctPages = 16;

// Grain of a scan: every channel of every pixel moved by up to `amplitude` either way.
void addGrain(QImage &page, int amplitude, quint32 seed)
{
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < page.height(); ++y) {
        auto *pixel = reinterpret_cast<QRgb *>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x, ++pixel) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const auto moved = [&](int value, int shift) {
                const int offset = int((state >> shift) & 0xff) * (2 * amplitude + 1) / 256;
                return std::clamp(value + offset - amplitude, 0, 255);
            };
            *pixel =
                qRgb(moved(qRed(*pixel), 0), moved(qGreen(*pixel), 8), moved(qBlue(*pixel), 16));
        }
    }
}

} // namespace

// Paper, eight framed panels of shapes. Line art is about 330 KB as a JPEG of 2,500 x 3,500 at
// quality 85.
QImage ComicPage(QSize size, int seed, PageKind kind)
{
    const bool scan = kind == PageKind::Scan;
    QImage page(size, QImage::Format_RGB32);
    QPainter painter(&page);
    painter.scale(size.width() / 2500.0, size.height() / 3500.0);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor paper(246, 241, 226);
    QRadialGradient aged(1250, 1750, 2200);
    aged.setColorAt(0, paper);
    aged.setColorAt(1, paper.darker(125));
    painter.fillRect(QRect(0, 0, 2500, 3500), scan ? QBrush(aged) : QBrush(paper));
    QRandomGenerator random(static_cast<quint32>(seed) + 1);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column) {
            const QRect panel(100 + column * 1175, 100 + row * 830, 1125, 780);
            painter.setClipRect(panel);
            painter.setPen(Qt::NoPen);
            for (int shape = 0; shape < 3; ++shape) {
                const QColor colour = QColor::fromHsv(random.bounded(360), 90 + random.bounded(120),
                                                      120 + random.bounded(130));
                const QRect box(panel.x() + random.bounded(1000), panel.y() + random.bounded(700),
                                60 + random.bounded(400), 60 + random.bounded(400));
                QLinearGradient shading(box.topLeft(), box.bottomRight());
                shading.setColorAt(0, colour.lighter(140));
                shading.setColorAt(1, colour.darker(160));
                painter.setBrush(scan ? QBrush(shading) : QBrush(colour));
                if (shape % 2 == 0)
                    painter.drawEllipse(box);
                else
                    painter.drawRoundedRect(box, 30, 30);
            }
            painter.setClipping(false);
            painter.setPen(QPen(Qt::black, 10));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(panel);
        }
    painter.end();
    if (scan)
        addGrain(page, 6, static_cast<quint32>(seed));
    return page;
}

namespace {

// The fixture folder, removed with everything in it when the program ends.
struct OwnFolder {
    fs::path path;
    ~OwnFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// A book of `pageCount` pages cycling through the given pictures, written by the creation
// window's writer, so that its meta record holds every MD5 text.
FixtureBook makeBook(const std::string &name, int pageCount, const std::vector<fs::path> &pictures,
                     QSize pageSize)
{
    FixtureBook book;
    book.path = FixtureFolder() / (name + ".bd");
    book.pageSize = pageSize;
    CreationContent content;
    for (int i = 0; i < pageCount; ++i) {
        book.pages.push_back(pictures[std::size_t(i) % pictures.size()]);
        content.PageFiles << QtPath(book.pages.back());
    }
    WriteCreatedBook(content, QtPath(book.path));
    return book;
}

std::vector<fs::path> writePictures(const std::string &name, QSize size,
                                    PageKind kind = PageKind::LineArt)
{
    std::vector<fs::path> files;
    for (int i = 0; i < DistinctPages; ++i) {
        files.push_back(FixtureFolder() / (name + "-" + std::to_string(i) + ".jpg"));
        if (!ComicPage(size, i, kind).save(QtPath(files.back()), "JPEG", 85))
            throw std::runtime_error("cannot write a fixture page");
    }
    return files;
}

const FixtureBook &comicBook(const std::string &name, QSize size, PageKind kind)
{
    static std::map<std::string, FixtureBook> books;
    auto found = books.find(name);
    if (found == books.end()) {
        std::cerr << "Making the fixture book " << name << "...\n";
        found =
            books.emplace(name, makeBook(name, 300, writePictures(name, size, kind), size)).first;
    }
    return found->second;
}

} // namespace

const fs::path &FixtureFolder()
{
    static const OwnFolder folder{[] {
        const fs::path path =
            fs::temp_directory_path() / ("quirelle-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }()};
    return folder.path;
}

const FixtureBook &LargePageBook(PageKind kind)
{
    return kind == PageKind::Scan ? comicBook("scans", QSize(2500, 3500), kind)
                                  : comicBook("large", QSize(2500, 3500), kind);
}

const FixtureBook &LongLargePageBook()
{
    static const FixtureBook book = [] {
        const FixtureBook &large = LargePageBook();
        const std::vector<fs::path> pictures(large.pages.begin(),
                                             large.pages.begin() + DistinctPages);
        std::cerr << "Making the fixture book large-4000...\n";
        return makeBook("large-4000", 4000, pictures, large.pageSize);
    }();
    return book;
}

const FixtureBook &HalfSizePageBook()
{
    return comicBook("half-size", QSize(1250, 1750), PageKind::LineArt);
}

const FixtureBook &SmallPictureBook(int pages)
{
    static std::map<int, FixtureBook> books;
    auto found = books.find(pages);
    if (found == books.end()) {
        static const std::vector<fs::path> pictures = writePictures("small", QSize(120, 168));
        found = books
                    .emplace(pages, makeBook("small-" + std::to_string(pages), pages, pictures,
                                             QSize(120, 168)))
                    .first;
    }
    return found->second;
}

const FixtureBook &TallFirstPageBook()
{
    static const FixtureBook book = [] {
        const fs::path tall = FixtureFolder() / "tall.jpg";
        QImage picture(1, 30000, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        if (!picture.save(QtPath(tall), "JPEG", 85))
            throw std::runtime_error("cannot write a fixture page");
        std::vector<fs::path> pictures{tall};
        const FixtureBook &small = SmallPictureBook(30);
        pictures.insert(pictures.end(), small.pages.begin(), small.pages.begin() + 29);
        return makeBook("tall-first", 30, pictures, picture.size());
    }();
    return book;
}

void RunShell(const std::string &command)
{
    if (std::system(command.c_str()) != 0) {
        std::cerr << "failed: " << command << '\n';
        std::exit(1);
    }
}

void Md5sum(const fs::path &file)
{
    RunShell("md5sum " + Quoted(file) + " >/dev/null");
}

std::string Quoted(const fs::path &path)
{
    // Appended, not concatenated: GCC 12 at -O3 raises a -Wrestrict false alarm on
    // "'" + path.string().
    std::string quoted = "'";
    return quoted.append(path.string()).append("'");
}

} // namespace bench
