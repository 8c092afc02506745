// Prints the sample book as an A5 booklet to PDF files through the real printer, then reads
// the PDFs back with pdfinfo and pdftoppm to find every page's picture on its sheet side and
// half.
#include "app/Marges.h"
#include "app/adapters/QtPrintTarget.h"
#include "app/core/pages/PageList.h"
#include "app/core/print/PrintLayoutCommand.h"
#include "app/core/render/PageRendering.h"

#include "tests/support/OpenedPages.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr int RenderDpi = 50;
const QSize Signature(12, 16);

int PdfPageCount(const QString &pdf)
{
    const QString info = ToolOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    for (const QString &line : info.split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

std::vector<QImage> RenderPdf(const QString &pdf)
{
    const QString prefix = pdf + QStringLiteral("-sheet");
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(RenderDpi),
                                             QStringLiteral("-png"), pdf, prefix}));
    const QFileInfo base(prefix);
    std::vector<QImage> sheets;
    for (const QString &file :
         QDir(base.path())
             .entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        sheets.emplace_back(base.path() + u'/' + file);
    return sheets;
}

// A picture brought down to a few pixels, to compare a printed place with a page.
QImage SignatureOf(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(Signature, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

long Distance(const QImage &a, const QImage &b)
{
    long sum = 0;
    for (int y = 0; y < Signature.height(); ++y)
        for (int x = 0; x < Signature.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                   std::abs(p.blue() - q.blue());
        }
    return sum;
}

// What the sheet shows in rect (printer dots from the printable corner).
QImage PrintedPlace(const QImage &sheet, const PrintRect &rect, const PrinterGeometry &printer)
{
    const double scale = static_cast<double>(RenderDpi) / printer.LogPixelsX;
    const auto at = [scale](int dots) { return static_cast<int>(dots * scale + 0.5); };
    const QRect place(
        QPoint(at(rect.left + printer.PhysicalOffsetX), at(rect.top + printer.PhysicalOffsetY)),
        QPoint(at(rect.right + printer.PhysicalOffsetX) - 1,
               at(rect.bottom + printer.PhysicalOffsetY) - 1));
    return SignatureOf(sheet.copy(place));
}

// The page (1-based) whose picture is nearest to the place; 0 for an empty place.
int PageAt(const QImage &place, const std::vector<std::optional<QImage>> &pages)
{
    QImage white(Signature, QImage::Format_RGB32);
    white.fill(Qt::white);
    int best = 0;
    long bestDistance = Distance(place, white);
    for (std::size_t p = 0; p < pages.size(); ++p)
        if (pages[p]) {
            if (const long d = Distance(place, *pages[p]); d < bestDistance) {
                best = static_cast<int>(p) + 1;
                bestDistance = d;
            }
        }
    return best;
}

struct Side {
    int left, right;
    bool operator==(const Side &) const = default;
};

void PrintTo(const Side &s, std::ostream *out)
{
    *out << '(' << s.left << ", " << s.right << ')';
}

TEST(BookletPdf, SampleBookPrintedToTwoPdfFilesReadsInOrderWhenFolded)
{
    RecordingPrompter prompter;
    NoUiHooks ui;
    PrintState state;
    OpenPages(state, QStringLiteral(QUIRELLE_SAMPLE_BOOK), prompter);
    ASSERT_TRUE(prompter.messages.empty()) << prompter.messages.front().text.toStdString();
    const auto entries = static_cast<std::int32_t>(state.PageList.size());
    ASSERT_GT(entries, 8);

    const PageRenderEnv render{prompter, ui, QSize(688, 389), QStringLiteral("quirelle")};
    PageLoader loadPage = [&](std::int32_t image) { return LoadPageBitmap(state, image, render); };

    TempDir dir;
    QtPrintTarget target;
    const QString chosen = QString::fromStdString((dir / "Exemple.pdf").string());
    target.printer().setOutputFormat(QPrinter::PdfFormat);
    target.printer().setOutputFileName(chosen);
    TForm2 margins(state, target);
    QTimer::singleShot(0, margins.Valider, [&margins] { margins.Valider->click(); });
    LayoutCommandEnv env{{prompter, target, loadPage}, margins, [] { return true; }};
    prompter.answer(MessageAnswer::Yes);
    ASSERT_TRUE(PrepareLayout(state, QStringLiteral("A5"), env));
    RunPrintJob(state, env.job);

    const std::int32_t N = state.PrintPageCount;
    ASSERT_EQ(N, (entries + 3) / 4 * 4);
    ASSERT_EQ(state.PageList.size(), static_cast<std::size_t>(N));
    std::vector<std::optional<QImage>> pages; // nothing for a blank page
    for (const PageEntry &entry : state.PageList) {
        const std::optional<QImage> bitmap = loadPage(entry.Image);
        pages.push_back(bitmap ? std::optional(SignatureOf(*bitmap)) : std::nullopt);
    }
    const auto shown = [&pages](int page) { return pages[page - 1] ? page : 0; };

    // Answer 1 prints both passes from the cover sheet on: sheet s carries pages N - 2s + 2 and
    // 2s - 1 on its first side, 2s and N - 2s + 1 on the other.
    const int sheets = N / 4;
    const PrinterGeometry printer = target.geometry();
    std::vector<std::vector<Side>> passes;
    for (int pass = 1; pass <= 2; ++pass) {
        const QString pdf = PassFileName(chosen, pass);
        ASSERT_EQ(PdfPageCount(pdf), sheets) << "pass " << pass;
        EXPECT_TRUE(ToolOutput(QStringLiteral("pdfinfo"), {pdf})
                        .value_or(QString())
                        .contains(QLatin1String("842 x 595 pts")));
        std::vector<Side> printed, expected;
        const std::vector<QImage> rendered = RenderPdf(pdf);
        for (int s = 1; s <= static_cast<int>(rendered.size()); ++s) {
            printed.push_back(
                {PageAt(PrintedPlace(rendered[s - 1], state.PrintRect1, printer), pages),
                 PageAt(PrintedPlace(rendered[s - 1], state.PrintRect2, printer), pages)});
            expected.push_back(pass == 1 ? Side{shown(N - 2 * s + 2), shown(2 * s - 1)}
                                         : Side{shown(2 * s), shown(N - 2 * s + 1)});
        }
        EXPECT_EQ(printed, expected) << "pass " << pass;
        passes.push_back(printed);
    }

    // Folded, the stack reads each sheet's first-side right and other-side left from the
    // outside in, then other-side right and first-side left from the inside out.
    std::vector<int> reading, inOrder;
    for (int s = 0; s < sheets; ++s) {
        reading.push_back(passes[0][s].right);
        reading.push_back(passes[1][s].left);
    }
    for (int s = sheets; s-- > 0;) {
        reading.push_back(passes[1][s].right);
        reading.push_back(passes[0][s].left);
    }
    for (int p = 1; p <= N; ++p)
        inOrder.push_back(shown(p));
    EXPECT_EQ(reading, inOrder);
}

} // namespace
