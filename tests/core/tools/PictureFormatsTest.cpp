#include "app/core/tools/PictureFormats.h"
#include "tests/support/BookFixture.h"
#include "tests/support/CaseRunsAlone.h"
#include "tests/support/LoadedLibraries.h"
#include "tests/support/PictureFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(PictureFormats, HoldTheFortyOneRowsInOrder)
{
    QStringList extensions;
    for (const PictureFormat &format : PictureFormats())
        extensions.append(format.extension);
    EXPECT_EQ(extensions.join(' '),
              "bmp ico wmf emf jfif jpg bd jpe jpeg rle dib win vst vda tga icb tiff tif fax eps "
              "pcx pcc scr rpf rla sgi rgba rgb bw psd pdd ppm pgm pbm cel pic pcd gif cut psp "
              "png");
    EXPECT_EQ(extensions.removeDuplicates(), 0);

    const PictureFormat *book = FindPictureFormat("/books/Album.BD");
    ASSERT_NE(book, nullptr);
    EXPECT_STREQ(book->description, "JPG images");
    EXPECT_EQ(book->reader, PictureReader::JpegCodec);
    EXPECT_EQ(FindPictureFormat("/books/readme"), nullptr);
    EXPECT_EQ(FindPictureFormat("/books/photo.png.txt"), nullptr);
}

TEST(PictureFilter, OffersEveryExtensionThenEachRow)
{
    const QStringList entries = PictureFilter().split(";;");
    ASSERT_EQ(entries.size(), 42);
    EXPECT_TRUE(entries[0].startsWith("Toutes les images (*.bmp *.ico *.wmf *.emf *.jfif *.jpg "
                                      "*.bd *.jpe"));
    EXPECT_TRUE(entries[0].endsWith(" *.psp *.png)"));
    EXPECT_EQ(entries[1], "Windows bitmaps (*.bmp)");
    EXPECT_EQ(entries.mid(6, 3),
              (QStringList{"JPG images (*.jpg)", "JPG images (*.bd)", "JPE images (*.jpe)"}));
    EXPECT_EQ(entries[41], "Portable network graphic images (*.png)");
}

// The tests' picture, and the PNG file that GraphicsMagick converts into the other formats.
class PictureLoading : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(source.save(QtPath(png))); }

    TempDir dir;
    QImage source = TwoTonePicture();
    fs::path png = dir / "source.png";
};

// Run-length encoded 8-bit bitmap of the source picture (no tool here writes one).
Bytes Rle8Bitmap()
{
    Bytes data;
    for (int row = 0; row < 16; ++row)
        data.insert(data.end(), {12, 0, 12, 1, 0, 0});
    data.insert(data.end(), {0, 1});
    auto put = [](Bytes &bytes, std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(std::uint8_t(value >> (8 * i)));
    };
    const std::uint32_t offset = 14 + 40 + 8;
    Bytes bmp{'B', 'M'};
    put(bmp, offset + std::uint32_t(data.size()), 4), put(bmp, 0, 4), put(bmp, offset, 4);
    put(bmp, 40, 4), put(bmp, 24, 4), put(bmp, 16, 4), put(bmp, 1, 2), put(bmp, 8, 2);
    put(bmp, 1, 4), put(bmp, std::uint32_t(data.size()), 4), put(bmp, 0, 8), put(bmp, 2, 4);
    put(bmp, 0, 4), put(bmp, 0x000000, 4), put(bmp, 0xFFFFFF, 4);
    bmp.insert(bmp.end(), data.begin(), data.end());
    return bmp;
}

