// Opening a 300-page book of about 100 MB: CountPages + BuildPageList (which reads and
// hashes every image), beside md5sum reading the same file.
#include "app/core/CreationMeta.h"
#include "app/core/PageList.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

class SilentPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        ++messages;
        return MessageAnswer::Ok;
    }
    int messages = 0;
};

// A noisy JPEG of about 330 KB, so that 300 of them make about 100 MB.
void writeNoisyJpeg(const std::filesystem::path &path)
{
    QImage image(640, 640, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    if (!image.save(QString::fromStdString(path.string()), "JPEG", 85))
        throw std::runtime_error("cannot write the JPEG");
}

// Cover, 296 pages and 3 back covers made by the creation window's writer.
const std::filesystem::path &bookPath()
{
    static const std::filesystem::path book = [] {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / "quirelle-pagelist-bench";
        std::filesystem::create_directories(dir);
        const std::filesystem::path jpeg = dir / "page.jpg";
        writeNoisyJpeg(jpeg);
        const QString image = QString::fromStdString(jpeg.string());
        CreationContent content;
        content.Cover = image;
        content.CoverChecked = true;
        for (int i = 0; i < 296; ++i)
            content.PageFiles << image;
        content.QuatrsFiles = {image, image, image};
        content.QuatrsChecked = true;
        const std::filesystem::path path = dir / "livre.bd";
        const QString name = QString::fromStdString(path.string());
        WriteCreatedBook(content, name);
        return path;
    }();
    return book;
}

void CountAndBuildPageList(benchmark::State &state)
{
    const std::filesystem::path &path = bookPath();
    MainWindowState window;
    window.CurrentFile = QString::fromStdString(path.string());
    SilentPrompter prompter;
    NoUiHooks ui;
    for (auto _ : state) {
        window.BookStream = std::make_unique<std::ifstream>(path, std::ios::binary);
        window.BlankCount = 0;
        CountPages(window, prompter, ui);
        BuildPageList(window, prompter);
        benchmark::DoNotOptimize(window.PageList.data());
    }
    if (prompter.messages != 0 || window.PageList.size() != 300)
        state.SkipWithError("the book did not open cleanly");
    state.counters["book_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(CountAndBuildPageList)->Unit(benchmark::kMillisecond)->UseRealTime();

void Md5sumOfTheSameFile(benchmark::State &state)
{
    const std::filesystem::path &path = bookPath();
    const std::string command = "md5sum '" + path.string() + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("md5sum failed");
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(Md5sumOfTheSameFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ignored;
    std::filesystem::remove_all(bookPath().parent_path(), ignored);
    return 0;
}
