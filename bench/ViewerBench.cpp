// Opening books in the main window: the time from Charge to the first page shown, to the
// visible rows of the thumbnail grid, to every thumbnail of the grid scrolled through, and of a
// page turn, each in turns with the least work that any program must do for it (md5sum of the
// book, libjpeg decoding the pages in this process), on pages of line art and on scans; and the
// peak memory and the bytes read of the open book with its whole grid.
#include "app/Unit1.h"
#include "app/adapters/QtUiHooks.h"
#include "app/core/program/MemoryReuse.h"
#include "app/core/seams/LinkOpener.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/widgets/ClientArea.h"

#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"
#include "bench/ReferenceDecoder.h"
#include "tests/support/ProcessIo.h"
#include "tests/support/RecordingLinks.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include <sys/resource.h>

namespace {

using bench::FixtureBook;

const QSize WindowSize(1280, 1000);

// The thumbnail loop lets messages run after each row: the first time it does, the first page
// and the first row of thumbnails are on screen and the opening is ended there.
class StopAtFirstPage : public UiHooks {
public:
    void processPendingEvents() override { state->CurrentFile.clear(); }
    void setBusyCursor(bool) override {}
    MainWindowState *state = nullptr;
};

// Opening a book in a window ends at its first page shown, once the rows of the grid around
// the view are loaded (as the program does), or once the grid has been scrolled through, a
// view height at a time, each step's rows loaded before the next: every thumbnail decoded once.
enum class Opening { ToFirstPage, ToVisibleRows, ToWholeGrid };

struct Window {
    explicit Window(Opening until)
        : opening(until), form({prompter, dialogs,
                                until == Opening::ToFirstPage ? static_cast<UiHooks &>(stop) : grid,
                                programs, links, QStringLiteral("quirelle")})
    {
        stop.state = &form.state;
        form.resize(WindowSize);
        form.show();
        QCoreApplication::processEvents();
    }
    void charge(const FixtureBook &book)
    {
        form.Charge(QString::fromStdString(book.path.string()));
        if (opening == Opening::ToWholeGrid)
            scrollThroughGrid();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void scrollThroughGrid()
    {
        form.Visionneuse1Click();
        QScrollBar *scroll = form.Client->verticalScrollBar();
        for (;;) {
            QCoreApplication::processEvents();
            if (scroll->value() == scroll->maximum())
                break;
            scroll->setValue(scroll->value() + form.Client->clientHeight());
        }
    }
    Opening opening;
    RecordingPrompter prompter;
    ScriptedDialogs dialogs;
    StopAtFirstPage stop;
    QtUiHooks grid;
    SystemPrograms programs;
    RecordingLinks links;
    TForm1 form;
};

// Turns between two pages in the middle of the open book, its grid loaded.
constexpr int TurnedPages[2] = {150, 151};

// The smallest libjpeg scale M/8 whose picture is not below the thumbnail's picture: the
// window's column width w = (client width - 20) div 5 and row height h = page height x w div
// page width give pictures of (w - 6) x (h - 6).
int thumbnailScale(const FixtureBook &book, int clientWidth)
{
    const int w = (clientWidth - 20) / 5;
    const int h = book.pageSize.height() * w / book.pageSize.width();
    for (int m = 1; m < 8; ++m)
        if ((book.pageSize.width() * m + 7) / 8 >= w - 6 &&
            (book.pageSize.height() * m + 7) / 8 >= h - 6)
            return m;
    return 8;
}

// Pages and thumbnails are decoded with the accurate transform, as the program does.
void decode(const std::filesystem::path &page, int eighths = 8)
{
    bench::DecodeWithLibjpeg(page, eighths, bench::Transform::Accurate);
}

// The whole grid of the book, at most limit times its reference.
void addWholeGridGoal(bench::GoalTable &table, const std::string &pages, const FixtureBook &book,
                      int runs, double limit)
{
    Window window(Opening::ToWholeGrid);
    const int scale = thumbnailScale(book, window.form.Client->clientWidth());
    table.add("whole grid / (md5sum + page 1 + libjpeg M/8 of all), " + pages,
              bench::RunInterleaved([&] { window.charge(book); },
                                    [&] {
                                        bench::Md5sum(book.path);
                                        decode(book.pages.front());
                                        for (const std::filesystem::path &page : book.pages)
                                            decode(page, scale);
                                    },
                                    runs),
              limit);
}

// The first page, the whole grid and a page turn of a book of large pages.
void addGoals(bench::GoalTable &table, const std::string &pages, const FixtureBook &book, int runs)
{
    {
        Window window(Opening::ToFirstPage);
        table.add("first page shown / (md5sum + libjpeg page 1), " + pages,
                  bench::RunInterleaved([&] { window.charge(book); },
                                        [&] {
                                            bench::Md5sum(book.path);
                                            decode(book.pages.front());
                                        },
                                        runs),
                  1.2);
    }
    addWholeGridGoal(table, pages, book, runs, 1.1);
    {
        Window window(Opening::ToVisibleRows);
        window.charge(book);
        int turn = 0;
        int referenceTurn = 0;
        table.add("page turn / libjpeg of that page, " + pages,
                  bench::RunInterleaved(
                      [&] { window.form.ShowEntry(TurnedPages[turn++ % 2]); },
                      [&] { decode(book.pages[TurnedPages[referenceTurn++ % 2]]); }, runs * 3),
                  1.2);
    }
}

void openBook(benchmark::State &run, Opening opening, const FixtureBook &book)
{
    Window window(opening);
    for (auto _ : run)
        window.charge(book);
}

void registerBenchmarks(const std::string &name, const FixtureBook &book)
{
    for (const auto &[what, opening] : {std::pair("OpenToFirstPage/", Opening::ToFirstPage),
                                        std::pair("OpenToVisibleRows/", Opening::ToVisibleRows),
                                        std::pair("OpenToWholeGrid/", Opening::ToWholeGrid)})
        benchmark::RegisterBenchmark((what + name).c_str(), openBook, opening, book)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

// --peak-memory-of=<book>: opens the book (none: an empty window), scrolls through its whole
// grid and prints the process's peak resident size in kB and the bytes it read.
int printPeakMemory(const char *book)
{
    Window window(Opening::ToWholeGrid);
    const std::int64_t before = BytesReadSoFar();
    if (*book)
        window.charge(FixtureBook{book, {}, {}});
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %lld\n", usage.ru_maxrss, static_cast<long long>(BytesReadSoFar() - before));
    return 0;
}

struct GridCost {
    long peakKilobytes = -1;
    long long bytesRead = -1;
};

GridCost gridCostOf(const std::string &book)
{
    std::string command = bench::Quoted(QCoreApplication::applicationFilePath().toStdString());
    command.append(" --peak-memory-of=").append(book.empty() ? "" : bench::Quoted(book));
    const std::unique_ptr<FILE, int (*)(FILE *)> output(popen(command.c_str(), "r"), pclose);
    GridCost cost;
    if (!output || std::fscanf(output.get(), "%ld %lld", &cost.peakKilobytes, &cost.bytesRead) != 2)
        std::cerr << "no peak memory from: " << command << '\n';
    return cost;
}

void printPeakMemoryTable()
{
    const long empty = gridCostOf("").peakKilobytes;
    std::printf("\n%-52s %12s %14s %12s\n", "peak memory, book open with its whole grid", "MB",
                "less empty MB", "read / size");
    std::printf("%-52s %12.1f\n", "empty window", empty / 1024.0);
    const struct {
        const char *title;
        const FixtureBook &book;
    } books[] = {
        {"300 pages of 2,500 x 3,500", bench::LargePageBook()},
        {"300 scanned pages of 2,500 x 3,500", bench::LargePageBook(bench::PageKind::Scan)},
        {"4,000 pages of 2,500 x 3,500", bench::LongLargePageBook()},
        {"300 pages of 1,250 x 1,750", bench::HalfSizePageBook()},
        {"30 small pictures", bench::SmallPictureBook(30)},
        {"4,000 small pictures", bench::SmallPictureBook(4000)},
        {"a first page of 1 x 30,000, then 29 small pictures", bench::TallFirstPageBook()},
    };
    for (const auto &[title, book] : books) {
        const GridCost cost = gridCostOf(book.path.string());
        std::printf("%-52s %12.1f %14.1f %12.2f\n", title, cost.peakKilobytes / 1024.0,
                    (cost.peakKilobytes - empty) / 1024.0,
                    double(cost.bytesRead) / double(std::filesystem::file_size(book.path)));
    }
}

} // namespace

int main(int argc, char **argv)
{
    KeepFreedMemoryForReuse(); // as the program starts
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a registry of their own, not the user's.
    const std::filesystem::path root = bench::FixtureFolder() / "root";
    std::filesystem::create_directories(root);
    setenv("QUIRELLE_ROOT", root.c_str(), 1);
    QApplication application(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--peak-memory-of=", 17) == 0)
            return printPeakMemory(argv[i] + 17);

    for (const int pages : {30, 300, 1000, 4000})
        registerBenchmarks("small:" + std::to_string(pages), bench::SmallPictureBook(pages));
    bench::RunBenchmarks(argc, argv);

    const int runs = bench::Repetitions(argc, argv, 7);
    bench::GoalTable goals;
    addGoals(goals, "line art", bench::LargePageBook(bench::PageKind::LineArt), runs);
    addGoals(goals, "scans", bench::LargePageBook(bench::PageKind::Scan), runs);
    // Small pictures are stretched onto cells twice their size: each thumbnail may cost up to
    // twice its decoding on top of it.
    addWholeGridGoal(goals, "4,000 small pictures", bench::SmallPictureBook(4000), runs, 3.0);
    {
        Window window(Opening::ToVisibleRows);
        const FixtureBook &book = bench::LongLargePageBook();
        goals.add("visible rows of 4,000 pages / md5sum of the book",
                  bench::RunInterleaved([&] { window.charge(book); },
                                        [&] { bench::Md5sum(book.path); }, runs),
                  1.2);
    }
    {
        Window window(Opening::ToFirstPage);
        const FixtureBook &book = bench::SmallPictureBook(4000);
        goals.addAbsolute("4,000 small pictures to the first page (ms)",
                          bench::RunRepeated([&] { window.charge(book); }, runs), 300);
    }
    goals.print();
    printPeakMemoryTable();
    return 0;
}
