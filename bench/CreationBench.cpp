// Creating a 300-page book of about 100 MB from its JPEG files, as "Créer le fichier" does
// (the images copied and hashed, the meta record, one rename), in turns with cat of the same
// files into one file followed by md5sum of them, and with the same where the file is synced
// to disk as the book is.
#include "app/core/creation/CreationMeta.h"
#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr int PageCount = 300;

// A noisy JPEG of about 330 KB.
QByteArray noisyJpeg()
{
    QImage image(640, 640, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 85))
        throw std::runtime_error("cannot encode the JPEG");
    return bytes;
}

// 300 different page files: the same picture with the page number in a comment segment.
const CreationContent &content()
{
    static const CreationContent pages = [] {
        const QByteArray jpeg = noisyJpeg();
        CreationContent book;
        for (int i = 0; i < PageCount; ++i) {
            const QByteArray text = "page " + QByteArray::number(i);
            QByteArray comment("\xff\xfe", 2);
            comment.append(char(0)).append(char(text.size() + 2)).append(text);
            const fs::path path = bench::FixtureFolder() / ("page" + std::to_string(i) + ".jpg");
            std::ofstream out(path, std::ios::binary);
            const QByteArray page = jpeg.left(2) + comment + jpeg.mid(2);
            out.write(page.constData(), page.size());
            book.PageFiles << QString::fromStdString(path.string());
        }
        return book;
    }();
    return pages;
}

std::string pageArguments()
{
    std::string arguments;
    for (const QString &file : content().PageFiles)
        arguments += " '" + file.toStdString() + "'";
    return arguments;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QString book = QString::fromStdString((bench::FixtureFolder() / "livre.bd").string());
    const std::string pages = pageArguments();
    const std::string out = (bench::FixtureFolder() / "cat.out").string();
    const std::string cat = "cat" + pages + " > '" + out + "'";
    const std::string md5sum = " && md5sum" + pages + " > /dev/null";
    const auto createBook = [&] { WriteCreatedBook(content(), book); };
    const int runs = bench::Repetitions(argc, argv, 11);

    bench::GoalTable table;
    table.add("creating the book / cat + md5sum of its files",
              bench::RunInterleaved(
                  createBook, [&] { bench::RunShell(cat + md5sum); }, runs));
    table.add(
        "creating the book / cat + sync + md5sum of its files",
        bench::RunInterleaved(
            createBook, [&] { bench::RunShell(cat + " && sync '" + out + "'" + md5sum); }, runs));
    table.print();
    return 0;
}
