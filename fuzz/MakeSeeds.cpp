// Writes the seed corpus of a fuzz target into a folder, made with the program's own writers
// and the tools the tests use:  make_fuzz_seeds <kind> <folder>
#include "app/core/creation/CreationMeta.h"
#include "app/core/description/Rtf.h"
#include "app/core/files/BookWriter.h"
#include "app/core/tools/PdfToBook.h"
#include "app/jpeg/Jpeg.h"
#include "fuzz/FuzzBook.h"
#include "tests/support/BookFixture.h"
#include "tests/support/DocumentFixture.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QGuiApplication>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Seeds = std::vector<std::pair<std::string, Bytes>>;

QString Path(const fs::path &path)
{
    return QString::fromStdString(path.string());
}

// Writes every image as a picture file of dir, and gives their paths.
QStringList WriteImages(const TempDir &dir, const std::vector<Bytes> &images)
{
    QStringList files;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const fs::path file = dir / ("image" + std::to_string(i) + ".jpg");
        WriteFileBytes(file, images[i]);
        files << Path(file);
    }
    return files;
}

std::vector<Bytes> ReadRecords(const fs::path &book)
{
    std::ifstream stream(book, std::ios::binary);
    std::vector<Bytes> records(std::size_t(ReadBookRecord(stream, nullptr, INT32_MAX)));
    for (std::size_t k = 0; k < records.size(); ++k)
        ReadBookRecord(stream, &records[k], std::int32_t(k));
    return records;
}

// The meta record that the creation window writes for content.
Bytes CreationMeta(const CreationContent &content)
{
    TempDir dir;
    WriteCreatedBook(content, Path(dir / "livre.bd"));
    return ReadRecords(dir / "livre.bd").back();
}

Seeds BookChainSeeds()
{
    const Bytes page = MakeJpeg(8, 8);
    const Bytes other = MakeJpeg(8, 8, Qt::blue);
    const std::vector<Bytes> images{page, other, page};
    const Bytes meta = MakeMetaRecord("{\\rtf1 Une histoire}\r\n", StandardMetaLines(images));

    TempDir dir;
    const QString written = Path(dir / "livre.bd");
    WriteBookImages(WriteImages(dir, images), written,
                    [&](const std::vector<std::string> &) { return meta; });

    return {{"one-image", AssembleBook({page})},
            {"images-and-meta", AssembleBook({page, other, page, meta})},
            {"empty-records", AssembleBook({page, {}, other, {}})},
            {"written", ReadFileBytes(dir / "livre.bd")}};
}

// The input of the FindBytes target: pattern length, 16-bit start, pattern, buffer.
Bytes FindBytesInput(const std::string &pattern, int start, const std::string &buffer)
{
    Bytes input{static_cast<std::uint8_t>(pattern.size()), static_cast<std::uint8_t>(start),
                static_cast<std::uint8_t>(start >> 8)};
    input.insert(input.end(), pattern.begin(), pattern.end());
    input.insert(input.end(), buffer.begin(), buffer.end());
    return input;
}

Seeds FindBytesSeeds()
{
    const std::string meta = "{\\rtf1 }%EOF\r\n%MD5\r\n0123\r\n%Reliure\r\n%ListePages\r\n2\r\n";
    return {{"keyword", FindBytesInput("%Reliure", 1, meta)},
            {"at-the-end", FindBytesInput("2\r\n", 1, meta)},
            {"after-start", FindBytesInput("\r\n", 10, meta)},
            {"skipped-at-zero", FindBytesInput("{\\rtf1", 10, meta + "{\\rtf1")},
            {"repeats", FindBytesInput("aab", 1, "aaaaab")},
            {"longer-than-buffer", FindBytesInput("%EOF%EOF", 0, "%EOF")}};
}

