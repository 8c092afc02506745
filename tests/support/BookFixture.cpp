#include "tests/support/BookFixture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>

#include <fstream>
#include <iterator>
#include <stdexcept>

Bytes MakeJpeg(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 90))
        throw std::runtime_error("JPEG encoding failed");
    const QByteArray &data = buffer.data();
    return Bytes(data.begin(), data.end());
}

Bytes WithFrameSize(Bytes jpeg, int width, int height)
{
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = std::uint8_t(height >> 8);
            jpeg[i + 6] = std::uint8_t(height);
            jpeg[i + 7] = std::uint8_t(width >> 8);
            jpeg[i + 8] = std::uint8_t(width);
            return jpeg;
        }
    throw std::runtime_error("no JPEG frame header");
}

Bytes LittleEndian32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

Bytes AssembleBook(const std::vector<Bytes> &records)
{
    Bytes book;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) {
            const Bytes length = LittleEndian32(static_cast<std::int32_t>(records[i].size()));
            book.insert(book.end(), length.begin(), length.end());
        }
        book.insert(book.end(), records[i].begin(), records[i].end());
    }
    const Bytes trailer =
        LittleEndian32(records.empty() ? 0 : static_cast<std::int32_t>(records[0].size()));
    book.insert(book.end(), trailer.begin(), trailer.end());
    return book;
}

Bytes MakeMetaRecord(std::string_view description, const std::vector<std::string> &lines)
{
    Bytes meta = ToBytes(description);
    for (const std::string &line : lines) {
        meta.insert(meta.end(), line.begin(), line.end());
        meta.push_back('\r');
        meta.push_back('\n');
    }
    return meta;
}

std::string Md5TextOf(const Bytes &bytes)
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QCryptographicHash::hash(view, QCryptographicHash::Md5).toHex().toStdString();
}

std::vector<std::string> StandardMetaLines(const std::vector<Bytes> &images)
{
    std::vector<std::string> lines{"%EOF", "%MD5"};
    for (const Bytes &image : images)
        lines.push_back(Md5TextOf(image));
    return lines;
}

Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

void WriteFileBytes(const std::filesystem::path &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadFileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
