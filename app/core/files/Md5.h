#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

// MD5 digests (RFC 1321) and their text form, 32 lower-case hexadecimal characters.
struct MD5Context {
    std::uint32_t State[4];
    std::uint32_t Count[2]; // bits hashed so far, modulo 2^64, low word first
    std::uint8_t Buffer[64];
};

using MD5Digest = std::array<std::uint8_t, 16>;

void MD5Init(MD5Context &context);
void MD5Update(MD5Context &context, const void *bytes, std::uint32_t length);
// Writes the digest, then clears the whole context; initialise it again before reuse.
void MD5Final(MD5Context &context, MD5Digest &digest);

// The digest of the whole file. When the file cannot be read the digest is that of the
// empty input and the result is false, so a caller never mistakes it for the file's own.
bool MD5File(const std::filesystem::path &path, MD5Digest &digest);

std::string MD5DigestToText(const MD5Digest &digest);

// The MD5 text of bytes held in memory.
std::string MD5TextOf(const void *bytes, std::uint32_t length);