// Meta records of the fuzz book's images, as the creation window writes them.
Seeds PageListSeeds()
{
    TempDir dir;
    std::vector<Bytes> records;
    for (int i = 0; i < FuzzBookImageCount; ++i)
        records.push_back(FuzzBookImage(i));
    const QStringList images = WriteImages(dir, records);
    WriteFileBytes(dir / "description.rtf", ToBytes("{\\rtf1 Une histoire}\r\n"));

    CreationContent plain;
    plain.Cover = images[0];
    plain.CoverChecked = true;
    plain.PageFiles = images.mid(1, 9);
    plain.QuatrsFiles = images.mid(10);
    plain.QuatrsChecked = true;
    plain.Description = Path(dir / "description.rtf");
    plain.DescriptionChecked = true;

    CreationContent constrained = plain;
    constrained.Constraints = {{images[2], 3, 0},
                               {images[4], 5, 10 | RightPageBit},
                               {images[6], 0, LeftPageBit},
                               {images[10], 1, -1},
                               {images[11], 5, 3}};

    CreationContent pagesOnly;
    pagesOnly.PageFiles = images;
    pagesOnly.Constraints = {{images[0], 2, 4}, {images[5], 4, RightPageBit}};

    std::vector<std::string> lines = StandardMetaLines(records);
    lines.insert(lines.end(), {"%Presentation", "%Reliure", "%Prems", "1", "%ListePages", "7",
                               "%Quatrs", "2", "%Contraintes", "1", "0", "5", "9", "5", "-1"});
    return {{"plain", CreationMeta(plain)},
            {"constrained", CreationMeta(constrained)},
            {"pages-only", CreationMeta(pagesOnly)},
            {"every-group", MakeMetaRecord("{\\rtf1 }\r\n", lines)},
            {"no-line-break", MakeMetaRecord("{\\rtf1 }", StandardMetaLines(records))}};
}

Seeds PdfSeeds()
{
    TempDir dir;
    MakeQtPdf(dir / "qt.pdf", 2);
    MakeGhostscriptPdf(dir / "gs.pdf", 3);
    RewriteWithQpdf(dir / "gs.pdf", dir / "streams.pdf", {"--object-streams=generate"});

    PdfBuilder updated;
    updated.section(PdfBuilder::PageTree(2, "2"), "/Root 1 0 R")
        .section({{2, "<< /Type /Pages /Kids [ 3 0 R 4 0 R 5 0 R ] /Count 3 >>"},
                  {5, "<< /Type /Page /Parent 2 0 R >>"}},
                 "");
    PdfBuilder indirect;
    PdfBuilder::Objects objects = PdfBuilder::PageTree(2, "9 0 R");
    objects.emplace_back(9, "2");
    indirect.section(objects, "/Root 1 0 R");
    PdfBuilder nested;
    nested.section({{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                    {2, "<< /Resources << /Count 40 >> /Kids [ 3 0 R ] /Count 1 >>"},
                    {3, "<< /Type /Page /Parent 2 0 R >>"}},
                   "/Root 1 0 R");

    return {{"qt", ReadFileBytes(dir / "qt.pdf")},
            {"ghostscript", ReadFileBytes(dir / "gs.pdf")},
            {"object-streams", ReadFileBytes(dir / "streams.pdf")},
            {"incremental", ToBytes(updated.data())},
            {"indirect-count", ToBytes(indirect.data())},
            {"nested-count", ToBytes(nested.data())}};
}

Seeds JpegSeeds()
{
    TempDir dir;
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    const QString source = Path(dir / "source.ppm");
    if (!picture.save(source, "PPM"))
        throw std::runtime_error("cannot write the source picture");

    Seeds seeds{{"qt", MakeJpeg(8, 8)}};
    jpeg::Image image{16, 16, jpeg::PixelLayout::Rgb, {}};
    for (int i = 0; i < 16 * 16; ++i)
        image.pixels.insert(image.pixels.end(), {std::uint8_t(i), 128, std::uint8_t(255 - i)});
    seeds.emplace_back("encoded", jpeg::Encode(image));

    const std::vector<std::pair<std::string, QStringList>> variants{
        {"baseline", {}},
        {"progressive", {"-progressive"}},
        {"grey", {"-grayscale"}},
        {"arithmetic", {"-arithmetic"}},
        {"restarts", {"-restart", "1B"}},
        {"optimised-444", {"-optimize", "-sample", "1x1"}}};
    for (const auto &[name, options] : variants) {
        const QString out = Path(dir / (name + ".jpg"));
        if (!RunTool("cjpeg", options + QStringList{"-outfile", out, source}))
            throw std::runtime_error("cjpeg failed");
        seeds.emplace_back(name, ReadFileBytes(out.toStdString()));
    }
    const QString cmyk = Path(dir / "cmyk.jpg");
    if (!RunTool("gm", {"convert", source, "-colorspace", "CMYK", cmyk}))
        throw std::runtime_error("gm convert failed");
    seeds.emplace_back("cmyk", ReadFileBytes(cmyk.toStdString()));
    return seeds;
}

// Descriptions: as the program writes them, as the sample book and LibreOffice hold them, as
// plain text, and a few that stretch the reader.
Seeds RtfSeeds()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat coloured;
    coloured.setForeground(QColor(0x12, 0x80, 0xfe));
    coloured.setFontFamilies({QStringLiteral("Courier New")});
    coloured.setFontPointSize(7.5);
    cursor.insertText(QStringLiteral("Gras"), bold);
    cursor.insertText(QStringLiteral(" et bleu\tété € Ωμέγα 😀 {\\} 100 %EOF"), coloured);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("centré") + QChar(0x2028) + QStringLiteral("fin"));

    Seeds seeds{
        {"written", WriteRtf(document)},
        {"sample",
         ToBytes("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                 "\\f0\\fs24{\\b Exemple} : une bande dessin\\'e9e de d\\'e9monstration.\\par\r\n"
                 "Deux pages de garde num\\'e9rot\\'e9es.\\par\r\n}\r\n")},
        {"destinations",
         ToBytes("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                 "{\\info{\\title Titre}}{\\*\\generator x;}{\\pict\\pngblip 8950}"
                 "{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt lien}}\\uc2\\u8364\\'80\\'80"
                 "{\\header haut}\\bin3 {}}\\cf1\\ul souligné\\ulnone\\tab\\line\\qc x\\par}")},
        {"nested",
         ToBytes("{\\rtf1" + std::string(300, '{') + "\\b profond" + std::string(300, '}') + "}")},
        {"plain-utf8", ToBytes("Une histoire\r\nsans RTF : été")},
        {"plain-1252", ToBytes("caf\xE9\r\n")}};
    if (HasLibreOffice()) {
        TempDir dir;
        const Bytes office = RtfWrittenByLibreOffice(
            dir.path(), "<html><head><meta charset=\"utf-8\"><title>Titre</title></head><body>"
                        "<p><b>Exemple</b> : une <i>bande <b>dessinée</b></i>.</p>"
                        "<p align=\"center\"><font color=\"#ff0000\">Deux</font> pages</p>"
                        "</body></html>");
        if (office.empty())
            std::fprintf(stderr, "make_fuzz_seeds: LibreOffice wrote no RTF, no seed of it\n");
        else
            seeds.emplace_back("libreoffice", office);
    }
    return seeds;
}

