#include "utils/Md5.h"

#include <algorithm>
#include <cstring>

namespace utils {
namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr uint8_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

inline uint32_t RotateLeft(uint32_t x, unsigned n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, buffer_{} {}

// Fully unrolled: the round constants and shifts become immediates, which is what lets a
// file hash keep pace with the disk cache.
#define MIREL_MD5_STEP(f, a, b, c, d, x, t, s) \
  a += f(b, c, d) + (x) + (t);                 \
  a = RotateLeft(a, s) + b

#define MIREL_MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define MIREL_MD5_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define MIREL_MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define MIREL_MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))

void Md5::Transform(const uint8_t block[64]) {
  uint32_t m[16];
  for (int i = 0; i < 16; ++i) {
    m[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 | uint32_t(block[i * 4 + 2]) << 16 |
           uint32_t(block[i * 4 + 3]) << 24;
  }
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  const uint32_t* k = kSine;
  const uint8_t* r = kShift;
#define ROUND(f, g0, gStep)                                                   \
  for (int i = 0; i < 16; i += 4) {                                           \
    MIREL_MD5_STEP(f, a, b, c, d, m[(g0 + gStep * i) & 15], k[i], r[i]);      \
    MIREL_MD5_STEP(f, d, a, b, c, m[(g0 + gStep * (i + 1)) & 15], k[i + 1], r[i + 1]); \
    MIREL_MD5_STEP(f, c, d, a, b, m[(g0 + gStep * (i + 2)) & 15], k[i + 2], r[i + 2]); \
    MIREL_MD5_STEP(f, b, c, d, a, m[(g0 + gStep * (i + 3)) & 15], k[i + 3], r[i + 3]); \
  }                                                                           \
  k += 16;                                                                    \
  r += 16
  ROUND(MIREL_MD5_F, 0, 1);
  ROUND(MIREL_MD5_G, 1, 5);
  ROUND(MIREL_MD5_H, 5, 3);
  ROUND(MIREL_MD5_I, 0, 7);
#undef ROUND
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(const void* data, size_t size) {
  const uint8_t* in = static_cast<const uint8_t*>(data);
  size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
  bitCount_ += static_cast<uint64_t>(size) * 8;
  if (used != 0) {
    size_t take = std::min(size, 64 - used);
    std::memcpy(buffer_ + used, in, take);
    in += take;
    size -= take;
    if (used + take < 64) return;
    Transform(buffer_);
  }
  for (; size >= 64; in += 64, size -= 64) Transform(in);
  if (size != 0) std::memcpy(buffer_, in, size);
}

Md5::Digest Md5::Final() {
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bitCount_ >> (8 * i));
  static const uint8_t kPadding[64] = {0x80};
  size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
  Update(kPadding, used < 56 ? 56 - used : 120 - used);
  Update(length, 8);
  Digest digest;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) digest[i * 4 + j] = static_cast<uint8_t>(state_[i] >> (8 * j));
  }
  return digest;
}

std::string ToLowerHex(const uint8_t* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(size * 2, '0');
  for (size_t i = 0; i < size; ++i) {
    out[i * 2] = kDigits[bytes[i] >> 4];
    out[i * 2 + 1] = kDigits[bytes[i] & 15];
  }
  return out;
}

std::string Md5Hex(std::string_view bytes) {
  Md5 md5;
  md5.Update(bytes);
  return Md5Hex(md5.Final());
}

}  // namespace utils
