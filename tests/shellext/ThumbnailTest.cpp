// Thumbnails as the shell gets them from libVorstel.so: which record, how it is fitted into the
// box, and the error text for a book that cannot be read.
#include "tests/shellext/VorstelLibrary.h"

#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

bool isNear(std::uint32_t pixel, QColor colour)
{
    const auto channel = [&](int shift, int expected) {
        return std::abs(static_cast<int>(pixel >> shift & 0xFF) - expected) <= 24;
    };
    return channel(16, colour.red()) && channel(8, colour.green()) && channel(0, colour.blue());
}

// Every pixel of `thumbnail` is near `colour` inside `picture` and white outside it.
void expectPictureAt(const platform::Raster &thumbnail, platform::Rect picture, QColor colour)
{
    int wrong = 0;
    for (int y = 0; y < thumbnail.height(); ++y)
        for (int x = 0; x < thumbnail.width(); ++x) {
            const bool inside =
                x >= picture.left && x < picture.right && y >= picture.top && y < picture.bottom;
            const std::uint32_t pixel = thumbnail.pixel(x, y);
            if (inside ? !isNear(pixel, colour) : pixel != platform::Raster::White) {
                if (wrong++ == 0)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << pixel;
            }
        }
    EXPECT_EQ(wrong, 0);
}

// The text "Erreur de lecture" whole at the left edge, vertically centred: as many black
// pixels as the text drawn on a line of its own, in rows as far from the top as from the
// bottom, the first column included.
void expectErrorText(const platform::Raster &thumbnail)
{
    const auto blackPixels = [](const platform::Raster &raster) {
        int black = 0;
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x)
                black += raster.pixel(x, y) == platform::Raster::Black;
        return black;
    };
    platform::Raster line(200, platform::Raster::TextHeight);
    line.drawText(0, 0, "Erreur de lecture");
    int top = thumbnail.height();
    int bottom = -1;
    bool firstColumn = false;
    for (int y = 0; y < thumbnail.height(); ++y)
        for (int x = 0; x < thumbnail.width(); ++x) {
            const std::uint32_t pixel = thumbnail.pixel(x, y);
            if (pixel == platform::Raster::White)
                continue;
            ASSERT_EQ(pixel, platform::Raster::Black) << x << ", " << y;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            firstColumn = firstColumn || x == 0;
        }
    EXPECT_EQ(blackPixels(thumbnail), blackPixels(line));
    EXPECT_LE(std::abs(top - (thumbnail.height() - 1 - bottom)), 1) << top << " to " << bottom;
    EXPECT_TRUE(firstColumn);
}

std::filesystem::path writeBook(const TempDir &dir, const std::vector<Bytes> &records,
                                const std::string &name = "livre.bd")
{
    WriteFileBytes(dir / name, AssembleBook(records));
    return dir / name;
}

Bytes progressiveJpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::green);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    if (!writer.write(image))
        throw std::runtime_error("progressive JPEG encoding failed");
    return Bytes(buffer.data().begin(), buffer.data().end());
}

} // namespace

TEST(Thumbnail, ThePictureFillsTheBoxAsFarAsItFitsWholeAndCentred)
{
    struct Case {
        QSize picture;
        QSize box;
        platform::Rect expected;
        const char *what;
    };
    const Case cases[] = {
        {{200, 100}, {100, 100}, {0, 25, 100, 75}, "landscape in a square: every column"},
        {{100, 200}, {100, 100}, {25, 0, 75, 100}, "portrait in a square"},
        {{80, 80}, {100, 50}, {25, 0, 75, 50}, "square in a wide box: fitted by height"},
        // 133 columns; (400 - 133) / 2 = 133.5 rounds to the even 134.
        {{200, 150}, {400, 100}, {134, 0, 267, 100}, "landscape in a wider box: not cut"},
        {{150, 200}, {100, 400}, {0, 134, 100, 267}, "portrait in a taller box: not cut"},
        {{20, 10}, {200, 200}, {0, 50, 200, 150}, "a small picture is enlarged"},
        {{3000, 2000}, {96, 96}, {0, 16, 96, 80}, "a large picture is decoded scaled down"},
        {{64, 48}, {64, 48}, {0, 0, 64, 48}, "the box's own size"},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto book =
            writeBook(dir, {MakeJpeg(c.picture.width(), c.picture.height(), Qt::blue)});
        const auto thumbnail = Thumbnail(book, c.box.width(), c.box.height());
        ASSERT_EQ(thumbnail->width(), c.box.width());
        ASSERT_EQ(thumbnail->height(), c.box.height());
        expectPictureAt(*thumbnail, c.expected, Qt::blue);
    }
}

