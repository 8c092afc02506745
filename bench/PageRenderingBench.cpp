// LoadPageBitmap of a 2,500 x 3,500 JPEG page of line art and of a scan, in turns with libjpeg
// decoding the same file in this process; and of an A4 PDF page in turns with the gs console
// program run with the same arguments.
#include "app/core/render/PageRendering.h"
#include "bench/BenchBooks.h"
#include "bench/BenchFiles.h"
#include "bench/GoalTable.h"
#include "bench/ReferenceDecoder.h"
#include "tests/support/RecordingPrompter.h"

#include <QGuiApplication>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// The page as the one record of a book.
fs::path bookOf(const fs::path &page)
{
    std::ifstream in(page, std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), {});
    const auto length = static_cast<std::uint32_t>(jpeg.size());
    const char trailer[4] = {char(length), char(length >> 8), char(length >> 16),
                             char(length >> 24)};
    fs::path file = page;
    file.replace_extension(".bd");
    std::ofstream(file, std::ios::binary) << jpeg << std::string_view(trailer, 4);
    return file;
}

struct Env {
    RecordingPrompter prompter;
    NoUiHooks ui;
    PageRenderEnv env{prompter, ui, QSize(800, 600), "quirelle"};
    BookPages state;

    explicit Env(const fs::path &file)
    {
        state.CurrentFile = QtPath(file);
        state.Book = OpenBook::open(state.CurrentFile);
    }
    void load(std::int32_t image, QSize size)
    {
        const std::optional<QImage> bitmap = LoadPageBitmap(state, image, env);
        if (!bitmap || bitmap->size() != size)
            throw std::runtime_error("unexpected bitmap");
    }
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const int runs = bench::Repetitions(argc, argv, 21);
    bench::GoalTable goals;
    for (const auto &[pages, kind] : {std::pair("line art", bench::PageKind::LineArt),
                                      std::pair("scan", bench::PageKind::Scan)}) {
        const fs::path page = bench::FixtureFolder() / (std::string("page-") + pages + ".jpg");
        if (!bench::ComicPage(QSize(2500, 3500), 0, kind).save(QtPath(page), "JPEG", 85))
            throw std::runtime_error("cannot write the JPEG page");
        Env env(bookOf(page));
        goals.add(std::string("LoadPageBitmap / libjpeg of the page, ") + pages,
                  bench::RunInterleaved(
                      [&] {
                          env.load(0, {2500, 3500});
                      },
                      [&] { bench::DecodeWithLibjpeg(page, 8, bench::Transform::Accurate); },
                      runs));
    }

    const fs::path pdf = bench::FixtureFolder() / "Planches.pdf";
    MakeLetteringPdf(pdf, 2);
    Env env(pdf);
    QStringList gs =
        GhostscriptPageArguments("gs", QtPath(pdf), 1, QtPath(bench::FixtureFolder() / "gs.jpg"),
                                 FitPdfPageRaster({595, 842}));
    gs.removeFirst();
    goals.add("LoadPageBitmap / gs rendering the page, A4 PDF",
              bench::RunInterleaved(
                  [&] {
                      env.load(1, {1653, 2339});
                  }, // A4 at 200 dpi
                  [&] { RunProgram("gs", gs); }, runs));
    goals.print();
    return 0;
}
