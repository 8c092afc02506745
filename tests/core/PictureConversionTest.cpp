#include "app/core/PictureConversion.h"
#include "app/jpeg/Jpeg.h"
#include "tests/support/BookFixture.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

QString Q(const fs::path &path)
{
    return QString::fromStdString(path.string());
}

std::set<std::string> FilesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ConvertedFileName, ReplacesTheLastExtensionOnly)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/images/photo.png", "/images/photo.jpg"},
        {"/images/a.b.png", "/images/a.b.jpg"},
        {"/images/readme", "/images/readme.jpg"},
        {"/images.v2/readme", "/images.v2/readme.jpg"},
        {"/images/photo.jpeg", "/images/photo.jpg"},
        {"/images/Photo.JPG", "/images/Photo.jpg"},
        {"/images/album.bd", "/images/album.jpg"},
    };
    for (const auto &[source, converted] : cases)
        EXPECT_EQ(ConvertedFileName(source), converted) << source;
}

// A 24 x 16 picture, left half black and right half white, written in the form a case asks.
class Conversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        picture.fill(Qt::white);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 12; ++x)
                picture.setPixel(x, y, qRgb(0, 0, 0));
        ASSERT_TRUE(picture.save(Q(dir / "source.png")));
    }

    QString path(const std::string &name) const { return Q(dir / name); }

    std::function<void(const QString &)> GmConvert(const QString &coder,
                                                   const QStringList &options = {})
    {
        return [this, coder, options](const QString &target) {
            ASSERT_TRUE(RunTool("gm", QStringList{"convert", path("source.png")} + options +
                                          QStringList{coder + ':' + target}));
        };
    }
    std::function<void(const QString &)> QtSave(const char *format)
    {
        return [this, format](const QString &target) { ASSERT_TRUE(picture.save(target, format)); };
    }
    Bytes PictureAsJpeg() const
    {
        const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
        return jpeg::Encode({24, 16, jpeg::PixelLayout::Bgra,
                             Bytes(pixels.constBits(), pixels.constBits() + 24 * 16 * 4)});
    }

    TempDir dir;
    QImage picture{24, 16, QImage::Format_RGB32};
    RecordingPrompter prompter;
};

// One file of each reader family that a tool here writes, converted and decoded again.
TEST_F(Conversion, EveryReaderFamilyConvertsToAJpegThatDecodes)
{
    const Bytes jpegBytes = PictureAsJpeg();
    const struct {
        const char *name;
        const char *converted;
        std::function<void(const QString &)> make;
        QSize size = {24, 16};
    } cases[] = {
        {"photo.png", "photo.jpg", QtSave("PNG")},
        {"a.b.png", "a.b.jpg", GmConvert("PNG")},
        {"bitmap.bmp", "bitmap.jpg", QtSave("BMP")},
        {"icon.ico", "icon.jpg", QtSave("ICO")},
        {"camera.jpeg", "camera.jpg",
         [&](const QString &p) { WriteFileBytes(p.toStdString(), jpegBytes); }},
        {"album.bd", "album.jpg",
         [&](const QString &p) {
             WriteFileBytes(p.toStdString(), AssembleBook({jpegBytes, MakeJpeg(50, 70)}));
         }},
        {"targa.tga", "targa.jpg", GmConvert("TGA")},
        {"scan.tiff", "scan.jpg", GmConvert("TIFF")},
        {"drawing.eps", "drawing.jpg",
         GmConvert("EPS", {"-density", "72x72", "-units", "PixelsPerInch"})},
        {"paint.pcx", "paint.jpg", GmConvert("PCX")},
        {"silicon.sgi", "silicon.jpg", GmConvert("SGI")},
        {"pixels.ppm", "pixels.jpg", GmConvert("PPM")},
        {"grey.pgm", "grey.jpg", GmConvert("PGM")},
        {"anim.gif", "anim.jpg", GmConvert("GIF")},
        // The writer here blows the picture up to the base size of a photo CD.
        {"kodak.pcd", "kodak.jpg", GmConvert("PCD"), {768, 512}},
    };
    QStringList sources;
    for (const auto &c : cases) {
        c.make(path(c.name));
        sources << path(c.name);
    }

    ConvertPictures(sources, prompter);

    EXPECT_TRUE(prompter.messages.empty()) << prompter.texts().front().toStdString();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const jpeg::Image image =
            jpeg::DecodeFile(dir / c.converted, jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
        ASSERT_EQ(QSize(image.width, image.height), c.size);
        if (c.size != QSize(24, 16))
            continue;
        const std::size_t middle = image.bytesPerLine() * 8;
        EXPECT_LT(image.pixels[middle + 3 * 2 + 1], 60);   // green of pixel (2, 8)
        EXPECT_GT(image.pixels[middle + 3 * 21 + 1], 195); // green of pixel (21, 8)
    }
    // At quality 70, baseline, by the program's encoder; a source with another extension
    // stays as it was.
    EXPECT_EQ(ReadFileBytes(dir / "photo.jpg"), PictureAsJpeg());
    EXPECT_EQ(ReadFileBytes(dir / "camera.jpeg"), jpegBytes);
}

