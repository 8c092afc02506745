// Prints a book as an A5 booklet to PDF files through the real printer, then reads the PDFs
// back with pdfinfo and pdftoppm to find every page's picture on its sheet side and half.
#include "app/Marges.h"
#include "app/QtPrintTarget.h"
#include "app/book/BookFile.h"
#include "app/core/PrintLayoutCommand.h"

#include "tests/support/BookFixture.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr int RenderDpi = 30;

int PdfPageCount(const QString &pdf)
{
    for (const QString &line : ToolOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString()).split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

std::vector<QImage> RenderPdf(const QString &pdf, const QString &prefix)
{
    EXPECT_TRUE(RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(RenderDpi),
                                                     QStringLiteral("-png"), pdf, prefix}));
    const QFileInfo base(prefix);
    std::vector<QImage> pages;
    const QStringList files = QDir(base.path()).entryList(
        {base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        pages.emplace_back(base.path() + u'/' + file);
    return pages;
}

// The mean colour of the middle quarter of rect (printer dots from the printable corner).
QColor MeanColour(const QImage &sheet, const PrintRect &rect, const PrinterGeometry &printer)
{
    const double scale = static_cast<double>(RenderDpi) / printer.LogPixelsX;
    const QRect area(QPoint(int((rect.left + printer.PhysicalOffsetX) * scale),
                            int((rect.top + printer.PhysicalOffsetY) * scale)),
                     QPoint(int((rect.right + printer.PhysicalOffsetX) * scale),
                            int((rect.bottom + printer.PhysicalOffsetY) * scale)));
    const QRect middle = area.adjusted(area.width() / 4, area.height() / 4, -area.width() / 4,
                                       -area.height() / 4);
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x, ++n) {
            const QColor c = sheet.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

// The page whose colour is nearest; 0 for white (an empty place).
int PageOfColour(QColor colour, const std::vector<QColor> &pageColours)
{
    auto distance = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green())
            + std::abs(a.blue() - b.blue());
    };
    int best = 0;
    int bestDistance = distance(colour, Qt::white);
    for (std::size_t p = 0; p < pageColours.size(); ++p)
        if (const int d = distance(colour, pageColours[p]); d < bestDistance) {
            best = static_cast<int>(p) + 1;
            bestDistance = d;
        }
    return best;
}

struct Half {
    int left, right;
    bool operator==(const Half &) const = default;
};

void PrintTo(const Half &h, std::ostream *out)
{
    *out << '(' << h.left << ", " << h.right << ')';
}

// 9 pages and a back cover, each of its own colour: the layout adds blanks as pages 10 and
// 11, and the back cover becomes page 12.
TEST(BookletPdf, A5BookletPrintedToTwoPdfFilesReadsInOrderWhenFolded)
{
    TempDir dir;
    std::vector<Bytes> records;
    std::vector<QColor> imageColours;
    for (int k = 0; k < 10; ++k) {
        imageColours.push_back(QColor::fromHsv(k * 36, 255, 200));
        records.push_back(MakeJpeg(300, 400, imageColours.back()));
    }
    WriteFileBytes(dir / "Livre.bd", AssembleBook(records));

    MainWindowState state;
    for (int k = 0; k < 10; ++k)
        state.PageList.push_back({QString::number(k + 1), k});
    state.QuatrsCount = 1;
    state.PageCountCache = 10;
    std::ifstream book(dir / "Livre.bd", std::ios::binary);
    PageLoader loadPage = [&book](std::int32_t image) -> std::optional<QImage> {
        Bytes record;
        if (ReadBookRecord(book, &record, image) != -1)
            return std::nullopt;
        return QImage::fromData(record.data(), static_cast<int>(record.size()), "JPEG");
    };

    RecordingPrompter prompter;
    prompter.answer(MessageAnswer::Yes);
    QtPrintTarget target;
    const QString chosen = QString::fromStdString((dir / "Livre.pdf").string());
    target.printer().setOutputFormat(QPrinter::PdfFormat);
    target.printer().setOutputFileName(chosen);
    TForm2 margins(state, target);
    QTimer::singleShot(0, margins.Valider, [&margins] { margins.Valider->click(); });
    LayoutCommandEnv env{{prompter, target, loadPage}, margins, [] { return true; }};
    ASSERT_TRUE(PrepareLayout(state, QStringLiteral("A5"), env));
    RunPrintJob(state, env.job);
    ASSERT_EQ(state.PrintPageCount, 12);

    // Page p shows image record p - 1, pages 10 and 11 are blank, page 12 the back cover.
    std::vector<QColor> pageColours(imageColours.begin(), imageColours.begin() + 9);
    pageColours.push_back(Qt::white);
    pageColours.push_back(Qt::white);
    pageColours.push_back(imageColours[9]);

    const PrinterGeometry printer = target.geometry();
    std::vector<std::vector<Half>> passes;
    for (int pass = 1; pass <= 2; ++pass) {
        const QString pdf = PassFileName(chosen, pass);
        ASSERT_EQ(PdfPageCount(pdf), 3) << "pass " << pass;
        EXPECT_TRUE(ToolOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString()).contains(QLatin1String("842 x 595 pts")));
        std::vector<Half> sides;
        for (const QImage &sheet : RenderPdf(pdf, pdf + QStringLiteral("-page"))) {
            const int left = PageOfColour(MeanColour(sheet, state.PrintRect1, printer), pageColours);
            const int right = PageOfColour(MeanColour(sheet, state.PrintRect2, printer), pageColours);
            sides.push_back({left, right});
        }
        passes.push_back(sides);
    }
    // Answer 1: both passes from the cover sheet on; 0 is an empty (blank) place.
    EXPECT_EQ(passes[0], (std::vector<Half>{{12, 1}, {0, 3}, {8, 5}}));
    EXPECT_EQ(passes[1], (std::vector<Half>{{2, 0}, {4, 9}, {6, 7}}));

    // Sheet s carries pass 1 side s on its front and pass 2 side s on its back. Folded, the
    // stack reads front right, back left of each sheet from the outside in, then back right,
    // front left from the inside out.
    std::vector<int> reading;
    const std::size_t sheets = passes[0].size();
    for (std::size_t s = 0; s < sheets; ++s) {
        reading.push_back(passes[0][s].right);
        reading.push_back(passes[1][s].left);
    }
    for (std::size_t s = sheets; s-- > 0;) {
        reading.push_back(passes[1][s].right);
        reading.push_back(passes[0][s].left);
    }
    EXPECT_EQ(reading, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 12}));
}

} // namespace
