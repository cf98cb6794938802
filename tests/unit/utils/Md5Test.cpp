#include <gtest/gtest.h>

#include <string>

#include "utils/Md5.h"

namespace {

struct Md5Case {
  const char* input;
  const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Md5Case kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, Rfc1321Suite) {
  for (const Md5Case& c : kRfc1321) EXPECT_EQ(utils::Md5Hex(c.input), c.digest) << '"' << c.input << '"';
}

// Feeding the same bytes in uneven pieces must not change the digest (buffer carry-over).
TEST(Md5, PiecewiseUpdatesMatchOneShot) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += static_cast<char>(i * 7);
  const std::string expected = utils::Md5Hex(data);
  for (size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 127u}) {
    utils::Md5 md5;
    for (size_t at = 0; at < data.size(); at += piece) md5.Update(data.substr(at, piece));
    EXPECT_EQ(utils::Md5Hex(md5.Final()), expected) << "piece " << piece;
  }
}

TEST(Md5, HexIsLowerCase) {
  const uint8_t bytes[] = {0xAB, 0x01, 0xFF};
  EXPECT_EQ(utils::ToLowerHex(bytes, 3), "ab01ff");
}

}  // namespace
