#include "app/book/RecordChain.h"

#include <algorithm>

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

} // namespace bookchain
