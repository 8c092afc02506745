// CountPages + BuildPageList, which read and hash every image of the book, in turns with
// md5sum reading the same file, on pages of line art and on scans; and the same opening of
// books of more and more small pictures.
#include "app/core/pages/PageList.h"

#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using bench::FixtureBook;

class CountingPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        ++messages;
        return MessageAnswer::Ok;
    }
    int messages = 0;
};

// Opens the book and builds its page list as Charge does; a book that does not open cleanly
// ends the benchmark program.
class PageListBuilder {
public:
    explicit PageListBuilder(const FixtureBook &book) : book_(book)
    {
        window_.CurrentFile = QString::fromStdString(book.path.string());
    }
    void build()
    {
        window_.Book = OpenBook::open(window_.CurrentFile);
        window_.BlankCount = 0;
        CountPages(window_, prompter_, ui_);
        BuildPageList(window_, prompter_);
        // Every image a page; a book of pages only ends with two blank pages.
        if (prompter_.messages != 0 || window_.PageList.size() != book_.pages.size() + 2) {
            std::fprintf(stderr, "the book %s did not open cleanly\n", book_.path.c_str());
            std::exit(1);
        }
    }

private:
    const FixtureBook &book_;
    BookPages window_;
    CountingPrompter prompter_;
    NoUiHooks ui_;
};

void countAndBuildPageList(benchmark::State &run, const FixtureBook &book)
{
    PageListBuilder builder(book);
    for (auto _ : run)
        builder.build();
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(book.path));
    run.counters["book_MB"] = static_cast<double>(size) / 1e6;
    run.SetBytesProcessed(run.iterations() * size);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    for (const int pages : {500, 1000, 2000, 4000})
        benchmark::RegisterBenchmark(
            ("CountAndBuildPageList/small:" + std::to_string(pages)).c_str(), countAndBuildPageList,
            bench::SmallPictureBook(pages))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    bench::RunBenchmarks(argc, argv);

    // At least 0.9 times md5sum's throughput: at most 1 / 0.9 times its time.
    bench::GoalTable goals;
    for (const auto &[pages, kind] : {std::pair("line art", bench::PageKind::LineArt),
                                      std::pair("scans", bench::PageKind::Scan)}) {
        const FixtureBook &book = bench::LargePageBook(kind);
        PageListBuilder builder(book);
        goals.add(std::string("CountPages + BuildPageList / md5sum of the book, ") + pages,
                  bench::RunInterleaved([&] { builder.build(); }, [&] { bench::Md5sum(book.path); },
                                        bench::Repetitions(argc, argv, 11)),
                  1 / 0.9);
    }
    goals.print();
    return 0;
}
