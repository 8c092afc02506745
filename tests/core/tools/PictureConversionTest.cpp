#include "app/core/tools/PictureConversion.h"
#include "app/core/render/JpegImage.h"
#include "app/jpeg/Jpeg.h"
#include "tests/support/BookFixture.h"
#include "tests/support/PictureFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(ConvertedFileName, ReplacesTheLastExtensionOnly)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/images/photo.png", "/images/photo.jpg"},  {"/images/a.b.png", "/images/a.b.jpg"},
        {"/images/readme", "/images/readme.jpg"},    {"/images.v2/readme", "/images.v2/readme.jpg"},
        {"/images/photo.jpeg", "/images/photo.jpg"}, {"/images/Photo.JPG", "/images/Photo.jpg"},
        {"/images/album.bd", "/images/album.jpg"},
    };
    for (const auto &[source, converted] : cases)
        EXPECT_EQ(ConvertedFileName(source), converted) << source;
}

// The tests' picture, and the PNG file that GraphicsMagick converts into the other formats.
class Conversion : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(picture.save(QtPath(png))); }

    QString path(const std::string &name) const { return QtPath(dir / name); }

    TempDir dir;
    QImage picture = TwoTonePicture();
    fs::path png = dir / "source.png";
    RecordingPrompter prompter;
};

// One file of each reader family that a tool here writes, converted and decoded again.
TEST_F(Conversion, EveryReaderFamilyConvertsToAJpegThatDecodes)
{
    const Bytes jpegBytes = TwoToneJpeg();
    const struct {
        const char *name;
        const char *converted;
        PictureMaker make;
        QSize size = {24, 16};
    } cases[] = {
        {"photo.png", "photo.jpg", QtSave(picture, "PNG")},
        {"a.b.png", "a.b.jpg", GmConvert(png, "PNG")},
        {"bitmap.bmp", "bitmap.jpg", QtSave(picture, "BMP")},
        {"icon.ico", "icon.jpg", QtSave(picture, "ICO")},
        {"camera.jpeg", "camera.jpg", [&](const fs::path &p) { WriteFileBytes(p, jpegBytes); }},
        {"album.bd", "album.jpg",
         [&](const fs::path &p) {
             WriteFileBytes(p, AssembleBook({jpegBytes, MakeJpeg(50, 70)}));
         }},
        {"targa.tga", "targa.jpg", GmConvert(png, "TGA")},
        {"scan.tiff", "scan.jpg", GmConvert(png, "TIFF")},
        {"drawing.eps", "drawing.jpg",
         GmConvert(png, "EPS", {"-density", "72x72", "-units", "PixelsPerInch"})},
        {"paint.pcx", "paint.jpg", GmConvert(png, "PCX")},
        {"silicon.sgi", "silicon.jpg", GmConvert(png, "SGI")},
        {"pixels.ppm", "pixels.jpg", GmConvert(png, "PPM")},
        {"grey.pgm", "grey.jpg", GmConvert(png, "PGM")},
        {"anim.gif", "anim.jpg", GmConvert(png, "GIF")},
        // The writer here blows the picture up to the base size of a photo CD.
        {"kodak.pcd", "kodak.jpg", GmConvert(png, "PCD"), {768, 512}},
    };
    QStringList sources;
    for (const auto &c : cases) {
        c.make(dir / c.name);
        sources << path(c.name);
    }

    ConvertPictures(sources, prompter);

    EXPECT_TRUE(prompter.messages.empty()) << prompter.texts().front().toStdString();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = DecodeJpegImageFile(path(c.converted));
        ASSERT_EQ(image.size(), c.size);
        if (c.size == QSize(24, 16))
            ExpectTwoTone(image);
    }
    // At quality 70, baseline, by the program's encoder; a source with another extension
    // stays as it was.
    EXPECT_EQ(ReadFileBytes(dir / "photo.jpg"), TwoToneJpeg());
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

    EXPECT_EQ(ReadFileBytes(dir / "clear.jpg"), TwoToneJpeg());
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
            ASSERT_TRUE(picture.save(QtPath(folder / "photo.png")));
            WriteFileBytes(folder / "photo.jpg", old);
            asked.answer(answer);

            ConvertPictures({QtPath(folder / c.source)}, asked);

            ASSERT_EQ(asked.messages.size(), 1u);
            EXPECT_EQ(asked.messages[0].text,
                      "Le fichier " + QtPath(folder / "photo.jpg") + c.question);
            EXPECT_EQ(asked.messages[0].buttons, MessageButtons::YesNo);
            const Bytes now = ReadFileBytes(folder / "photo.jpg");
            if (answer == MessageAnswer::No) {
                EXPECT_EQ(now, old);
            } else {
                EXPECT_NE(now, old);
                EXPECT_EQ(jpeg::ReadDimensions(now).width,
                          std::string(c.source) == "photo.png" ? 24 : 5);
            }
            EXPECT_EQ(FileNamesIn(folder.path()),
                      (std::vector<std::string>{"photo.jpg", "photo.png"}));
        }
    }
}

// Answers a question only once another program has put a new JPEG at the converted file's
// path.
class ReplacedWhileAsked : public RecordingPrompter {
public:
    ReplacedWhileAsked(fs::path target, Bytes replacing)
        : target_(std::move(target)), replacing_(std::move(replacing))
    {
    }
    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon,
                       MessageButtons buttons) override
    {
        if (buttons == MessageButtons::YesNo) {
            WriteFileBytes(target_.string() + ".nouveau", replacing_);
            fs::rename(target_.string() + ".nouveau", target_);
            answer(MessageAnswer::Yes);
        }
        return RecordingPrompter::show(text, title, icon, buttons);
    }

private:
    fs::path target_;
    Bytes replacing_;
};

// The file the user agreed to replace, the source itself or another one, was replaced by
// another program while the question was shown: the other program's file is kept.
TEST_F(Conversion, FileReplacedWhileTheQuestionIsShownIsKept)
{
    const Bytes old = MakeJpeg(5, 5, Qt::blue), replacing = MakeJpeg(7, 3, Qt::green);
    for (const char *source : {"photo.png", "photo.jpg"}) {
        SCOPED_TRACE(source);
        TempDir folder;
        ASSERT_TRUE(picture.save(QtPath(folder / "photo.png")));
        WriteFileBytes(folder / "photo.jpg", old);
        ReplacedWhileAsked asked(folder / "photo.jpg", replacing);

        ConvertPictures({QtPath(folder / source)}, asked);

        ASSERT_EQ(asked.messages.size(), 2u);
        EXPECT_EQ(asked.messages[1].text, "Le fichier " + QtPath(folder / "photo.jpg") +
                                              " a été modifié pendant l'enregistrement.");
        EXPECT_EQ(asked.messages[1].icon, MessageIcon::Error);
        EXPECT_EQ(ReadFileBytes(folder / "photo.jpg"), replacing);
        EXPECT_EQ(FileNamesIn(folder.path()), (std::vector<std::string>{"photo.jpg", "photo.png"}));
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
        EXPECT_EQ(ReadFileBytes(dir / "first.jpg"), TwoToneJpeg());
        EXPECT_EQ(jpeg::ReadDimensions(ReadFileBytes(dir / "third.jpg")).width, 24);
        for (const std::string &name : FileNamesIn(dir.path()))
            EXPECT_NE(name.front(), '.') << "temporary file left: " << name;
        fs::remove(dir / "first.jpg");
        fs::remove(dir / "third.jpg");
    }
}

} // namespace
