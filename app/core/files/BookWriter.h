#pragma once

#include "app/book/BookFile.h"
#include "platform/AtomicWrite.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class Prompter;
class OpenBook;

// Gives the meta record of a book from the MD5 text of each of its images, in record order.
using MetaRecordMaker = std::function<Bytes(const std::vector<std::string> &md5Texts)>;

// Writes a new book file from JPEG files, record 0 first, then the meta record that makeMeta
// (when given) makes from the images as they were copied, then the trailer; each image is read
// through one descriptor. An existing destination is replaced whole, in one step, and only
// when everything was written. A source that cannot be read raises FileReadError. Refuses, with
// FileWriteError, an empty list, a source that is empty, does not start like a JPEG or is too large
// for a 32-bit length, a book of 2 GiB or more, and a destination that is one of its sources.
void WriteBookImages(const QStringList &files, const QString &destination,
                     const MetaRecordMaker &makeMeta = {});

// Makes rtf the description of the book now at the open book's path, keeping its metadata
// lines from "%EOF" on, and opens the book written; true once written. A PDF document is left
// alone. The book is read through one descriptor, opened when the save starts, and replaced
// only while the file at the path is still that one: when it was replaced or changed
// meanwhile, FileChangedError "Le fichier <name> a été modifié pendant l'enregistrement." and
// nothing is written. A book that cannot be read gets the error box "Impossible d'ouvrir le
// fichier <name>."; a failure while writing raises FileWriteError (FileReadError when the
// book cannot be read for the copy). Whenever nothing was written, the open book stays open
// as it was.
bool WriteDescription(OpenBook &book, Prompter &prompter, const Bytes &rtf);