TEST(Thumbnail, TheFirstPageIsTheSecondRecordOnlyWhenTheBookHasACoverMarker)
{
    const Bytes cover = MakeJpeg(40, 40, Qt::red);
    const Bytes page = MakeJpeg(40, 40, Qt::blue);
    const auto meta = [&](std::string_view description, std::vector<std::string> extra) {
        std::vector<std::string> lines = StandardMetaLines({cover, page});
        lines.insert(lines.end(), extra.begin(), extra.end());
        return MakeMetaRecord(description, lines);
    };
    struct Case {
        const char *what;
        std::vector<Bytes> records;
        QColor expected;
    };
    const Case cases[] = {
        {"no meta record", {cover, page}, Qt::red},
        {"a meta record without the marker",
         {cover, page, meta("", {"%ListePages", "2"})},
         Qt::red},
        {"\"%Reliure\" in the metadata lines",
         {cover, page, meta("", {"%Reliure", "%ListePages", "1"})},
         Qt::blue},
        {"\"%Reliure\" in the description",
         {cover, page, meta("{\\rtf1 %Reliure}\r\n", {})},
         Qt::blue},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectPictureAt(*Thumbnail(writeBook(dir, c.records), 40, 40), {0, 0, 40, 40}, c.expected);
    }
}

TEST(Thumbnail, AnUnreadableBookShowsTheErrorTextAtTheLeftVerticallyCentred)
{
    TempDir dir;
    WriteFileBytes(dir / "texte.bd", ToBytes("Ceci n'est pas une bande dessinée."));
    Bytes headerOnly = MakeJpeg(40, 40);
    headerOnly.resize(30);
    Bytes coverOnly = MakeJpeg(40, 40);
    const Bytes marker = ToBytes("%Reliure");
    coverOnly.insert(coverOnly.end(), marker.begin(), marker.end());
    struct Case {
        const char *what;
        std::filesystem::path book;
    };
    const Case cases[] = {
        {"missing file", dir / "absent.bd"},
        {"a folder", dir.path()},
        {"not a book", dir / "texte.bd"},
        {"a cover marker and a second record that is no picture",
         writeBook(dir, {MakeJpeg(40, 40), MakeMetaRecord("", {"%EOF", "%Reliure"})}, "meta.bd")},
        {"a cover marker and no second record", writeBook(dir, {coverOnly}, "cover.bd")},
        {"a first record that is no picture", writeBook(dir, {ToBytes("{\\rtf1 x}")}, "rtf.bd")},
        {"a picture cut inside its header", writeBook(dir, {headerOnly}, "header.bd")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectErrorText(*Thumbnail(c.book, 120, 41));
    }
    // Narrower than the text on one line: it goes on between its words.
    for (const QSize box : {QSize(96, 96), QSize(64, 64), QSize(48, 32)}) {
        SCOPED_TRACE(box.width());
        expectErrorText(*Thumbnail(dir / "absent.bd", box.width(), box.height()));
    }
}

TEST(Thumbnail, APictureDeclaringAHugeSizeIsDecodedScaledDownOrRefused)
{
    TempDir dir;
    // 16000 x 16000 decodes at 1/8 (2000 x 2000), its missing data as grey.
    const auto scaled =
        writeBook(dir, {WithFrameSize(MakeJpeg(16, 16), 16000, 16000)}, "scaled.bd");
    const auto thumbnail = Thumbnail(scaled, 64, 64);
    EXPECT_NE(thumbnail->pixel(0, 0), platform::Raster::White);
    EXPECT_NE(thumbnail->pixel(63, 63), platform::Raster::White);

    // Even at 1/8 this would be 7500 x 7500 pixels; a progressive 30000 x 30000 picture needs
    // gigabytes of coefficients whatever the scale.
    const auto tooLarge =
        writeBook(dir, {WithFrameSize(MakeJpeg(16, 16), 60000, 60000)}, "large.bd");
    expectErrorText(*Thumbnail(tooLarge, 64, 64));
    const auto progressive =
        writeBook(dir, {WithFrameSize(progressiveJpeg(16, 16), 30000, 30000)}, "progressive.bd");
    expectErrorText(*Thumbnail(progressive, 64, 64));
}

TEST(Thumbnail, AFileNameOutsideAnyAnsiCodePageOpens)
{
    TempDir dir;
    const auto book = writeBook(dir, {MakeJpeg(30, 30, Qt::blue)}, "Bande dessinée 漫画 🎨.bd");
    expectPictureAt(*Thumbnail(book, 30, 30), {0, 0, 30, 30}, Qt::blue);
    EXPECT_NE(InfoTip(book).find("Nombre de pages : 1"), std::string::npos);
}
