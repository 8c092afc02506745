#pragma once

#include "app/book/BookFile.h"
#include "app/core/creation/CreationConstraints.h"
#include "app/text/UserError.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// What the book-creation window holds when the book is made.
struct CreationContent {
    QString Cover; // Reliure
    bool CoverChecked = false;
    QStringList PageFiles;
    QStringList QuatrsFiles;
    bool QuatrsChecked = false; // the back covers are used only when checked
    QString Description;        // Descript
    bool DescriptionChecked = false;
    CreationConstraintList Constraints;
};

// A constraint names a file that is neither a page nor a back cover; what() is the message.
class UnplacedConstraintError : public UserError {
public:
    UnplacedConstraintError();
};

// The image records in book order: the cover when checked and it names an existing file,
// every page, and the back covers when checked.
QStringList CreationImageFiles(const CreationContent &content);

// The meta record of a new book, prepared before anything is written. Reading the content
// raises FileReadError for a description that cannot be read, FileWriteError for one that
// holds a NUL byte (other than one last byte, which is dropped), and UnplacedConstraintError for a
// constraint on a file of neither list; constraints on back covers that are not used are
// left out.
class CreationMetaRecord {
public:
    explicit CreationMetaRecord(const CreationContent &content);

    // The description, ending with a line break when it is not empty, then "%EOF", "%MD5",
    // the MD5 text of each image record, "%Reliure", "%ListePages", "%Quatrs" and
    // "%Contraintes" with their lines, each line ending in CR LF.
    Bytes withDigests(const std::vector<std::string> &md5Texts) const;

private:
    Bytes description_;
    std::vector<std::string> numberingLines_; // the lines after the MD5 texts
};

// Writes the book of content to destination in one step: an existing file is replaced only
// once the whole book is written. Raises as CreationMetaRecord and WriteBookImages do.
void WriteCreatedBook(const CreationContent &content, const QString &destination);
