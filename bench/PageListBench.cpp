// CountPages + BuildPageList, which read and hash every image of the book, beside md5sum
// reading the same file; and the same opening of books of more and more small pictures.
#include "app/core/pages/PageList.h"

#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
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

void countAndBuildPageList(benchmark::State &run, const FixtureBook &book)
{
    BookPages window;
    window.CurrentFile = QString::fromStdString(book.path.string());
    CountingPrompter prompter;
    NoUiHooks ui;
    for (auto _ : run) {
        window.Book = OpenBook::open(window.CurrentFile);
        window.BlankCount = 0;
        CountPages(window, prompter, ui);
        BuildPageList(window, prompter);
        benchmark::DoNotOptimize(window.PageList.data());
    }
    // Every image a page; a book of pages only ends with two blank pages.
    if (prompter.messages != 0 || window.PageList.size() != book.pages.size() + 2)
        run.SkipWithError("the book did not open cleanly");
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(book.path));
    run.counters["book_MB"] = static_cast<double>(size) / 1e6;
    run.SetBytesProcessed(run.iterations() * size);
}

void md5sum(benchmark::State &run, const FixtureBook &book)
{
    for (auto _ : run)
        bench::RunShell("md5sum " + bench::Quoted(book.path) + " >/dev/null");
    run.SetBytesProcessed(run.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(book.path)));
}

void add(const std::string &name, void (*body)(benchmark::State &, const FixtureBook &),
         const FixtureBook &book)
{
    benchmark::RegisterBenchmark(name.c_str(), body, book)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    add("CountAndBuildPageList/large", countAndBuildPageList, bench::LargePageBook());
    add("Md5sum/large", md5sum, bench::LargePageBook());
    for (const int pages : {500, 1000, 2000, 4000})
        add("CountAndBuildPageList/small:" + std::to_string(pages), countAndBuildPageList,
            bench::SmallPictureBook(pages));
    // At least 0.9 times md5sum's throughput: at most 1 / 0.9 times its time.
    bench::RunBenchmarksWithGoals(argc, argv,
                                  {{"CountPages + BuildPageList / md5sum of the book",
                                    "CountAndBuildPageList/large",
                                    {"Md5sum/large"},
                                    1 / 0.9}});
    return 0;
}
