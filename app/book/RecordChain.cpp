#include "app/book/RecordChain.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace bookchain {

void Corrupt()
{
    throw BookFormatError(CorruptBookMessage);
}

BlockReader::BlockReader(std::istream &stream) : stream_(stream)
{
    stream_.clear();
    if (!stream_.seekg(0, std::ios::end))
        throw BookFormatError(BookReadFailedMessage);
    size_ = static_cast<std::int64_t>(stream_.tellg());
    if (size_ < 0)
        throw BookFormatError(BookReadFailedMessage);
}

void BlockReader::fill(std::int64_t position, std::size_t count)
{
    // What the last block holds from position on is kept; the rest is read behind it.
    std::size_t kept = 0;
    if (position >= start_ && position < start_ + static_cast<std::int64_t>(held_)) {
        kept = static_cast<std::size_t>(start_ + static_cast<std::int64_t>(held_) - position);
        std::copy_n(buffer_.begin() + (position - start_), kept, buffer_.begin());
    }
    const std::size_t wanted = std::max(count, BlockSize);
    if (buffer_.size() < wanted)
        buffer_.resize(wanted);
    const std::int64_t from = position + static_cast<std::int64_t>(kept);
    const auto reading = static_cast<std::streamsize>(
        std::clamp<std::int64_t>(size_ - from, 0, static_cast<std::int64_t>(wanted - kept)));
    stream_.clear();
    if (!stream_.seekg(from, std::ios::beg) ||
        !stream_.read(reinterpret_cast<char *>(buffer_.data() + kept), reading) ||
        stream_.gcount() != reading)
        throw BookFormatError(BookReadFailedMessage);
    start_ = position;
    held_ = kept + static_cast<std::size_t>(reading);
    if (held_ < count)
        throw BookFormatError(BookReadFailedMessage);
}

std::int64_t BlockReader::zeroWords(std::int64_t position, std::int64_t end)
{
    // The bytes the last block holds from position on, or else the next block; compared with
    // zeros by memcmp, then byte by byte in the piece that holds the first other byte.
    static constexpr std::array<std::uint8_t, 4096> Zeros{};
    const std::int64_t held = position >= start_ ? start_ + std::int64_t(held_) - position : 0;
    const std::int64_t scanned =
        std::min((end - position) / 4 * 4, held >= 4 ? held : std::int64_t(BlockSize));
    if (scanned <= 0)
        return 0;
    const std::span<const std::uint8_t> bytes = at(position, static_cast<std::size_t>(scanned));
    std::size_t zeros = 0;
    for (std::size_t piece = Zeros.size(); zeros < bytes.size(); zeros += piece) {
        piece = std::min(Zeros.size(), bytes.size() - zeros);
        if (std::memcmp(bytes.data() + zeros, Zeros.data(), piece) != 0)
            break;
    }
    while (zeros < bytes.size() && bytes[zeros] == 0)
        ++zeros;
    return static_cast<std::int64_t>(zeros / 4);
}

} // namespace bookchain
