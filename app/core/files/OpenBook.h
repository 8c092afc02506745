#pragma once

#include "app/book/BookFile.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <istream>
#include <memory>
#include <vector>

// The open document: the one shared read stream on it and, for a book file, its record chain,
// walked once when the book is opened so that every record is then read without walking the
// chain again. Replaced whole when another document is opened or the book is rewritten.
class OpenBook {
public:
    OpenBook() = default; // none open

    // The document path read through stream; a book file's chain is walked at once, as open
    // does.
    OpenBook(QString path, std::unique_ptr<std::istream> stream);

    // Opens path for reading; not isOpen(), with its path, when it cannot be read (a folder, a
    // missing or unreadable file). A book file's chain is walked at once: a chain that cannot be
    // walked still gives an open book, whose records() raise the walk's error. A PDF document's
    // bytes are not walked.
    static OpenBook open(const QString &path);

    const QString &path() const { return path_; }
    bool isOpen() const { return stream_ != nullptr; }

    // The read stream; BookFormatError when no document is open.
    std::istream &stream() const;

    // Every record of the chain, in order; the error of a chain that could not be walked.
    const std::vector<BookRecord> &records() const;

    // Reads record k into destination; false, destination untouched, when the chain holds no
    // record k. Raises as stream() and records() do.
    bool read(std::int32_t k, Bytes &destination) const;

private:
    QString path_;
    std::unique_ptr<std::istream> stream_;
    std::vector<BookRecord> records_;
    std::exception_ptr walkFailure_;
};
