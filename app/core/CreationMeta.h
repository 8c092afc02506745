#pragma once

#include "app/book/BookFile.h"
#include "app/core/Numbering.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

// A numbering constraint of the book-creation window, keyed by the image file it applies to.
struct CreationConstraint {
    QString File;
    NumberingKind Kind = 5;
    std::int32_t Value = 0;
};

// What the book-creation window holds when the book is made.
struct CreationContent {
    QString Cover; // Reliure
    bool CoverChecked = false;
    QStringList PageFiles;
    QStringList QuatrsFiles;
    bool QuatrsChecked = false;
    QString Description; // Descript
    bool DescriptionChecked = false;
    std::vector<CreationConstraint> Constraints;
};

// A constraint names a file that is neither a page nor a back cover; what() is the message.
class UnplacedConstraintError : public std::runtime_error {
public:
    UnplacedConstraintError();
};

// The image records in book order: the cover when checked and it names an existing file,
// every page, every back cover.
QStringList CreationImageFiles(const CreationContent &content);

// The meta record: the description file (less one trailing NUL) when checked, then the
// "%EOF", "%MD5" ... lines, each ending in CR LF. Raises FileWriteError when a file cannot
// be read, UnplacedConstraintError for a constraint on a file of neither list.
Bytes BuildCreationMetaRecord(const CreationContent &content);
