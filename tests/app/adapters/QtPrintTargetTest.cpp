#include "app/adapters/QtPrintTarget.h"

#include "tests/support/TempDir.h"

#include <QFile>
#include <QPageLayout>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A PDF printer on A4 (595 x 842 points) with margins left 12, top 24, right 36, bottom 48 points.
void UseFilePrinter(QtPrintTarget &target, const QString &fileName)
{
    QPrinter &printer = target.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 24, 36, 48), QPageLayout::Point);
}

// 1200 dots per inch: 12 points are 200 dots; 547 x 770 printable points are 193 x 272 mm.
TEST(QtPrintTarget, GeometryMapsThePageLayout)
{
    QtPrintTarget target;
    UseFilePrinter(target, QStringLiteral("/tmp/unused.pdf"));
    struct Case {
        PaperOrientation orientation;
        int left, top, right, bottom; // unprintable edges in dots
        int widthMm, heightMm;        // printable size
    };
    const Case cases[] = {
        {PaperOrientation::Portrait, 200, 400, 600, 800, 193, 272},
        {PaperOrientation::Landscape, 200, 400, 600, 800, 280, 185},
    };
    for (const Case &c : cases) {
        target.setOrientation(c.orientation);
        const PrinterGeometry g = target.geometry();
        const bool portrait = c.orientation == PaperOrientation::Portrait;
        EXPECT_EQ(g.PhysicalWidth, portrait ? 9917 : 14033);
        EXPECT_EQ(g.PhysicalHeight, portrait ? 14033 : 9917);
        EXPECT_EQ(g.PhysicalOffsetX, c.left);
        EXPECT_EQ(g.PhysicalOffsetY, c.top);
        EXPECT_EQ(g.PhysicalWidth - g.PhysicalOffsetX - g.HorzRes, c.right);
        EXPECT_EQ(g.PhysicalHeight - g.PhysicalOffsetY - g.VertRes, c.bottom);
        EXPECT_EQ(g.HorzSize, c.widthMm);
        EXPECT_EQ(g.VertSize, c.heightMm);
        EXPECT_EQ(g.LogPixelsX, 1200);
        EXPECT_EQ(g.LogPixelsY, 1200);
    }
}

TEST(QtPrintTarget, PassFileNames)
{
    struct Case {
        const char *chosen;
        int pass;
        const char *expected;
    };
    const Case cases[] = {
        {"/tmp/livre.pdf", 1, "/tmp/livre-1.pdf"},
        {"/tmp/mon livre.v2.pdf", 2, "/tmp/mon livre.v2-2.pdf"},
        {"/tmp/livre", 2, "/tmp/livre-2"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PassFileName(QString::fromUtf8(c.chosen), c.pass), QString::fromUtf8(c.expected));
}

TEST(QtPrintTarget, EachPassWritesItsOwnFile)
{
    TempDir dir;
    QtPrintTarget target;
    const QString chosen = QString::fromStdString((dir / "livre.pdf").string());
    UseFilePrinter(target, chosen);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (int pass = 1; pass <= 2; ++pass) {
        target.beginDocument(pass);
        target.drawImage({0, 0, 100, 100}, red);
        target.endDocument();
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "livre-1.pdf"));
    EXPECT_TRUE(std::filesystem::exists(dir / "livre-2.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "livre.pdf"));
    EXPECT_EQ(target.printer().outputFileName(), chosen);
}

TEST(QtPrintTarget, AbortDropsTheFileAndLeavesThePrinterUsable)
{
    TempDir dir;
    QtPrintTarget target;
    UseFilePrinter(target, QString::fromStdString((dir / "livre.pdf").string()));
    target.beginDocument(1);
    target.newPage();
    target.abortDocument();
    EXPECT_FALSE(std::filesystem::exists(dir / "livre-1.pdf"));

    target.beginDocument(1);
    target.endDocument();
    EXPECT_TRUE(std::filesystem::exists(dir / "livre-1.pdf"));
}

TEST(QtPrintTarget, UnwritableFileIsAPrintError)
{
    TempDir dir;
    QtPrintTarget target;
    const QString chosen = QString::fromStdString((dir / "absent" / "livre.pdf").string());
    UseFilePrinter(target, chosen);
    try {
        target.beginDocument(2);
        FAIL() << "no error";
    } catch (const PrintError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("Impossible de créer le fichier ") + PassFileName(chosen, 2) +
                      u'.');
    }
    EXPECT_EQ(target.printer().outputFileName(), chosen);
}

} // namespace
