// LoadPageBitmap of a 2,500 x 3,500 JPEG page beside djpeg decoding the same file, and of an
// A4 PDF page beside the gs console program run with the same arguments.
#include "app/core/render/PageRendering.h"
#include "bench/BenchFiles.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

class SilentPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

const fs::path &benchDir()
{
    static const fs::path dir = BenchDir("quirelle-rendering-bench");
    return dir;
}

// A page-like picture: gradients, panels and lettering.
const fs::path &jpegPage()
{
    static const fs::path path = [] {
        QImage page(2500, 3500, QImage::Format_RGB32);
        QPainter painter(&page);
        QLinearGradient sky(0, 0, 2500, 3500);
        sky.setColorAt(0, QColor(250, 240, 210));
        sky.setColorAt(1, QColor(120, 160, 220));
        painter.fillRect(page.rect(), sky);
        painter.setPen(QPen(Qt::black, 12));
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 2; ++column) {
                const QRect panel(100 + column * 1175, 100 + row * 830, 1125, 780);
                painter.drawRect(panel);
                painter.setBrush(QColor::fromHsv((row * 2 + column) * 40, 120, 230));
                painter.drawEllipse(panel.adjusted(200, 150, -300, -200));
                painter.setFont(QFont("DejaVu Sans", 60));
                painter.drawText(panel.adjusted(40, 40, -40, -40), "Planche de test");
            }
        painter.end();
        const fs::path file = benchDir() / "page.jpg";
        if (!page.save(Q(file), "JPEG", 85))
            throw std::runtime_error("cannot write the JPEG page");
        return file;
    }();
    return path;
}

// The same picture as the one record of a book.
const fs::path &jpegBook()
{
    static const fs::path path = [] {
        std::ifstream in(jpegPage(), std::ios::binary);
        const std::string jpeg((std::istreambuf_iterator<char>(in)), {});
        const auto length = static_cast<std::uint32_t>(jpeg.size());
        const char trailer[4] = {char(length), char(length >> 8), char(length >> 16),
                                 char(length >> 24)};
        const fs::path file = benchDir() / "page.bd";
        std::ofstream(file, std::ios::binary) << jpeg << std::string_view(trailer, 4);
        return file;
    }();
    return path;
}

const fs::path &pdfDocument()
{
    static const fs::path path = [] {
        const fs::path file = benchDir() / "Planches.pdf";
        MakeLetteringPdf(file, 2);
        return file;
    }();
    return path;
}

struct Env {
    SilentPrompter prompter;
    NoUiHooks ui;
    PageRenderEnv env{prompter, ui, QSize(800, 600), "quirelle"};
    BookPages state;

    explicit Env(const fs::path &file)
    {
        state.CurrentFile = Q(file);
        state.Book = OpenBook::open(state.CurrentFile);
    }
};

void checkSize(const std::optional<QImage> &bitmap, QSize size)
{
    if (!bitmap || bitmap->size() != size)
        throw std::runtime_error("unexpected bitmap");
}

void BM_LoadPageBitmap_JpegPage(benchmark::State &state)
{
    Env env(jpegBook());
    for (auto _ : state) {
        const std::optional<QImage> bitmap = LoadPageBitmap(env.state, 0, env.env);
        benchmark::DoNotOptimize(bitmap);
        checkSize(bitmap, {2500, 3500});
    }
}

void BM_Djpeg_JpegPage(benchmark::State &state)
{
    const QString page = Q(jpegPage());
    for (auto _ : state)
        RunProgram("djpeg", {"-outfile", "/dev/null", page});
}

void BM_LoadPageBitmap_PdfPage(benchmark::State &state)
{
    Env env(pdfDocument());
    for (auto _ : state) {
        const std::optional<QImage> bitmap = LoadPageBitmap(env.state, 1, env.env);
        benchmark::DoNotOptimize(bitmap);
        checkSize(bitmap, {1653, 2339}); // A4 at 200 dpi
    }
}

void BM_Gs_PdfPage(benchmark::State &state)
{
    const QString document = Q(pdfDocument());
    QStringList arguments = GhostscriptPageArguments("gs", document, 1, Q(benchDir() / "gs.jpg"));
    arguments.removeFirst();
    for (auto _ : state)
        RunProgram("gs", arguments);
}

BENCHMARK(BM_LoadPageBitmap_JpegPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Djpeg_JpegPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPageBitmap_PdfPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Gs_PdfPage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
