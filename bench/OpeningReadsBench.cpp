// What opening a book reads: the bytes that go through read() (rchar of /proc/self/io) while
// the book is opened as the window opens it (its chain walked, every image checked against its
// MD5 text, the page list built) and its first page read, as a multiple of the book's size;
// at most 1.1.
#include "app/core/pages/PageList.h"
#include "bench/BenchBooks.h"
#include "tests/support/ProcessIo.h"
#include "tests/support/RecordingPrompter.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using bench::FixtureBook;

void openBook(benchmark::State &run, const FixtureBook &book)
{
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(book.path));
    RecordingPrompter prompter;
    NoUiHooks ui;
    std::int64_t read = 0;
    for (auto _ : run) {
        const std::int64_t before = BytesReadSoFar();
        BookPages window;
        window.CurrentFile = QString::fromStdString(book.path.string());
        window.Book = OpenBook::open(window.CurrentFile);
        window.BlankCount = 0;
        CountPages(window, prompter, ui);
        BuildPageList(window, prompter);
        Bytes firstPage;
        if (window.PageList.empty() || !window.Book.read(window.PageList.front().Image, firstPage))
            run.SkipWithError("the book has no first page");
        read += BytesReadSoFar() - before;
    }
    if (!prompter.messages.empty())
        run.SkipWithError("the book did not open cleanly");
    run.counters["book_MB"] = static_cast<double>(size) / 1e6;
    run.counters["read_x_size"] =
        static_cast<double>(read) / static_cast<double>(size * std::int64_t(run.iterations()));
    run.SetBytesProcessed(run.iterations() * size);
}

void add(const std::string &name, const FixtureBook &book)
{
    benchmark::RegisterBenchmark(("OpenBook/" + name).c_str(), openBook, book)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    add("300 pages of 2500x3500", bench::LargePageBook());
    add("300 pages of 1250x1750", bench::HalfSizePageBook());
    add("16000 small pictures", bench::SmallPictureBook(16000));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
