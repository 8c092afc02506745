// Makes the sample book: draws a cover, numbered pages and back covers, writes them as JPEGs
// and chains them into a book with a description and a few numbering constraints.
//
//   make_sample <output.bd>
#include "app/core/creation/CreationMeta.h"
#include "app/core/files/OpenFile.h"
#include "app/jpeg/Jpeg.h"
#include "app/text/UserError.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

constexpr int PageWidth = 800;
constexpr int PageHeight = 1130;

const QColor Ink(30, 30, 40);

void drawCentredText(QPainter &painter, const QRect &box, int pointSize, const QString &text,
                     bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pointSize);
    font.setBold(bold);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// One panel of a strip: sky, a hill, the sun, a little character and what it says, all
// inside the panel's frame.
void drawPanel(QPainter &painter, const QRect &panel, int hue, int step, const QString &speech)
{
    painter.save();
    painter.setClipRect(panel);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv(hue, 50, 245));
    painter.drawRect(panel);
    const int ground = panel.bottom() - panel.height() / 4;
    painter.setBrush(QColor::fromHsv((hue + 120) % 360, 110, 180));
    painter.drawEllipse(
        QRect(panel.left() - panel.width() / 4, ground, panel.width() * 3 / 2, panel.height() / 2));
    painter.setBrush(QColor(255, 210, 60));
    painter.drawEllipse(QPoint(panel.right() - 34, panel.top() + 34), 18, 18);

    // The character walks across the strip from one panel to the next.
    const int x = panel.left() + 30 + (step * 53) % std::max(1, panel.width() - 60);
    painter.setBrush(QColor(200, 60, 50));
    painter.drawRoundedRect(QRect(x - 16, ground - 44, 32, 52), 10, 10);
    painter.setBrush(QColor(255, 224, 189));
    painter.setPen(QPen(Ink, 2));
    painter.drawEllipse(QPoint(x, ground - 62), 18, 18);
    painter.drawPoint(x + 6, ground - 65);

    const QRect bubble(panel.left() + 12, panel.top() + 12, panel.width() * 4 / 5 - 24, 44);
    painter.setBrush(Qt::white);
    const QPoint tail[] = {QPoint(bubble.center().x() - 6, bubble.bottom()),
                           QPoint(bubble.center().x() + 8, bubble.bottom()),
                           QPoint(x - 8, ground - 84)};
    painter.drawPolygon(tail, 3);
    painter.drawRoundedRect(bubble, 18, 18);
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRect(tail[0].x() + 1, bubble.bottom() - 2, 12, 3));
    painter.setPen(Ink);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    painter.setFont(font);
    painter.drawText(bubble, Qt::AlignCenter, speech);
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Ink, 4));
    painter.drawRect(panel);
}

// A page of strips: three rows of two or three framed panels.
QImage drawPage(int number, const QString &caption)
{
    static const QStringList Speech = {
        QStringLiteral("Bonjour !"),     QStringLiteral("Quel beau temps."),
        QStringLiteral("On y va ?"),     QStringLiteral("Par ici !"),
        QStringLiteral("Encore loin ?"), QStringLiteral("Presque..."),
        QStringLiteral("Regarde !"),     QStringLiteral("Oh !"),
    };
    QImage page(PageWidth, PageHeight, QImage::Format_RGB32);
    page.fill(QColor(250, 247, 238));
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    const int margin = 40;
    const int rows = 3;
    const int rowHeight = (PageHeight - 2 * margin - 60) / rows;
    int step = number * 7;
    for (int row = 0; row < rows; ++row) {
        const int panels = 2 + (number + row) % 2;
        const int panelWidth = (PageWidth - 2 * margin - (panels - 1) * 16) / panels;
        for (int column = 0; column < panels; ++column, ++step) {
            const QRect panel(margin + column * (panelWidth + 16), margin + row * rowHeight,
                              panelWidth, rowHeight - 16);
            drawPanel(painter, panel, (number * 47 + row * 90 + column * 30) % 360, step,
                      Speech[step % Speech.size()]);
        }
    }
    painter.setPen(Ink);
    drawCentredText(painter, QRect(0, PageHeight - 70, PageWidth, 50), 26, caption);
    return page;
}