TEST_F(PictureLoading, EveryWritableFormatLoadsWithItsReader)
{
    const Bytes jpegBytes = TwoToneJpeg();
    const auto jpegFile = [&](const fs::path &path) { WriteFileBytes(path, jpegBytes); };
    const struct {
        const char *name;
        std::function<void(const fs::path &)> make;
        QSize size = {24, 16};
        bool checkContent = true;
    } cases[] = {
        {"a.bmp", QtSave(source, "BMP")},
        {"UPPER.BMP", QtSave(source, "BMP")},
        {"a.ico", QtSave(source, "ICO")},
        {"a.rle", [](const fs::path &path) { WriteFileBytes(path, Rle8Bitmap()); }},
        {"a.dib", GmConvert(png, "BMP3")},
        {"a.jfif", jpegFile},
        {"a.jpg", jpegFile},
        {"UPPER.JPEG", jpegFile},
        {"a.jpe", jpegFile},
        {"Album.BD",
         [&](const fs::path &path) {
             WriteFileBytes(path, AssembleBook({jpegBytes, MakeJpeg(50, 70)}));
         }},
        {"a.win", GmConvert(png, "TGA")},
        {"a.vst", GmConvert(png, "TGA")},
        {"a.vda", GmConvert(png, "TGA")},
        {"a.tga", GmConvert(png, "TGA")},
        {"UPPER.ICB", GmConvert(png, "TGA")},
        {"a.tiff", GmConvert(png, "TIFF")},
        {"a.tif", GmConvert(png, "TIFF")},
        {"a.fax", GmConvert(png, "TIFF", {"-monochrome", "-compress", "Group4"})},
        {"a.eps", GmConvert(png, "EPS", {"-density", "72x72", "-units", "PixelsPerInch"})},
        {"a.pcx", GmConvert(png, "PCX")},
        {"a.pcc", GmConvert(png, "PCX")},
        {"a.scr", GmConvert(png, "PCX")},
        {"a.sgi", GmConvert(png, "SGI")},
        {"a.rgba", GmConvert(png, "SGI", {"-matte"})},
        {"a.rgb", GmConvert(png, "SGI")},
        {"a.bw", GmConvert(png, "SGI", {"-colorspace", "gray"})},
        {"a.ppm", GmConvert(png, "PPM")},
        {"a.pgm", GmConvert(png, "PGM")},
        {"a.pbm", GmConvert(png, "PBM")},
        // The writer here blows the picture up to the base size and loses its content.
        {"a.pcd", GmConvert(png, "PCD"), {768, 512}, false},
        {"a.gif", GmConvert(png, "GIF")},
        {"a.png", GmConvert(png, "PNG")},
        {"UPPER.PNG", QtSave(source, "PNG")},
        {"odd [0] name|x.png", QtSave(source, "PNG")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / c.name;
        c.make(path);
        try {
            const QImage image = LoadPicture(QtPath(path));
            ASSERT_EQ(image.size(), c.size);
            if (c.checkContent)
                ExpectTwoTone(image);
        } catch (const PictureError &error) {
            ADD_FAILURE() << error.what();
        }
    }
}

TEST_F(PictureLoading, GraphicsMagickLoadsWithTheFirstPictureItReads)
{
    if (!CaseRunsAlone())
        return;
    // The table and the dialogs' filter list its formats without it.
    EXPECT_TRUE(PictureFilter().contains("Truevision images (*.tga)"));
    EXPECT_EQ(FindPictureFormat("a.tga")->reader, PictureReader::GraphicsMagick);
    GmConvert(png, "TGA")(dir / "a.tga");
    WriteFileBytes(dir / "a.jpg", TwoToneJpeg());
    QtSave(source, "BMP")(dir / "a.bmp");
    for (const char *other : {"a.jpg", "a.bmp"})
        EXPECT_EQ(LoadPicture(QtPath(dir / other)).size(), QSize(24, 16)) << other;
    EXPECT_FALSE(LibraryLoaded("libGraphicsMagick"));

    EXPECT_EQ(LoadPicture(QtPath(dir / "a.tga")).size(), QSize(24, 16));
    EXPECT_TRUE(LibraryLoaded("libGraphicsMagick"));
}

void ExpectLoadFails(const fs::path &path, const std::string &message)
{
    try {
        LoadPicture(QtPath(path));
        ADD_FAILURE() << "loaded " << path;
    } catch (const PictureError &error) {
        EXPECT_EQ(error.what(), message);
    }
}

TEST_F(PictureLoading, FormatsWithoutAnInstalledReaderFailWithTheirName)
{
    const std::pair<const char *, const char *> cases[] = {
        {"a.emf", "Windows enhanced meta files"},
        {"a.psd", "Photoshop images"},
        {"a.PDD", "Photoshop images"},
        {"a.cel", "Autodesk images"},
        {"a.pic", "Autodesk images"},
        {"a.psp", "Paintshop Pro images"},
    };
    for (const auto &[name, description] : cases) {
        WriteFileBytes(dir / name, ToBytes("some picture"));
        ExpectLoadFails(dir / name, "Le fichier " + (dir / name).string() +
                                        " ne peut pas être lu : aucun lecteur des " + description +
                                        " n'est installé.");
    }
}

TEST_F(PictureLoading, BadFilesFailWithAClearMessage)
{
    Bytes hugePng = ReadFileBytes(dir / "source.png");
    for (int i : {16, 20}) // IHDR width and height: 0x00FFFFFF each
        hugePng[i] = 0, hugePng[i + 1] = hugePng[i + 2] = hugePng[i + 3] = 0xFF;
    const struct {
        const char *name;
        Bytes bytes;
        const char *message; // after the path
    } cases[] = {
        {"damaged.bmp", ToBytes("BM not a bitmap"), " est invalide."},
        {"damaged.jpg", ToBytes("not a JPEG"), " est invalide."},
        {"damaged.tga", ToBytes("not a Targa picture"), " est invalide."},
        {"damaged.png", ToBytes("\x89PNG\r\n\x1a\n broken"), " est invalide."},
        {"huge.png", hugePng, " est invalide."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir / c.name, c.bytes);
        ExpectLoadFails(dir / c.name, "Le fichier " + (dir / c.name).string() + c.message);
    }
    ExpectLoadFails(dir / "absent.png",
                    "Impossible d'ouvrir le fichier " + (dir / "absent.png").string() + ".");
    WriteFileBytes(dir / "notes.txt", ToBytes("text"));
    ExpectLoadFails(dir / "notes.txt",
                    "Le format du fichier " + (dir / "notes.txt").string() + " n'est pas reconnu.");
}

} // namespace
