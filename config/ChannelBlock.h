// Byte layout of a channel-parameter block: the JSON text, its zero padding and the
// 40-byte trailer that follows it. Blocks are chained backwards from the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace config {

inline constexpr uint16_t kTrailerMagic = 0x0EF4;
inline constexpr uint32_t kTrailerSize = 40;
inline constexpr uint32_t kTrailerMd5Size = 33;  // 32 digits and a zero byte

struct ChannelTrailer {
  uint16_t magic = 0;
  uint32_t length = 0;
  std::string md5;  // the digit text up to its first zero byte, at most 33 bytes
};

// Reads the fields of the 40 bytes at `bytes` (little-endian, packed).
ChannelTrailer ParseTrailer(const uint8_t* bytes);

// Whether the trailer can start a block: right magic and a non-zero length.
inline bool HasBlock(const ChannelTrailer& t) { return t.magic == kTrailerMagic && t.length != 0; }

// The JSON text of a block's data: up to its first zero byte.
std::string_view JsonTextOf(std::string_view data);

// Case-insensitive comparison of a trailer's digits with a computed digest text.
bool Md5TextMatches(std::string_view trailerText, std::string_view computed);

// Block data and trailer ready to append to a program file: the text, 1 to 8 zero bytes
// to a multiple of 8, then the trailer with the digits in upper case. The caller checks
// that the text holds no zero byte and fits the 32-bit length.
std::string MakeChannelBlock(std::string_view jsonText);

}  // namespace config
