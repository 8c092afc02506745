#pragma once

#include <QString>
#include <QStringList>

class Prompter;

// The JPEG file a picture converts to: its last extension replaced by ".jpg", or ".jpg"
// appended when it has none.
QString ConvertedFileName(const QString &source);

// Converts each picture, in order, into a JPEG file at quality 70 beside it; transparent
// areas come out white. A file already there, the source itself included, is replaced only
// when the user says yes, and only while it is the file that was there when its conversion
// began: another one put in its place meanwhile is kept, with "Le fichier <path> a été
// modifié pendant l'enregistrement.". A picture that cannot be read, encoded or written gets
// its own error message and the next one is converted.
void ConvertPictures(const QStringList &files, Prompter &prompter);
