// Creating a 300-page book of about 100 MB from its JPEG files, as "Créer le fichier" does
// (the images copied and hashed, the meta record, one rename), beside cat of the same files
// into one file followed by md5sum of them, and the same with the file synced to disk as
// the book is.
#include "app/core/creation/CreationMeta.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int PageCount = 300;

const fs::path &benchDir()
{
    static const fs::path dir = [] {
        const fs::path path =
            fs::temp_directory_path() / ("quirelle-creation-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return dir;
}

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
            const fs::path path = benchDir() / ("page" + std::to_string(i) + ".jpg");
            std::ofstream out(path, std::ios::binary);
            const QByteArray page = jpeg.left(2) + comment + jpeg.mid(2);
            out.write(page.constData(), page.size());
            book.PageFiles << QString::fromStdString(path.string());
        }
        return book;
    }();
    return pages;
}

std::int64_t pagesSize()
{
    std::int64_t size = 0;
    for (const QString &file : content().PageFiles)
        size += std::int64_t(fs::file_size(file.toStdString()));
    return size;
}

void CreateBookOf300Pages(benchmark::State &state)
{
    const QString book = QString::fromStdString((benchDir() / "livre.bd").string());
    for (auto _ : state)
        WriteCreatedBook(content(), book);
    state.counters["pages_MB"] = double(pagesSize()) / 1e6;
    state.SetBytesProcessed(state.iterations() * pagesSize());
}
BENCHMARK(CreateBookOf300Pages)->Unit(benchmark::kMillisecond)->UseRealTime();

void runShell(benchmark::State &state, const std::string &command)
{
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("the command failed");
    state.SetBytesProcessed(state.iterations() * pagesSize());
}

std::string pageArguments()
{
    std::string arguments;
    for (const QString &file : content().PageFiles)
        arguments += " '" + file.toStdString() + "'";
    return arguments;
}

void CatAndMd5sumOfTheSameFiles(benchmark::State &state)
{
    const std::string pages = pageArguments();
    const std::string out = (benchDir() / "cat.out").string();
    runShell(state, "cat" + pages + " > '" + out + "' && md5sum" + pages + " > /dev/null");
}
BENCHMARK(CatAndMd5sumOfTheSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void CatSyncAndMd5sumOfTheSameFiles(benchmark::State &state)
{
    const std::string pages = pageArguments();
    const std::string out = (benchDir() / "cat.out").string();
    runShell(state, "cat" + pages + " > '" + out + "' && sync '" + out + "' && md5sum" + pages +
                        " > /dev/null");
}
BENCHMARK(CatSyncAndMd5sumOfTheSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ignored;
    fs::remove_all(benchDir(), ignored);
    return 0;
}
