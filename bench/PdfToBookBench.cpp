// "Pdf -> BD..." on a 50-page A4 PDF, beside the gs console program run alone with the same
// arguments: the difference is the splitting of its output and the writing of the book. The
// console program is the one on PATH.
#include "app/core/Ghostscript.h"
#include "app/core/OutsidePrograms.h"
#include "app/core/PdfToBook.h"
#include "app/core/Prompter.h"
#include "app/core/UiHooks.h"

#include <QCoreApplication>
#include <QProcess>

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
    static const fs::path dir = [] {
        const fs::path path = fs::temp_directory_path() / "quirelle-pdf-to-book-bench";
        fs::create_directories(path);
        return path;
    }();
    return dir;
}

QString Q(const fs::path &path)
{
    return QString::fromStdString(path.string());
}

void run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " failed");
}

// Pages of lettering in grey levels and a coloured disc, as a scanned album might hold.
const QString &pdfDocument()
{
    static const QString path = [] {
        const fs::path file = benchDir() / "Album.pdf";
        const QString page = "/Helvetica findfont 28 scalefont setfont "
                             "0 1 30 { /i exch def i 30 div setgray 60 i 24 mul 60 add moveto "
                             "(Quirelle : planche de test, ligne de texte) show } for "
                             "0.8 0.2 0.2 setrgbcolor newpath 300 420 150 0 360 arc fill showpage";
        run("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite", "-sPAPERSIZE=a4",
                   "-sOutputFile=" + Q(file), "-c",
                   QStringLiteral("1 1 %1 { pop %2 } for").arg(PageCount).arg(page)});
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
        run(GhostscriptConsolePath(QString()), arguments);
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
