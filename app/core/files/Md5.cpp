#include "app/core/files/Md5.h"

#include "app/core/files/ReadOnlyFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint32_t rotl(std::uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}

constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (~x & z);
}
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & z) | (y & ~z);
}
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return y ^ (x | ~z);
}

template <std::uint32_t (*Fn)(std::uint32_t, std::uint32_t, std::uint32_t)>
inline void step(std::uint32_t &a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                 std::uint32_t x, int s, std::uint32_t t)
{
    a = b + rotl(a + Fn(b, c, d) + x + t, s);
}

inline std::uint32_t loadLittleEndian(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void storeLittleEndian(std::uint8_t *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

void transform(std::uint32_t state[4], const std::uint8_t block[64])
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = loadLittleEndian(block + 4 * i);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    step<F>(a, b, c, d, x[0], 7, 0xd76aa478);
    step<F>(d, a, b, c, x[1], 12, 0xe8c7b756);
    step<F>(c, d, a, b, x[2], 17, 0x242070db);
    step<F>(b, c, d, a, x[3], 22, 0xc1bdceee);
    step<F>(a, b, c, d, x[4], 7, 0xf57c0faf);
    step<F>(d, a, b, c, x[5], 12, 0x4787c62a);
    step<F>(c, d, a, b, x[6], 17, 0xa8304613);
    step<F>(b, c, d, a, x[7], 22, 0xfd469501);
    step<F>(a, b, c, d, x[8], 7, 0x698098d8);
    step<F>(d, a, b, c, x[9], 12, 0x8b44f7af);
    step<F>(c, d, a, b, x[10], 17, 0xffff5bb1);
    step<F>(b, c, d, a, x[11], 22, 0x895cd7be);
    step<F>(a, b, c, d, x[12], 7, 0x6b901122);
    step<F>(d, a, b, c, x[13], 12, 0xfd987193);
    step<F>(c, d, a, b, x[14], 17, 0xa679438e);
    step<F>(b, c, d, a, x[15], 22, 0x49b40821);

    step<G>(a, b, c, d, x[1], 5, 0xf61e2562);
    step<G>(d, a, b, c, x[6], 9, 0xc040b340);
    step<G>(c, d, a, b, x[11], 14, 0x265e5a51);
    step<G>(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    step<G>(a, b, c, d, x[5], 5, 0xd62f105d);
    step<G>(d, a, b, c, x[10], 9, 0x02441453);
    step<G>(c, d, a, b, x[15], 14, 0xd8a1e681);
    step<G>(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    step<G>(a, b, c, d, x[9], 5, 0x21e1cde6);
    step<G>(d, a, b, c, x[14], 9, 0xc33707d6);
    step<G>(c, d, a, b, x[3], 14, 0xf4d50d87);
    step<G>(b, c, d, a, x[8], 20, 0x455a14ed);
    step<G>(a, b, c, d, x[13], 5, 0xa9e3e905);
    step<G>(d, a, b, c, x[2], 9, 0xfcefa3f8);
    step<G>(c, d, a, b, x[7], 14, 0x676f02d9);
    step<G>(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    step<H>(a, b, c, d, x[5], 4, 0xfffa3942);
    step<H>(d, a, b, c, x[8], 11, 0x8771f681);
    step<H>(c, d, a, b, x[11], 16, 0x6d9d6122);
    step<H>(b, c, d, a, x[14], 23, 0xfde5380c);
    step<H>(a, b, c, d, x[1], 4, 0xa4beea44);
    step<H>(d, a, b, c, x[4], 11, 0x4bdecfa9);
    step<H>(c, d, a, b, x[7], 16, 0xf6bb4b60);
    step<H>(b, c, d, a, x[10], 23, 0xbebfbc70);
    step<H>(a, b, c, d, x[13], 4, 0x289b7ec6);
    step<H>(d, a, b, c, x[0], 11, 0xeaa127fa);
    step<H>(c, d, a, b, x[3], 16, 0xd4ef3085);
    step<H>(b, c, d, a, x[6], 23, 0x04881d05);
    step<H>(a, b, c, d, x[9], 4, 0xd9d4d039);
    step<H>(d, a, b, c, x[12], 11, 0xe6db99e5);
    step<H>(c, d, a, b, x[15], 16, 0x1fa27cf8);
    step<H>(b, c, d, a, x[2], 23, 0xc4ac5665);

    step<I>(a, b, c, d, x[0], 6, 0xf4292244);
    step<I>(d, a, b, c, x[7], 10, 0x432aff97);
    step<I>(c, d, a, b, x[14], 15, 0xab9423a7);
    step<I>(b, c, d, a, x[5], 21, 0xfc93a039);
    step<I>(a, b, c, d, x[12], 6, 0x655b59c3);
    step<I>(d, a, b, c, x[3], 10, 0x8f0ccc92);
    step<I>(c, d, a, b, x[10], 15, 0xffeff47d);
    step<I>(b, c, d, a, x[1], 21, 0x85845dd1);
    step<I>(a, b, c, d, x[8], 6, 0x6fa87e4f);
    step<I>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    step<I>(c, d, a, b, x[6], 15, 0xa3014314);
    step<I>(b, c, d, a, x[13], 21, 0x4e0811a1);
    step<I>(a, b, c, d, x[4], 6, 0xf7537e82);
    step<I>(d, a, b, c, x[11], 10, 0xbd3af235);
    step<I>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    step<I>(b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

// Reads in blocks that stay in the cache rather than through a mapping: a file that another
// process truncates meanwhile then gives a short read, not a fault on a vanished page.
bool hashWholeFile(MD5Context &context, const ReadOnlyFile &file)
{
    const int fd = file.get();
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<std::uint8_t> block(std::size_t(128) << 10);
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        MD5Update(context, block.data(), static_cast<std::uint32_t>(got));
    }
}

} // namespace

void MD5Init(MD5Context &context)
{
    context.State[0] = 0x67452301;
    context.State[1] = 0xefcdab89;
    context.State[2] = 0x98badcfe;
    context.State[3] = 0x10325476;
    context.Count[0] = context.Count[1] = 0;
    std::memset(context.Buffer, 0, sizeof context.Buffer);
}

void MD5Update(MD5Context &context, const void *bytes, std::uint32_t length)
{
    const auto *input = static_cast<const std::uint8_t *>(bytes);
    std::uint32_t index = (context.Count[0] >> 3) & 0x3f;

    const std::uint64_t bits = std::uint64_t(length) << 3;
    const std::uint32_t low = context.Count[0] + std::uint32_t(bits);
    context.Count[1] += std::uint32_t(bits >> 32) + (low < context.Count[0] ? 1 : 0);
    context.Count[0] = low;

    const std::uint32_t room = 64 - index;
    std::uint32_t i = 0;
    if (length >= room) {
        std::memcpy(context.Buffer + index, input, room);
        transform(context.State, context.Buffer);
        for (i = room; length - i >= 64; i += 64)
            transform(context.State, input + i);
        index = 0;
    }
    if (length > i)
        std::memcpy(context.Buffer + index, input + i, length - i);
}

void MD5Final(MD5Context &context, MD5Digest &digest)
{
    std::uint8_t count[8];
    storeLittleEndian(count, context.Count[0]);
    storeLittleEndian(count + 4, context.Count[1]);

    static const std::uint8_t padding[64] = {0x80};
    const std::uint32_t index = (context.Count[0] >> 3) & 0x3f;
    MD5Update(context, padding, index < 56 ? 56 - index : 120 - index);
    MD5Update(context, count, 8);

    for (int i = 0; i < 4; ++i)
        storeLittleEndian(digest.data() + 4 * i, context.State[i]);
    std::memset(&context, 0, sizeof context);
}

bool MD5File(const std::filesystem::path &path, MD5Digest &digest)
{
    MD5Context context;
    MD5Init(context);
    const ReadOnlyFile file(path);
    const bool complete = file.regularFileSize() >= 0 && hashWholeFile(context, file);
    if (!complete)
        MD5Init(context);
    MD5Final(context, digest);
    return complete;
}

std::string MD5DigestToText(const MD5Digest &digest)
{
    static const char hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(32);
    for (const std::uint8_t byte : digest) {
        text += hex[byte >> 4];
        text += hex[byte & 0x0f];
    }
    return text;
}

std::string MD5TextOf(const void *bytes, std::uint32_t length)
{
    MD5Context context;
    MD5Init(context);
    MD5Update(context, bytes, length);
    MD5Digest digest;
    MD5Final(context, digest);
    return MD5DigestToText(digest);
}
