// MD5 (RFC 1321) over bytes, with the lower-case hexadecimal form used everywhere the
// program compares digests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace utils {

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5();
  void Update(const void* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  Digest Final();  // the object must be reset (new Md5) before reuse

 private:
  void Transform(const uint8_t block[64]);

  uint32_t state_[4];
  uint64_t bitCount_ = 0;
  uint8_t buffer_[64];
};

std::string ToLowerHex(const uint8_t* bytes, size_t size);
std::string Md5Hex(std::string_view bytes);
inline std::string Md5Hex(const Md5::Digest& digest) { return ToLowerHex(digest.data(), digest.size()); }

}  // namespace utils
