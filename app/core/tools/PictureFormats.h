#pragma once

#include "app/text/UserError.h"

#include <QImage>
#include <QString>

#include <span>

// Who reads a picture format: Qt's own image readers, our JPEG codec, or GraphicsMagick.
enum class PictureReader { QtImageReader, JpegCodec, GraphicsMagick };

// One row of the picture-format table.
struct PictureFormat {
    const char *extension;   // lower case, without the dot
    const char *description; // as the picture dialogs show it
    PictureReader reader;
    const char *coder; // the reader's format name; nullptr when no reader handles the format
};

// The 41 rows in their order; "bd" (a book file reads as its first image) stands between
// "jpg" and "jpe".
std::span<const PictureFormat> PictureFormats();

// The row for the extension of `path`, whatever its case; nullptr when none.
const PictureFormat *FindPictureFormat(const QString &path);

// A picture that cannot be loaded; the text is a French message naming the file.
class PictureError : public UserError {
public:
    explicit PictureError(const QString &message);
};

// "Le fichier <path> est invalide." and "Le fichier <path> est trop grand pour la mémoire
// disponible."
QString InvalidPictureMessage(const QString &path);
QString PictureTooLargeMessage(const QString &path);

// Loads the picture with the reader of its extension: JPEG pictures as Format_RGB32, the
// others as Qt and GraphicsMagick give them (with their transparency). Throws PictureError.
QImage LoadPicture(const QString &path);

// The file-type filter of the open-picture dialogs: every registered extension at once,
// then one entry per row in table order.
QString PictureFilter();