QImage drawCover(const QString &title, const QString &subtitle, const QColor &background)
{
    QImage cover(PageWidth, PageHeight, QImage::Format_RGB32);
    cover.fill(background);
    QPainter painter(&cover);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        painter.setBrush(QColor::fromHsv((i * 40) % 360, 140, 230, 160));
        painter.drawEllipse(QPoint(100 + (i * 173) % 600, 450 + (i * 97) % 500), 60 + i * 9,
                            60 + i * 9);
    }
    painter.setPen(Qt::white);
    drawCentredText(painter, QRect(40, 80, PageWidth - 80, 200), 92, title, true);
    drawCentredText(painter, QRect(40, 280, PageWidth - 80, 120), 36, subtitle);
    return cover;
}

QString writeJpeg(const QDir &dir, const QString &name, const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg::Image image;
    image.width = rgb.width();
    image.height = rgb.height();
    image.layout = jpeg::PixelLayout::Rgb;
    image.pixels.resize(image.bytesPerLine() * static_cast<std::size_t>(image.height));
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(image.pixels.data() + image.bytesPerLine() * static_cast<std::size_t>(y),
                    rgb.constScanLine(y), image.bytesPerLine());
    const std::vector<std::uint8_t> bytes = jpeg::Encode(image);
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw FileWriteError(CannotOpenFileMessage(path).toStdString());
    return path;
}

// The description, in RTF with Windows-1252 text.
QString writeDescription(const QDir &dir)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
        "\\f0\\fs24{\\b Exemple} : une bande dessin\\'e9e de d\\'e9monstration.\\par\r\n"
        "Deux pages de garde num\\'e9rot\\'e9es en chiffres romains, l'histoire en chiffres "
        "arabes qui commence sur une page de droite, une annexe num\\'e9rot\\'e9e par "
        "lettres et deux quatri\\'e8mes de couverture.\\par\r\n}\r\n";
    const QString path = dir.filePath(QStringLiteral("Description.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
        throw FileWriteError(CannotOpenFileMessage(path).toStdString());
    return path;
}

void makeSample(const QString &output)
{
    QTemporaryDir work;
    if (!work.isValid())
        throw FileWriteError("Impossible de créer un dossier temporaire.");
    const QDir dir(work.path());

    CreationContent book;
    book.CoverChecked = true;
    book.Cover = writeJpeg(dir, QStringLiteral("cover.jpg"),
                           drawCover(QStringLiteral("Exemple"),
                                     QStringLiteral("Les aventures de la page blanche"),
                                     QColor(40, 70, 130)));
    const QStringList captions = {
        QStringLiteral("Page de garde"), QStringLiteral("Sommaire"),  QStringLiteral("Planche 1"),
        QStringLiteral("Planche 2"),     QStringLiteral("Planche 3"), QStringLiteral("Planche 4"),
        QStringLiteral("Planche 5"),     QStringLiteral("Planche 6"), QStringLiteral("Planche 7"),
        QStringLiteral("Annexe A"),      QStringLiteral("Annexe B"),
    };
    for (int i = 0; i < captions.size(); ++i)
        book.PageFiles << writeJpeg(
            dir, QStringLiteral("page%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')),
            drawPage(i + 1, captions[i]));
    book.QuatrsChecked = true;
    book.QuatrsFiles << writeJpeg(dir, QStringLiteral("back1.jpg"),
                                  drawCover(QStringLiteral("Fin"), QStringLiteral("À suivre..."),
                                            QColor(120, 40, 60)))
                     << writeJpeg(dir, QStringLiteral("back2.jpg"),
                                  drawCover(QStringLiteral("Quirelle"),
                                            QStringLiteral("Quatrième de couverture"),
                                            QColor(30, 30, 30)));
    book.DescriptionChecked = true;
    book.Description = writeDescription(dir);

    // Front matter in lower-case roman numerals; the story starts at 1 on a right-hand page;
    // the lettered appendix follows the seven pages of the story after a blank page "8".
    book.Constraints = {
        {book.PageFiles[0], 4, 0},
        {book.PageFiles[2], 0, RightPageBit},
        {book.PageFiles[9], 1, 0},
    };

    WriteCreatedBook(book, output);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample <output.bd>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        makeSample(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
