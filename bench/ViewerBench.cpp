// Opening books in the main window: the time from Charge to the first page shown, to the full
// thumbnail grid, and of a page turn, each in turns with the least work that any program must
// do for it (md5sum of the book, libjpeg decoding the pages in this process), on pages of line
// art and on scans; and the peak memory of the open book with its grid.
#include "app/Unit1.h"
#include "app/adapters/QtUiHooks.h"
#include "app/core/seams/LinkOpener.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/widgets/ClientArea.h"

#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"
#include "bench/ReferenceDecoder.h"

#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

#include <sys/resource.h>

namespace {

using bench::FixtureBook;

const QSize WindowSize(1280, 1000);

class SilentPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

class NoDialogs : public Dialogs {
public:
    bool openFile(FileDialog &) override { return false; }
    bool saveFile(FileDialog &) override { return false; }
    bool print(QPrinter &) override { return false; }
    bool chooseFolder(const QString &, QString &) override { return false; }
    bool chooseColor(QColor &) override { return false; }
    bool chooseFont(QFont &) override { return false; }
    bool inputQuery(const QString &, const QString &, QString &) override { return false; }
};

// The thumbnail loop lets messages run after each thumbnail: the first time it does, the
// first page is on screen and the opening is ended there.
class StopAtFirstPage : public UiHooks {
public:
    void processPendingEvents() override { state->CurrentFile.clear(); }
    void setBusyCursor(bool) override {}
    MainWindowState *state = nullptr;
};

class NoLinks : public LinkOpener {
public:
    void open(const QUrl &) override {}
};

// Opening a book in a window ends at its first page shown, or once its whole grid is loaded.
enum class Opening { ToFirstPage, ToFullGrid };

struct Window {
    explicit Window(Opening opening)
        : form({prompter, dialogs,
                opening == Opening::ToFirstPage ? static_cast<UiHooks &>(stop) : grid, programs,
                links, QStringLiteral("quirelle")})
    {
        stop.state = &form.state;
        form.resize(WindowSize);
        form.show();
        QCoreApplication::processEvents();
    }
    void charge(const FixtureBook &book)
    {
        form.Charge(QString::fromStdString(book.path.string()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SilentPrompter prompter;
    NoDialogs dialogs;
    StopAtFirstPage stop;
    QtUiHooks grid;
    SystemPrograms programs;
    NoLinks links;
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
    {
        Window window(Opening::ToFullGrid);
        const int scale = thumbnailScale(book, window.form.Client->clientWidth());
        table.add("full grid / (md5sum + page 1 + libjpeg M/8 of all), " + pages,
                  bench::RunInterleaved([&] { window.charge(book); },
                                        [&] {
                                            bench::Md5sum(book.path);
                                            decode(book.pages.front());
                                            for (const std::filesystem::path &page : book.pages)
                                                decode(page, scale);
                                        },
                                        runs),
                  1.5);
    }
    {
        Window window(Opening::ToFullGrid);
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
                                        std::pair("OpenToFullGrid/", Opening::ToFullGrid)})
        benchmark::RegisterBenchmark((what + name).c_str(), openBook, opening, book)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

// --peak-memory-of=<book>: opens the book (none: an empty window) with its whole grid and
// prints the process's peak resident size in kB.
int printPeakMemory(const char *book)
{
    Window window(Opening::ToFullGrid);
    if (*book)
        window.form.Charge(QString::fromUtf8(book));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

long peakMemoryOf(const std::string &book)
{
    std::string command = bench::Quoted(QCoreApplication::applicationFilePath().toStdString());
    command.append(" --peak-memory-of=").append(book.empty() ? "" : bench::Quoted(book));
    const std::unique_ptr<FILE, int (*)(FILE *)> output(popen(command.c_str(), "r"), pclose);
    long kilobytes = -1;
    if (!output || std::fscanf(output.get(), "%ld", &kilobytes) != 1)
        std::cerr << "no peak memory from: " << command << '\n';
    return kilobytes;
}

void printPeakMemoryTable()
{
    const long empty = peakMemoryOf("");
    std::printf("\n%-52s %12s %14s\n", "peak memory, book open with its whole grid", "MB",
                "less empty MB");
    std::printf("%-52s %12.1f\n", "empty window", empty / 1024.0);
    const struct {
        const char *title;
        const FixtureBook &book;
    } books[] = {
        {"300 pages of 2,500 x 3,500", bench::LargePageBook()},
        {"300 scanned pages of 2,500 x 3,500", bench::LargePageBook(bench::PageKind::Scan)},
        {"300 pages of 1,250 x 1,750", bench::HalfSizePageBook()},
        {"30 small pictures", bench::SmallPictureBook(30)},
        {"4,000 small pictures", bench::SmallPictureBook(4000)},
    };
    for (const auto &[title, book] : books) {
        const long peak = peakMemoryOf(book.path.string());
        std::printf("%-52s %12.1f %14.1f\n", title, peak / 1024.0, (peak - empty) / 1024.0);
    }
}

} // namespace

int main(int argc, char **argv)
{
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
