// "Pdf -> BD..." on a 50-page A4 PDF, beside the gs console program run alone with the same
// arguments: the difference is the splitting of its output and the writing of the book. The
// console program is the one on PATH.
#include "app/core/render/Ghostscript.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"
#include "app/core/tools/PdfToBook.h"
#include "bench/BenchFiles.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr int PageCount = 50;

class FailingPrompter : public Prompter {
public:
    MessageAnswer show(const QString &text, const QString &, MessageIcon, MessageButtons) override
    {
        throw std::runtime_error(text.toStdString());
    }
};

const fs::path &benchDir()
{
    static const fs::path dir = BenchDir("quirelle-pdf-to-book-bench");
    return dir;
}

const QString &pdfDocument()
{
    static const QString path = [] {
        const fs::path file = benchDir() / "Album.pdf";
        MakeLetteringPdf(file, PageCount);
        return Q(file);
    }();
    return path;
}

void BM_PdfToBook(benchmark::State &state)
{
    const QString pdf = pdfDocument();
    const QString book = Q(benchDir() / "Album.bd");
    FailingPrompter prompter;
    NoUiHooks ui;
    SystemPrograms programs;
    const PdfToBookEnv env{prompter,
                           ui,
                           programs,
                           QString(),
                           [](int) {},
                           [] { return true; },
                           [&] { return std::optional(book); }};
    for (auto _ : state)
        PdfToBook(pdf, env);
    state.counters["book MB"] = double(fs::file_size(book.toStdString())) / 1e6;
}

void BM_GsAlone(benchmark::State &state)
{
    const QString pdf = pdfDocument();
    const QString output = Q(benchDir() / "Album.jpg");
    const QStringList arguments = GhostscriptBookArguments(pdf, output);
    for (auto _ : state)
        RunProgram(GhostscriptConsolePath(QString()), arguments);
    state.counters["output MB"] = double(fs::file_size(output.toStdString())) / 1e6;
}

BENCHMARK(BM_PdfToBook)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(BM_GsAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
