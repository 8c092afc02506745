#include "bench/BenchBooks.h"

#include "app/core/creation/CreationMeta.h"
#include "app/core/files/BookWriter.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

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

QString Q(const fs::path &path)
{
    return QString::fromStdString(path.string());
}

// A comic page of line art: paper, eight framed panels of flat shapes. About 330 KB as a
// JPEG of 2,500 x 3,500 at quality 85; `seed` varies the drawing.
QImage comicPage(QSize size, int seed)
{
    QImage page(size, QImage::Format_RGB32);
    page.fill(QColor(246, 241, 226));
    QRandomGenerator random(static_cast<quint32>(seed) + 1);
    QPainter painter(&page);
    painter.scale(size.width() / 2500.0, size.height() / 3500.0);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column) {
            const QRect panel(100 + column * 1175, 100 + row * 830, 1125, 780);
            painter.setClipRect(panel);
            painter.setPen(Qt::NoPen);
            for (int shape = 0; shape < 3; ++shape) {
                painter.setBrush(QColor::fromHsv(random.bounded(360), 90 + random.bounded(120),
                                                 120 + random.bounded(130)));
                const QRect box(panel.x() + random.bounded(1000), panel.y() + random.bounded(700),
                                60 + random.bounded(400), 60 + random.bounded(400));
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
    return page;
}

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
        content.PageFiles << Q(book.pages.back());
    }
    WriteCreatedBook(content, Q(book.path));
    return book;
}

std::vector<fs::path> writePictures(const std::string &name, QSize size)
{
    std::vector<fs::path> files;
    for (int i = 0; i < DistinctPages; ++i) {
        files.push_back(FixtureFolder() / (name + "-" + std::to_string(i) + ".jpg"));
        if (!comicPage(size, i).save(Q(files.back()), "JPEG", 85))
            throw std::runtime_error("cannot write a fixture page");
    }
    return files;
}

const FixtureBook &comicBookOfSize(const std::string &name, QSize size)
{
    static std::map<std::string, FixtureBook> books;
    auto found = books.find(name);
    if (found == books.end()) {
        std::cerr << "Making the fixture book " << name << "...\n";
        found = books.emplace(name, makeBook(name, 300, writePictures(name, size), size)).first;
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

const FixtureBook &LargePageBook()
{
    return comicBookOfSize("large", QSize(2500, 3500));
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
    return comicBookOfSize("half-size", QSize(1250, 1750));
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
        if (!picture.save(Q(tall), "JPEG", 85))
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

std::string Quoted(const fs::path &path)
{
    // Appended, not concatenated: GCC 12 at -O3 raises a -Wrestrict false alarm on
    // "'" + path.string().
    std::string quoted = "'";
    return quoted.append(path.string()).append("'");
}

} // namespace bench
