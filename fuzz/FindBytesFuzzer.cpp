// FindBytes against a plain search. The input is a pattern length (one byte), a signed
// 16-bit start position, the pattern, then the buffer.
#include "app/book/BookFile.h"
#include "fuzz/Fuzz.h"

#include <algorithm>
#include <string_view>

void FuzzInput(std::span<const std::uint8_t> data)
{
    if (data.size() < 3)
        return;
    const std::size_t length = std::min<std::size_t>(data[0], data.size() - 3);
    const auto start = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const std::span<const std::uint8_t> pattern = data.subspan(3, length);
    const std::span<const std::uint8_t> buffer = data.subspan(3 + length);

    std::int32_t expected = -1;
    const std::size_t first = static_cast<std::size_t>(std::max<int>(start, 1) - 1);
    if (!pattern.empty() && first <= buffer.size()) {
        const auto found = std::search(buffer.begin() + static_cast<std::ptrdiff_t>(first),
                                       buffer.end(), pattern.begin(), pattern.end());
        if (found != buffer.end())
            expected = static_cast<std::int32_t>(found - buffer.begin());
    }
    const std::string_view text(reinterpret_cast<const char *>(pattern.data()), pattern.size());
    if (FindBytes(text, buffer.data(), static_cast<std::int32_t>(buffer.size()), start) != expected)
        FuzzFault("FindBytes differs from a plain search");
}
