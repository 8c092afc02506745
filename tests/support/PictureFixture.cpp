#include "tests/support/PictureFixture.h"

#include "app/jpeg/Jpeg.h"
#include "tests/support/RunTool.h"

#include <gtest/gtest.h>

QImage TwoTonePicture()
{
    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    return picture;
}

std::vector<std::uint8_t> TwoToneJpeg()
{
    const QImage picture = TwoTonePicture();
    return jpeg::Encode({picture.width(),
                         picture.height(),
                         jpeg::PixelLayout::Bgra,
                         {picture.constBits(), picture.constBits() + picture.sizeInBytes()}});
}

PictureMaker GmConvert(const std::filesystem::path &source, const QString &coder,
                       const QStringList &options)
{
    return [source, coder, options](const std::filesystem::path &path) {
        ASSERT_TRUE(RunTool(
            "gm", QStringList{"convert", QString::fromStdString(source.string())} + options +
                      QStringList{coder + ':' + QString::fromStdString(path.string())}));
    };
}

PictureMaker QtSave(const QImage &picture, const char *format)
{
    return [picture, format](const std::filesystem::path &path) {
        ASSERT_TRUE(picture.save(QString::fromStdString(path.string()), format));
    };
}

void ExpectTwoTone(const QImage &picture)
{
    const int y = picture.height() / 2;
    EXPECT_LT(qGray(picture.pixel(picture.width() / 12, y)), 60);
    EXPECT_GT(qGray(picture.pixel(picture.width() * 11 / 12, y)), 195);
    EXPECT_EQ(qAlpha(picture.pixel(picture.width() / 12, y)), 255);
}
