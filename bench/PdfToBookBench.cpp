// "Pdf -> BD..." on a 50-page A4 PDF, in turns with the gs console program run alone with the
// same arguments: the difference is the splitting of its output and the writing of the book.
// The console program is the one on PATH.
#include "app/core/render/Ghostscript.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"
#include "app/core/tools/PdfToBook.h"
#include "bench/BenchBooks.h"
#include "bench/BenchFiles.h"
#include "bench/GoalTable.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

class FailingPrompter : public Prompter {
public:
    MessageAnswer show(const QString &text, const QString &, MessageIcon, MessageButtons) override
    {
        throw std::runtime_error(text.toStdString());
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const std::filesystem::path folder = bench::FixtureFolder();
    const QString pdf = QtPath(folder / "Album.pdf");
    MakeLetteringPdf(folder / "Album.pdf", 50);
    const QString book = QtPath(folder / "Album.bd");
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
    const QString gs = GhostscriptConsolePath(QString());
    const QStringList arguments = GhostscriptBookArguments(pdf, QtPath(folder / "Album.jpg"));

    bench::GoalTable table;
    table.add("Pdf -> BD / gs alone, 50 A4 pages",
              bench::RunInterleaved([&] { PdfToBook(pdf, env); },
                                    [&] { RunProgram(gs, arguments); },
                                    bench::Repetitions(argc, argv, 5)));
    table.print();
    std::printf("book %.1f MB, gs output %.1f MB\n",
                double(std::filesystem::file_size(folder / "Album.bd")) / 1e6,
                double(std::filesystem::file_size(folder / "Album.jpg")) / 1e6);
    return 0;
}
