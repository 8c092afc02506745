#pragma once

#include "app/book/BookLayout.h"
#include "app/core/files/Md5.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <istream>
#include <memory>
#include <optional>
#include <vector>

// The open document: the one shared read stream on it and, for a book file, its layout, read
// in one walk of the chain when the book is opened, so that every record is then read without
// walking the chain again. The walk hashes every record it reads whole, so that checking the
// images against their MD5 texts reads only the records it passed over. Replaced whole when
// another document is opened or the book is rewritten.
class OpenBook {
public:
    OpenBook() = default; // none open

    // The document path read through stream; a book file's chain is walked at once, as open
    // does.
    OpenBook(QString path, std::unique_ptr<std::istream> stream);

    // Opens path for reading; not isOpen(), with its path, when it cannot be read (a folder, a
    // missing or unreadable file). A book file's chain is walked at once: a chain that cannot be
    // walked still gives an open book, whose layout() raises the walk's error. A PDF document's
    // bytes are not walked. A path that may name another file (FileNames.h) is not opened.
    static OpenBook open(const QString &path);

    const QString &path() const { return path_; }
    bool isOpen() const { return stream_ != nullptr; }
    // The descriptor that open() reads the document through, for readers that take a name
    // (see DescriptorName); -1 when no document is open or its stream was given.
    int descriptor() const { return descriptor_; }

    // The read stream; BookFormatError when no document is open.
    std::istream &stream() const;

    // The book's layout; the error of a chain that could not be walked.
    const BookLayout &layout() const;

    // Reads record k into destination; false, destination untouched, when the chain holds no
    // record k. Raises as stream() and layout() do.
    bool read(std::int32_t k, Bytes &destination) const;

    // The MD5 digest of record k as the walk read it; none for a record it passed over.
    std::optional<MD5Digest> walkDigest(std::int32_t k) const;

private:
    struct RecordDigest {
        std::int32_t record;
        MD5Digest digest;
    };

    QString path_;
    std::unique_ptr<std::istream> stream_;
    int descriptor_ = -1;
    BookLayout layout_;
    std::vector<RecordDigest> digests_; // by record
    std::exception_ptr walkFailure_;
};

// A name that opens the file the descriptor fd of this process reads, whatever is at its path
// by now, in this process and in the programs it starts: "/proc/<pid>/fd/<fd>".
QString DescriptorName(int fd);
