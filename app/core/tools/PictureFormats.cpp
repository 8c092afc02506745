#include "app/core/tools/PictureFormats.h"

#include "app/core/files/OpenFile.h"
#include "app/core/render/JpegImage.h"
#include "app/core/tools/GraphicsMagickReader.h"
#include "app/jpeg/Jpeg.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include <new>

#include <dlfcn.h>

namespace {

constexpr auto QtReader = PictureReader::QtImageReader;
constexpr auto Jpeg = PictureReader::JpegCodec;
constexpr auto GraphicsMagick = PictureReader::GraphicsMagick;

// Metafiles have no Qt reader: GraphicsMagick reads them where it can. The GraphicsMagick
// coder is named for every row, since several extensions are not its own (win, scr, rgb...).
constexpr PictureFormat Table[] = {
    {"bmp", "Windows bitmaps", QtReader, "bmp"},
    {"ico", "Windows icons", QtReader, "ico"},
    {"wmf", "Windows metafiles", GraphicsMagick, "WMF"},
    {"emf", "Windows enhanced meta files", GraphicsMagick, "EMF"},
    {"jfif", "JFIF images", Jpeg, "JPEG"},
    {"jpg", "JPG images", Jpeg, "JPEG"},
    {"bd", "JPG images", Jpeg, "JPEG"},
    {"jpe", "JPE images", Jpeg, "JPEG"},
    {"jpeg", "JPEG images", Jpeg, "JPEG"},
    {"rle", "Run length encoded Windows bitmaps", QtReader, "bmp"},
    {"dib", "Device independant Windows bitmaps", QtReader, "bmp"},
    {"win", "Truevision images", GraphicsMagick, "TGA"},
    {"vst", "Truevision images", GraphicsMagick, "TGA"},
    {"vda", "Truevision images", GraphicsMagick, "TGA"},
    {"tga", "Truevision images", GraphicsMagick, "TGA"},
    {"icb", "Truevision images", GraphicsMagick, "TGA"},
    {"tiff", "Macintosh TIFF images", GraphicsMagick, "TIFF"},
    {"tif", "PC TIF images", GraphicsMagick, "TIFF"},
    {"fax", "GFI fax images", GraphicsMagick, "TIFF"},
    {"eps", "Encapsulated Postscript images", GraphicsMagick, "EPS"},
    {"pcx", "ZSoft Paintbrush images", GraphicsMagick, "PCX"},
    {"pcc", "ZSoft Paintbrush images", GraphicsMagick, "PCX"},
    {"scr", "Word 5.x screen capture images", GraphicsMagick, "PCX"},
    {"rpf", "Alias/Wavefront images", GraphicsMagick, "RLA"},
    {"rla", "Alias/Wavefront images", GraphicsMagick, "RLA"},
    {"sgi", "SGI true color images", GraphicsMagick, "SGI"},
    {"rgba", "SGI true color images with alpha", GraphicsMagick, "SGI"},
    {"rgb", "SGI true color images", GraphicsMagick, "SGI"},
    {"bw", "SGI black/white images", GraphicsMagick, "SGI"},
    {"psd", "Photoshop images", GraphicsMagick, "PSD"},
    {"pdd", "Photoshop images", GraphicsMagick, "PSD"},
    {"ppm", "Portable pixel map images", GraphicsMagick, "PNM"},
    {"pgm", "Portable gray map images", GraphicsMagick, "PNM"},
    {"pbm", "Portable bitmap images", GraphicsMagick, "PNM"},
    {"cel", "Autodesk images", GraphicsMagick, nullptr},
    {"pic", "Autodesk images", GraphicsMagick, nullptr},
    {"pcd", "Kodak Photo-CD images", GraphicsMagick, "PCD"},
    {"gif", "CompuServe images", GraphicsMagick, "GIF"},
    {"cut", "Dr. Halo images", GraphicsMagick, "CUT"},
    {"psp", "Paintshop Pro images", GraphicsMagick, nullptr},
    {"png", "Portable network graphic images", GraphicsMagick, "PNG"},
};

// The GraphicsMagick module's reader, loaded on first use and kept; nullptr when the module
// cannot be loaded.
ReadWithGraphicsMagickFunction GraphicsMagickReader()
{
    static const auto reader = [] {
        void *module = dlopen(GraphicsMagickModuleName, RTLD_NOW | RTLD_LOCAL);
        return module ? reinterpret_cast<ReadWithGraphicsMagickFunction>(
                            dlsym(module, ReadWithGraphicsMagickSymbol))
                      : nullptr;
    }();
    return reader;
}

QImage ReadWithQt(const QString &path, const PictureFormat &format)
{
    QImageReader reader(path, format.coder);
    reader.setAllocationLimit(int(jpeg::MaxPixels * 4 >> 20));
    QImage image = reader.read();
    if (image.isNull())
        throw PictureError(InvalidPictureMessage(path));
    return image;
}

QImage ReadWithGraphicsMagick(const QString &path, const PictureFormat &format)
{
    const QString noReader = "Le fichier " + path + " ne peut pas être lu : aucun lecteur des " +
                             format.description + " n'est installé.";
    const ReadWithGraphicsMagickFunction read = GraphicsMagickReader();
    if (!read || !format.coder)
        throw PictureError(noReader);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError(CannotOpenFileMessage(path));
    const QByteArray bytes = file.readAll();
    QImage image;
    switch (
        read(format.coder, bytes.constData(), std::size_t(bytes.size()), jpeg::MaxPixels, image)) {
    case MagickReading::Read: return image;
    case MagickReading::NoReader: throw PictureError(noReader);
    case MagickReading::TooLarge: throw std::bad_alloc();
    case MagickReading::Invalid: break;
    }
    throw PictureError(InvalidPictureMessage(path));
}

} // namespace

PictureError::PictureError(const QString &message) : UserError(message.toStdString()) {}

QString InvalidPictureMessage(const QString &path)
{
    return "Le fichier " + path + " est invalide.";
}

QString PictureTooLargeMessage(const QString &path)
{
    return "Le fichier " + path + " est trop grand pour la mémoire disponible.";
}

std::span<const PictureFormat> PictureFormats()
{
    return Table;
}

const PictureFormat *FindPictureFormat(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    for (const PictureFormat &format : Table)
        if (extension == QLatin1String(format.extension))
            return &format;
    return nullptr;
}

QImage LoadPicture(const QString &path)
{
    const PictureFormat *format = FindPictureFormat(path);
    if (!format)
        throw PictureError("Le format du fichier " + path + " n'est pas reconnu.");
    if (!QFileInfo(path).isFile())
        throw PictureError(CannotOpenFileMessage(path));
    try {
        switch (format->reader) {
        case PictureReader::QtImageReader: return ReadWithQt(path, *format);
        case PictureReader::JpegCodec: return DecodeJpegImageFile(path);
        case PictureReader::GraphicsMagick: return ReadWithGraphicsMagick(path, *format);
        }
    } catch (const PictureError &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw PictureError(PictureTooLargeMessage(path));
    } catch (const UserError &) {
        throw PictureError(InvalidPictureMessage(path));
    }
    throw PictureError(InvalidPictureMessage(path));
}

QString PictureFilter()
{
    QStringList all;
    QStringList entries;
    for (const PictureFormat &format : Table) {
        const QString pattern = QStringLiteral("*.") + format.extension;
        all.append(pattern);
        entries.append(QStringLiteral("%1 (%2)").arg(format.description, pattern));
    }
    entries.prepend("Toutes les images (" + all.join(' ') + ')');
    return entries.join(QStringLiteral(";;"));
}
