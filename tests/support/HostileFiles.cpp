#include "tests/support/HostileFiles.h"

#include "tests/support/BookFixture.h"
#include "tests/support/PdfFixture.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

void writeAt(std::ofstream &out, const std::string &bytes)
{
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write a hostile file");
}

// A book of images with a meta record of lines and no description.
Bytes bookWithLines(const std::vector<Bytes> &images, std::vector<std::string> lines)
{
    std::vector<Bytes> records = images;
    records.push_back(MakeMetaRecord("", lines));
    return AssembleBook(records);
}

} // namespace

Bytes TinyRecordBook(int count)
{
    return AssembleBook(std::vector<Bytes>(std::size_t(count), Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
}

Bytes EmptyRecordBook(int count)
{
    std::vector<Bytes> records(std::size_t(count) + 1);
    records.front() = MakeJpeg(8, 8);
    return AssembleBook(records);
}

void WriteZeroFile(const std::filesystem::path &path, std::int64_t size)
{
    {
        std::ofstream create(path, std::ios::binary | std::ios::trunc);
    }
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
}

Bytes PageAndTwoEmptyRecords()
{
    return AssembleBook({MakeJpeg(8, 8), {}, {}});
}

Bytes BookImposingLastPages(int pages)
{
    std::vector<Bytes> images;
    for (int i = 0; i < pages; ++i)
        images.push_back(MakeJpeg(8, 8, QColor::fromHsv(i * 40, 255, 255)));
    std::vector<std::string> lines = StandardMetaLines(images);
    lines.insert(lines.end(), {"%ListePages", std::to_string(pages), "%Contraintes"});
    for (int i = 0; i < pages; ++i)
        lines.insert(lines.end(), {std::to_string(i + 1), std::to_string(i % 5), "9998"});
    return bookWithLines(images, lines);
}

Bytes ConstrainedBook(int count)
{
    const std::vector<Bytes> images(std::size_t(count), Bytes{0xFF, 0xD8, 0xFF, 0xD9});
    std::vector<std::string> lines{"%EOF", "%ListePages", std::to_string(count), "%Contraintes"};
    for (int i = 0; i < count; ++i)
        lines.insert(lines.end(), {std::to_string(i + 1), "5", "0"});
    return bookWithLines(images, lines);
}

void WriteSparsePdf(const std::filesystem::path &path, std::int64_t hole)
{
    const std::string head = "%PDF-1.4\n";
    const std::string catalog = "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    const std::string pages = "2 0 obj\n<< /Type /Pages /Kids [ 3 0 R ] /Count 1 >>\nendobj\n";
    const std::string page = "3 0 obj\n<< /Type /Page /Parent 2 0 R >>\nendobj\n";
    const std::string objects = head + catalog + pages + page;
    const auto entry = [](std::size_t offset) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        return std::string(line);
    };
    const std::int64_t xref = static_cast<std::int64_t>(objects.size()) + hole;
    const std::string tail =
        "xref\n0 4\n0000000000 65535 f \n" + entry(head.size()) +
        entry(head.size() + catalog.size()) + entry(head.size() + catalog.size() + pages.size()) +
        "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    writeAt(out, objects);
    out.seekp(xref);
    writeAt(out, tail);
}

std::string PdfListingEntries(int entries)
{
    std::string pdf = "%PDF-1.4\n";
    const std::size_t catalog = pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    const std::size_t pages = pdf.size();
    pdf += "2 0 obj\n<< /Type /Pages /Count " + std::to_string(entries) + " >>\nendobj\n";
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(entries) + "\n0\n" + std::to_string(catalog) + "\n" +
           std::to_string(pages) + "\n";
    for (int i = 3; i < entries; ++i)
        pdf += "0\n";
    pdf += "trailer\n<< /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::string PdfOfOnePage(const std::string &pageEntries)
{
    const std::string content = "0 0 1 rg 0 0 14400 14400 re f";
    return PdfBuilder()
        .section({{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                  {2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"},
                  {3, "<< /Type /Page /Parent 2 0 R " + pageEntries + " /Contents 4 0 R >>"},
                  {4, "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                          "\nendstream"}},
                 "/Root 1 0 R")
        .data();
}
