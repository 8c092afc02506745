#pragma once

#include "app/book/BookFile.h"
#include "app/core/AtomicFile.h"

#include <QString>
#include <QStringList>

class Prompter;
struct MainWindowState;

// Writes a new book file from JPEG files, record 0 first, with the trailer and no meta
// record; an existing destination is replaced whole. Refuses, with FileWriteError, an empty
// list, a source that cannot be read, is empty, does not start like a JPEG or is too large
// for a 32-bit length, and a destination that is one of its sources.
void WriteBookImages(const QStringList &files, const QString &destination);

// Appends meta as the last record of a book just written by WriteBookImages.
void AppendMetaRecord(const QString &book, const Bytes &meta);

// Makes rtf the description of the open book (state.CurrentFile), keeping its metadata lines
// from "%EOF" on; a PDF document is left alone. A book that cannot be read gets the error
// box "Impossible d'ouvrir le fichier <name>."; a failure while writing raises
// FileWriteError. Either way the book is unchanged and state.BookStream is open again on it.
void WriteDescription(MainWindowState &state, Prompter &prompter, const Bytes &rtf);
