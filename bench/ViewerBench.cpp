// Opening a 300-page book in the main window: the time from Charge to the first page shown,
// and to the full thumbnail grid, beside djpeg decoding the same JPEGs.
#include "app/ClientArea.h"
#include "app/QtUiHooks.h"
#include "app/Unit1.h"
#include "app/core/CreationMeta.h"
#include "app/core/LinkOpener.h"
#include "app/core/OutsidePrograms.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <sys/resource.h>

namespace {

constexpr int PageCount = 300;

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

class NoLinks : public LinkOpener {
public:
    void open(const QUrl &) override {}
};

// With a key held the thumbnail loop only lets messages run: the first time it does, the
// first page is on screen and the loading is stopped there.
class StopAtFirstPage : public UiHooks {
public:
    void processPendingEvents() override { state->CurrentFile.clear(); }
    void setBusyCursor(bool) override {}
    MainWindowState *state = nullptr;
};

const std::filesystem::path &benchDir()
{
    static const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "quirelle-viewer-bench";
    return dir;
}

QString pagePath(int i)
{
    return QString::fromStdString((benchDir() / ("page" + std::to_string(1000 + i) + ".jpg")).string());
}

// A 1000 x 1400 page of coloured shapes, about 100 KB as a JPEG.
void writePage(int i)
{
    QImage page(1000, 1400, QImage::Format_RGB32);
    page.fill(QColor::fromHsv((i * 37) % 360, 40, 245));
    QPainter painter(&page);
    QRandomGenerator random(static_cast<quint32>(i));
    for (int shape = 0; shape < 40; ++shape) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 160, 200));
        const QRect box(random.bounded(900), random.bounded(1300), 40 + random.bounded(300),
                        40 + random.bounded(300));
        if (shape % 2)
            painter.drawEllipse(box);
        else
            painter.drawRect(box);
    }
    painter.end();
    if (!page.save(pagePath(i), "JPEG", 85))
        throw std::runtime_error("cannot write the JPEG");
}

const QString &bookPath()
{
    static const QString book = [] {
        std::filesystem::create_directories(benchDir());
        CreationContent content;
        for (int i = 0; i < PageCount; ++i) {
            writePage(i);
            content.PageFiles << pagePath(i);
        }
        const QString path = QString::fromStdString((benchDir() / "livre.bd").string());
        WriteCreatedBook(content, path);
        return path;
    }();
    return book;
}

struct Window {
    explicit Window(UiHooks &ui)
        : form({prompter, dialogs, ui, programs, links, QStringLiteral("quirelle")})
    {
        form.resize(1280, 1000);
        form.show();
        QCoreApplication::processEvents();
    }
    SilentPrompter prompter;
    NoDialogs dialogs;
    SystemPrograms programs;
    NoLinks links;
    TForm1 form;
};

void BM_ChargeToFirstPage(benchmark::State &run)
{
    const QString &book = bookPath();
    StopAtFirstPage stop;
    Window window(stop);
    stop.state = &window.form.state;
    for (auto _ : run) {
        window.form.state.KeyHeld = true;
        window.form.Charge(book);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_ChargeToFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChargeToFullGrid(benchmark::State &run)
{
    const QString &book = bookPath();
    QtUiHooks ui;
    Window window(ui);
    for (auto _ : run) {
        window.form.Charge(book);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    run.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ChargeToFullGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void runDjpeg(int pages)
{
    const std::string command = "for i in $(seq 1000 " + std::to_string(999 + pages) + "); do djpeg -outfile /dev/null '"
                                + benchDir().string() + "'/page$i.jpg || exit 1; done";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("djpeg failed");
}

void BM_DjpegFirstPage(benchmark::State &run)
{
    bookPath();
    for (auto _ : run)
        runDjpeg(1);
}
BENCHMARK(BM_DjpegFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DjpegAllPages(benchmark::State &run)
{
    bookPath();
    for (auto _ : run)
        runDjpeg(PageCount);
}
BENCHMARK(BM_DjpegAllPages)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a registry of their own, not the user's.
    const std::filesystem::path root = benchDir() / "root";
    std::filesystem::create_directories(root);
    setenv("QUIRELLE_ROOT", root.c_str(), 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
