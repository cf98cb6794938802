#include "config/ChannelBlock.h"

#include <cstring>

#include "utils/Md5.h"

namespace config {

ChannelTrailer ParseTrailer(const uint8_t* bytes) {
  ChannelTrailer t;
  t.magic = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  t.length = static_cast<uint32_t>(bytes[2]) | (static_cast<uint32_t>(bytes[3]) << 8) |
             (static_cast<uint32_t>(bytes[4]) << 16) | (static_cast<uint32_t>(bytes[5]) << 24);
  const char* md5 = reinterpret_cast<const char*>(bytes + 6);
  // A hostile trailer may carry no zero byte: never read past the md5 field.
  t.md5.assign(md5, strnlen(md5, kTrailerMd5Size));
  return t;
}

std::string_view JsonTextOf(std::string_view data) {
  size_t zero = data.find('\0');
  return zero == std::string_view::npos ? data : data.substr(0, zero);
}

bool Md5TextMatches(std::string_view trailerText, std::string_view computed) {
  if (trailerText.size() != computed.size()) return false;
  for (size_t i = 0; i < computed.size(); ++i) {
    char a = trailerText[i], b = computed[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

std::string MakeChannelBlock(std::string_view jsonText) {
  std::string data(jsonText);
  size_t padding = 8 - data.size() % 8;  // 1 to 8: the text always ends with a zero byte
  data.append(padding, '\0');

  std::string digits = utils::Md5Hex(data);
  for (char& c : digits) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }

  uint8_t trailer[kTrailerSize] = {};
  uint32_t length = static_cast<uint32_t>(data.size());
  trailer[0] = static_cast<uint8_t>(kTrailerMagic & 0xFF);
  trailer[1] = static_cast<uint8_t>(kTrailerMagic >> 8);
  for (int i = 0; i < 4; ++i) trailer[2 + i] = static_cast<uint8_t>(length >> (8 * i));
  std::memcpy(trailer + 6, digits.data(), 32);
  trailer[38] = 0;
  trailer[39] = 1;
  data.append(reinterpret_cast<const char*>(trailer), kTrailerSize);
  return data;
}

}  // namespace config
