// Opening books in the main window: the time from Charge to the first page shown, to the
// visible rows of the thumbnail grid, to every thumbnail of the grid scrolled through, and of
// a page turn, each beside the least such work must do (md5sum, djpeg, libjpeg decoding the
// same pages in one process), and the peak memory of the open book with its whole grid.
#include "app/Unit1.h"
#include "app/adapters/QtUiHooks.h"
#include "app/core/seams/LinkOpener.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/widgets/ClientArea.h"

#include "bench/BenchBooks.h"
#include "bench/GoalTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

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

// Ends the opening once the thumbnail loop has loaded `thumbnails` thumbnails: it lets
// messages run after each.
class StopAfterThumbnails : public UiHooks {
public:
    void processPendingEvents() override
    {
        if (++loaded == thumbnails)
            state->CurrentFile.clear();
    }
    void setBusyCursor(bool) override {}
    MainWindowState *state = nullptr;
    int thumbnails = 0;
    int loaded = 0;
};

class NoLinks : public LinkOpener {
public:
    void open(const QUrl &) override {}
};

struct Window {
    explicit Window(UiHooks &ui)
        : form({prompter, dialogs, ui, programs, links, QStringLiteral("quirelle")})
    {
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
    SystemPrograms programs;
    NoLinks links;
    TForm1 form;
};

void openToFirstPage(benchmark::State &run, const FixtureBook &book)
{
    StopAtFirstPage stop;
    Window window(stop);
    stop.state = &window.form.state;
    for (auto _ : run)
        window.charge(book);
}

// Opens the book, shows its grid and scrolls through it a view height at a time, each step's
// rows loaded before the next: every thumbnail is decoded once.
void showWholeGrid(Window &window, const FixtureBook &book)
{
    window.charge(book);
    window.form.Visionneuse1Click();
    QScrollBar *scroll = window.form.Client->verticalScrollBar();
    for (;;) {
        QCoreApplication::processEvents();
        if (scroll->value() == scroll->maximum())
            break;
        scroll->setValue(scroll->value() + window.form.Client->clientHeight());
    }
}

void openToFullGrid(benchmark::State &run, const FixtureBook &book)
{
    QtUiHooks ui;
    Window window(ui);
    for (auto _ : run)
        showWholeGrid(window, book);
}

// The rows in view when the book opens: w = (client width - 20) div 5, h from the page.
int visibleThumbnails(const FixtureBook &book, QSize client)
{
    const int w = (client.width() - 20) / 5;
    const int h = book.pageSize.height() * w / book.pageSize.width();
    return std::min<int>(int(book.pages.size()), (client.height() / h + 1) * 5);
}

QSize clientSize();

void openToVisibleRows(benchmark::State &run, const FixtureBook &book)
{
    StopAfterThumbnails stop;
    Window window(stop);
    stop.state = &window.form.state;
    stop.thumbnails = visibleThumbnails(book, clientSize());
    for (auto _ : run) {
        stop.loaded = 0;
        window.charge(book);
    }
}

// Turns between two pages in the middle of the open book, its grid loaded.
constexpr int TurnedPages[2] = {150, 151};

void turnPage(benchmark::State &run, const FixtureBook &book)
{
    QtUiHooks ui;
    Window window(ui);
    window.charge(book);
    int turn = 0;
    for (auto _ : run)
        window.form.ShowEntry(TurnedPages[turn++ % 2]);
}

void runEach(const std::vector<std::filesystem::path> &files, const std::string &command)
{
    std::string script = "for f in";
    for (const std::filesystem::path &file : files)
        script += ' ' + bench::Quoted(file);
    bench::RunShell(script + "; do " + command + " \"$f\" || exit 1; done");
}

std::vector<std::uint8_t> readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The least work of showing a page: libjpeg decoding its bytes at the scale M/8 into memory,
// with the program's transform and pixel layout.
void decodeWithLibjpeg(const std::vector<std::uint8_t> &bytes, int scale)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.scale_num = static_cast<unsigned>(scale);
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const std::size_t perLine = std::size_t{info.output_width} * 4;
    std::vector<std::uint8_t> pixels(perLine * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + perLine * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
}

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

QSize clientSize()
{
    SilentPrompter prompter;
    NoDialogs dialogs;
    NoUiHooks ui;
    SystemPrograms programs;
    NoLinks links;
    TForm1 form({prompter, dialogs, ui, programs, links, QStringLiteral("quirelle")});
    form.resize(WindowSize);
    form.show();
    QCoreApplication::processEvents();
    return {form.Client->clientWidth(), form.Client->clientHeight()};
}

void addBenchmark(const std::string &name, std::function<void(benchmark::State &)> body)
{
    benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State &run) { body(run); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void addMd5sum(const std::string &name, const FixtureBook &book)
{
    addBenchmark("Md5sum/" + name, [&book](benchmark::State &run) {
        for (auto _ : run)
            bench::RunShell("md5sum " + bench::Quoted(book.path) + " >/dev/null");
    });
}

// A long book: the time to its visible rows, beside md5sum of it.
void registerLongBookBenchmarks(const std::string &name, const FixtureBook &book)
{
    addBenchmark("OpenToVisibleRows/" + name,
                 [&book](benchmark::State &run) { openToVisibleRows(run, book); });
    addMd5sum(name, book);
}

void registerBenchmarks(const std::string &name, const FixtureBook &book, bool references)
{
    const auto add = [&](const std::string &what, std::function<void(benchmark::State &)> body) {
        addBenchmark(what + "/" + name, std::move(body));
    };
    add("OpenToFirstPage", [&book](benchmark::State &run) { openToFirstPage(run, book); });
    add("OpenToVisibleRows", [&book](benchmark::State &run) { openToVisibleRows(run, book); });
    add("OpenToFullGrid", [&book](benchmark::State &run) { openToFullGrid(run, book); });
    const int scale = thumbnailScale(book, clientSize().width());
    add("LibjpegScaledAllPages", [&book, scale](benchmark::State &run) {
        for (auto _ : run)
            for (const std::filesystem::path &page : book.pages)
                decodeWithLibjpeg(readFile(page), scale);
    });
    if (!references)
        return;
    add("LibjpegPage1", [&book](benchmark::State &run) {
        for (auto _ : run)
            decodeWithLibjpeg(readFile(book.pages.front()), 8);
    });
    add("PageTurn", [&book](benchmark::State &run) { turnPage(run, book); });
    addMd5sum(name, book);
    add("DjpegPage1", [&book](benchmark::State &run) {
        for (auto _ : run)
            runEach({book.pages.front()}, "djpeg -outfile /dev/null");
    });
    add("DjpegTurnedPage", [&book](benchmark::State &run) {
        int turn = 0;
        for (auto _ : run)
            runEach({book.pages[TurnedPages[turn++ % 2]]}, "djpeg -outfile /dev/null");
    });
}

// The bytes the process has read through read() and its like (/proc/self/io).
long long bytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

// --peak-memory-of=<book>: opens the book (none: an empty window), scrolls through its whole
// grid and prints the process's peak resident size in kB and the bytes it read.
int printPeakMemory(const char *book)
{
    QtUiHooks ui;
    Window window(ui);
    const long long before = bytesRead();
    if (*book)
        showWholeGrid(window, FixtureBook{book, {}, {}});
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %lld\n", usage.ru_maxrss, bytesRead() - before);
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a registry of their own, not the user's.
    const std::filesystem::path root = bench::FixtureFolder() / "root";
    std::filesystem::create_directories(root);
    setenv("QUIRELLE_ROOT", root.c_str(), 1);
    QApplication application(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--peak-memory-of=", 17) == 0)
            return printPeakMemory(argv[i] + 17);

    registerBenchmarks("large", bench::LargePageBook(), true);
    registerLongBookBenchmarks("large:4000", bench::LongLargePageBook());
    for (const int pages : {30, 300, 1000, 4000})
        registerBenchmarks("small:" + std::to_string(pages), bench::SmallPictureBook(pages), false);
    bench::RunBenchmarksWithGoals(
        argc, argv,
        {
            {"first page shown / (md5sum + djpeg page 1)",
             "OpenToFirstPage/large",
             {"Md5sum/large", "DjpegPage1/large"},
             1.2},
            {"full grid / (md5sum + libjpeg page 1 + M/8 of every page)",
             "OpenToFullGrid/large",
             {"Md5sum/large", "LibjpegPage1/large", "LibjpegScaledAllPages/large"},
             1.1},
            {"grid of 4,000 small pictures / libjpeg of each",
             "OpenToFullGrid/small:4000",
             {"LibjpegScaledAllPages/small:4000"},
             3.0},
            {"visible rows of 4,000 large pages / md5sum of the book",
             "OpenToVisibleRows/large:4000",
             {"Md5sum/large:4000"},
             1.2},
            {"page turn / djpeg of that page", "PageTurn/large", {"DjpegTurnedPage/large"}, 1.2},
            {"4,000 small pictures to the first page, at most (ms)",
             "OpenToFirstPage/small:4000",
             {},
             300},
        });
    printPeakMemoryTable();
    return 0;
}
