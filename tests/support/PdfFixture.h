#pragma once

#include <QColor>

#include <QStringList>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Test fixtures for PDF documents.

// A PDF of the given number of pages written by Ghostscript's pdfwrite device.
void MakeGhostscriptPdf(const std::filesystem::path &path, int pages);

// A PDF written by Ghostscript's pdfwrite device whose pages measure 72 x 72 points, each
// filled with its colour.
void MakeColouredPdf(const std::filesystem::path &path, const std::vector<QColor> &pages);

// A PDF of the given number of pages written by Qt's PDF writer.
void MakeQtPdf(const std::filesystem::path &path, int pages);

// A copy of source rewritten by qpdf with the given options.
void RewriteWithQpdf(const std::filesystem::path &source, const std::filesystem::path &target,
                     const QStringList &options);

// A hand-written PDF with classic cross-reference sections. Every section after the first
// is an incremental update: its trailer points back at the section before it with /Prev.
class PdfBuilder {
public:
    using Objects = std::vector<std::pair<int, std::string>>; // object number, body

    // Catalog 1, page tree 2 with the given /Count text, pages 3 .. pages + 2.
    static Objects PageTree(int pages, const std::string &count);

    // Appends the objects and a cross-reference section listing them; trailerEntries go
    // into the trailer dictionary (for example "/Root 1 0 R").
    PdfBuilder &section(const Objects &objects, const std::string &trailerEntries);
    // Appends raw bytes, for damaged files.
    PdfBuilder &append(const std::string &bytes);

    long lastXref() const { return lastXref_; }
    const std::string &data() const { return data_; }
    void write(const std::filesystem::path &path) const;

private:
    std::string data_ = "%PDF-1.4\n";
    long lastXref_ = -1;
};
