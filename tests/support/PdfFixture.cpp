#include "tests/support/PdfFixture.h"

#include "tests/support/RunTool.h"

#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

// Runs a PostScript program through Ghostscript's pdfwrite device into path.
void WriteWithPdfwrite(const std::filesystem::path &path, const QString &program)
{
    if (!RunTool(QStringLiteral("gs"),
                 {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                  "-sOutputFile=" + QString::fromStdString(path.string()), "-c", program}))
        throw std::runtime_error("gs pdfwrite failed");
}

} // namespace

void MakeGhostscriptPdf(const std::filesystem::path &path, int pages)
{
    WriteWithPdfwrite(path, QStringLiteral("/Helvetica findfont 20 scalefont setfont 1 1 %1 { "
                                           "100 100 moveto 3 string cvs show showpage } for")
                                .arg(pages));
}

void MakeColouredPdf(const std::filesystem::path &path, const std::vector<QColor> &pages)
{
    QString program = QStringLiteral("<< /PageSize [72 72] >> setpagedevice ");
    for (const QColor &colour : pages)
        program += QStringLiteral("%1 %2 %3 setrgbcolor 0 0 72 72 rectfill showpage ")
                       .arg(colour.redF())
                       .arg(colour.greenF())
                       .arg(colour.blueF());
    WriteWithPdfwrite(path, program);
}

void RewriteWithQpdf(const std::filesystem::path &source, const std::filesystem::path &target,
                     const QStringList &options)
{
    if (!RunTool(QStringLiteral("qpdf"),
                 options + QStringList{QString::fromStdString(source.string()),
                                       QString::fromStdString(target.string())}))
        throw std::runtime_error("qpdf failed");
}

void MakeQtPdf(const std::filesystem::path &path, int pages)
{
    QPdfWriter writer(QString::fromStdString(path.string()));
    QPainter painter(&writer);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.drawText(100, 100, QString::number(page));
    }
}

PdfBuilder::Objects PdfBuilder::PageTree(int pages, const std::string &count)
{
    std::string kids;
    for (int page = 0; page < pages; ++page)
        kids += std::to_string(page + 3) + " 0 R ";
    Objects objects = {{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                       {2, "<< /Type /Pages /Kids [ " + kids + "] /Count " + count + " >>"}};
    for (int page = 0; page < pages; ++page)
        objects.emplace_back(page + 3, "<< /Type /Page /Parent 2 0 R >>");
    return objects;
}

PdfBuilder &PdfBuilder::section(const Objects &objects, const std::string &trailerEntries)
{
    std::vector<std::pair<int, long>> offsets;
    for (const auto &[number, body] : objects) {
        offsets.emplace_back(number, static_cast<long>(data_.size()));
        data_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const long xref = static_cast<long>(data_.size());
    data_ += "xref\n";
    if (lastXref_ < 0)
        data_ += "0 1\n0000000000 65535 f \n";
    for (const auto &[number, offset] : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010ld 00000 n \n", offset);
        data_ += std::to_string(number) + " 1\n" + line;
    }
    data_ += "trailer\n<< /Size 100 " + trailerEntries;
    if (lastXref_ >= 0)
        data_ += " /Prev " + std::to_string(lastXref_);
    data_ += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    lastXref_ = xref;
    return *this;
}

PdfBuilder &PdfBuilder::append(const std::string &bytes)
{
    data_ += bytes;
    return *this;
}

void PdfBuilder::write(const std::filesystem::path &path) const
{
    std::ofstream out(path, std::ios::binary);
    out << data_;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}