// The bytes behind one byte that a target reads as its options.
Bytes Prefixed(std::uint8_t options, const Bytes &bytes)
{
    Bytes prefixed{options};
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    return prefixed;
}

// The descriptions behind an options byte: line breaks or blanks, no cut or a cut at 512.
Seeds RtfToTextSeeds()
{
    Seeds seeds;
    for (auto &[name, rtf] : RtfSeeds())
        for (const std::uint8_t options : {0, 1, 128})
            seeds.emplace_back(name + "-" + std::to_string(options), Prefixed(options, rtf));
    return seeds;
}

// Books as the shell sees them: with or without a cover marker, a description or a meta
// record.
Seeds ShellBookSeeds()
{
    const Bytes cover = MakeJpeg(40, 30);
    const Bytes page = MakeJpeg(24, 60, Qt::blue);
    const std::vector<Bytes> images{cover, page};
    const auto meta = [&](std::string_view description, std::vector<std::string> extra) {
        std::vector<std::string> lines = StandardMetaLines(images);
        lines.insert(lines.end(), extra.begin(), extra.end());
        return MakeMetaRecord(description, lines);
    };
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\b Caf\\'e9} cr\\'e8me\\par\r\n}";

    TempDir dir;
    const QStringList files = WriteImages(dir, images);
    CreationContent content;
    content.Cover = files[0];
    content.CoverChecked = true;
    content.PageFiles = files.mid(1);
    WriteCreatedBook(content, Path(dir / "livre.bd"));

    return {{"images-only", AssembleBook(images)},
            {"description", AssembleBook({cover, page, meta(rtf, {})})},
            {"cover-marker", AssembleBook({cover, page, meta("", {"%Reliure"})})},
            {"created", ReadFileBytes(dir / "livre.bd")}};
}