TEST_F(Conversion, TransparentAreasTurnWhite)
{
    QImage transparent(24, 16, QImage::Format_ARGB32);
    transparent.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x)
            transparent.setPixel(x, y, qRgba(0, 0, 0, 255));
    ASSERT_TRUE(transparent.save(path("clear.png")));

    ConvertPictures({path("clear.png")}, prompter);

    EXPECT_EQ(ReadFileBytes(dir / "clear.jpg"), PictureAsJpeg());
}

// photo.png over an existing photo.jpg, and photo.jpg over itself: the user is asked first.
TEST_F(Conversion, ExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    const Bytes old = MakeJpeg(5, 5, Qt::blue);
    const struct {
        const char *source;
        const char *question; // after the converted file's path
    } cases[] = {
        {"photo.png", " existe déjà. Voulez-vous le remplacer ?"},
        {"photo.jpg", " est déjà une image JPEG. Voulez-vous le remplacer par sa conversion ?"},
    };
    for (const auto &c : cases) {
        for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            SCOPED_TRACE(std::string(c.source) + (answer == MessageAnswer::Yes ? " yes" : " no"));
            RecordingPrompter asked;
            TempDir folder;
            ASSERT_TRUE(picture.save(Q(folder / "photo.png")));
            WriteFileBytes(folder / "photo.jpg", old);
            asked.answer(answer);

            ConvertPictures({Q(folder / c.source)}, asked);

            ASSERT_EQ(asked.messages.size(), 1u);
            EXPECT_EQ(asked.messages[0].text, "Le fichier " + Q(folder / "photo.jpg") + c.question);
            EXPECT_EQ(asked.messages[0].buttons, MessageButtons::YesNo);
            const Bytes now = ReadFileBytes(folder / "photo.jpg");
            if (answer == MessageAnswer::No) {
                EXPECT_EQ(now, old);
            } else {
                EXPECT_NE(now, old);
                EXPECT_EQ(jpeg::ReadDimensions(now).width,
                          std::string(c.source) == "photo.png" ? 24 : 5);
            }
            EXPECT_EQ(FilesIn(folder.path()), (std::set<std::string>{"photo.jpg", "photo.png"}));
        }
    }
}

// Three files, the middle one bad in some way: the other two are converted, and one message
// names what went wrong with the middle one.
TEST_F(Conversion, BadMiddleFileGetsItsMessageAndTheOthersAreConverted)
{
    QImage tooWide(65501, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::white);
    const struct {
        const char *name;
        std::function<void(const QString &)> make;
        std::function<QString(const QString &)> message;
        bool answerYes = false;
    } cases[] = {
        {"damaged.png",
         [](const QString &p) {
             WriteFileBytes(p.toStdString(), ToBytes("\x89PNG\r\n\x1a\n bad"));
         },
         [](const QString &p) { return "Le fichier " + p + " est invalide."; }},
        {"readme", [](const QString &p) { WriteFileBytes(p.toStdString(), ToBytes("text")); },
         [](const QString &p) { return "Le format du fichier " + p + " n'est pas reconnu."; }},
        {"wide.png", [&](const QString &p) { ASSERT_TRUE(tooWide.save(p)); },
         [](const QString &p) {
             return "L'image du fichier " + p +
                    " est trop grande pour le format JPEG (65500 points de côté au plus).";
         }},
        // The converted file's name is taken by a folder.
        {"folder.png",
         [&](const QString &p) {
             ASSERT_TRUE(picture.save(p));
             fs::create_directory(dir / "folder.jpg");
         },
         [this](const QString &) {
             return "Impossible d'écrire le fichier " + path("folder.jpg") + '.';
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingPrompter told;
        if (c.answerYes)
            told.answer(MessageAnswer::Yes);
        ASSERT_TRUE(picture.save(path("first.png")));
        ASSERT_TRUE(picture.save(path("third.bmp")));
        c.make(path(c.name));

        ConvertPictures({path("first.png"), path(c.name), path("third.bmp")}, told);

        ASSERT_FALSE(told.messages.empty());
        EXPECT_EQ(told.messages.back().text, c.message(path(c.name)));
        EXPECT_EQ(told.messages.back().icon, MessageIcon::Error);
        EXPECT_EQ(told.messages.size(), c.answerYes ? 2u : 1u);
        EXPECT_EQ(ReadFileBytes(dir / "first.jpg"), PictureAsJpeg());
        EXPECT_EQ(jpeg::ReadDimensions(ReadFileBytes(dir / "third.jpg")).width, 24);
        for (const std::string &name : FilesIn(dir.path()))
            EXPECT_NE(name.front(), '.') << "temporary file left: " << name;
        fs::remove(dir / "first.jpg");
        fs::remove(dir / "third.jpg");
    }
}

} // namespace