// Ghostscript's output of a small PDF, as the program asks for it, and pictures back to
// back, behind the byte that chooses the read chunk.
Seeds JpegSplitSeeds()
{
    TempDir dir;
    MakeColouredPdf(dir / "pages.pdf", {Qt::red, Qt::green, Qt::blue});
    const QString output = Path(dir / "pages.jpg");
    if (!RunTool("gs", GhostscriptBookArguments(Path(dir / "pages.pdf"), output)))
        throw std::runtime_error("gs failed");
    const Bytes rendered = ReadFileBytes(output.toStdString());
    Bytes pictures;
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue}) {
        const Bytes picture = MakeJpeg(8, 8, colour);
        pictures.insert(pictures.end(), picture.begin(), picture.end());
    }

    Seeds seeds;
    for (const std::uint8_t chunk : {0, 20, 37}) {
        const std::string suffix = "-" + std::to_string(chunk);
        seeds.emplace_back("ghostscript" + suffix, Prefixed(chunk, rendered));
        seeds.emplace_back("pictures" + suffix, Prefixed(chunk, pictures));
    }
    return seeds;
}

Bytes Concatenated(const std::vector<Bytes> &records)
{
    Bytes bytes;
    for (const Bytes &record : records)
        bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

// Whole books as the concatenation of their records: one written by the creation window,
// and thousands of tiny records with their MD5 texts, or with one short wrong text each.
Seeds BookPagesSeeds()
{
    TempDir dir;
    std::vector<Bytes> records;
    for (int i = 0; i < 6; ++i)
        records.push_back(MakeJpeg(8, 8, QColor::fromHsv(i * 60, 255, 255)));
    const QStringList files = WriteImages(dir, records);
    CreationContent content;
    content.Cover = files[0];
    content.CoverChecked = true;
    content.PageFiles = files.mid(1, 4);
    content.QuatrsFiles = files.mid(5);
    content.QuatrsChecked = true;
    content.Constraints = {{files[2], 3, 0}, {files[3], 0, LeftPageBit}};
    WriteCreatedBook(content, Path(dir / "livre.bd"));
    const Bytes created = Concatenated(ReadRecords(dir / "livre.bd"));
    if (BookOfRecords(created) != ReadFileBytes(dir / "livre.bd"))
        throw std::runtime_error("the records of the written book do not make it again");

    std::vector<Bytes> tiny;
    for (int i = 0; i < 1500; ++i)
        tiny.push_back(FuzzBookImage(i));
    tiny.push_back(MakeMetaRecord("{\\rtf1 }", StandardMetaLines(tiny)));
    std::vector<Bytes> many;
    std::vector<std::string> shortLines{"%EOF", "%MD5"};
    for (int i = 0; i < 6000; ++i) {
        many.push_back(FuzzBookImage(i));
        shortLines.emplace_back("0");
    }
    many.push_back(MakeMetaRecord("{\\rtf1 }", shortLines));
    return {{"created", created},
            {"images-only", Concatenated(records)},
            {"tiny-records", Concatenated(tiny)},
            {"short-md5-texts", Concatenated(many)}};
}

} // namespace

int main(int argc, char **argv)
{
    const std::map<std::string, std::function<Seeds()>> kinds{{"book_chain", BookChainSeeds},
                                                              {"find_bytes", FindBytesSeeds},
                                                              {"page_list", PageListSeeds},
                                                              {"pdf", PdfSeeds},
                                                              {"jpeg", JpegSeeds},
                                                              {"rtf", RtfSeeds},
                                                              {"rtf_to_text", RtfToTextSeeds},
                                                              {"shell_book", ShellBookSeeds},
                                                              {"jpeg_split", JpegSplitSeeds},
                                                              {"book_pages", BookPagesSeeds}};
    if (argc != 3 || !kinds.count(argv[1])) {
        std::string names;
        for (const auto &[name, seeds] : kinds)
            names += (names.empty() ? "" : "|") + name;
        std::fprintf(stderr, "usage: make_fuzz_seeds %s <folder>\n", names.c_str());
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    try {
        const fs::path folder = argv[2];
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const auto &[name, bytes] : kinds.at(argv[1])())
            WriteFileBytes(folder / name, bytes);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
