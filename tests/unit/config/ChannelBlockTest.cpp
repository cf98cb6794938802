#include <gtest/gtest.h>

#include <string>

#include "config/ChannelBlock.h"
#include "utils/Md5.h"

namespace {

TEST(ChannelBlock, LayoutOfA184ByteTextIsEightZerosAndTheTrailer) {
  std::string text = "{\"pkgName\":\"" + std::string(184 - 14, 'x') + "\"}";
  ASSERT_EQ(text.size(), 184u);
  std::string block = config::MakeChannelBlock(text);
  ASSERT_EQ(block.size(), 232u);
  std::string data = block.substr(0, 192);
  EXPECT_EQ(data.substr(0, 184), text);
  EXPECT_EQ(data.substr(184), std::string(8, '\0'));

  const auto* trailer = reinterpret_cast<const uint8_t*>(block.data() + 192);
  EXPECT_EQ(trailer[0], 0xF4);
  EXPECT_EQ(trailer[1], 0x0E);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(trailer + 2), 4), std::string("\xC0\0\0\0", 4));
  std::string upper = utils::Md5Hex(data);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(trailer + 6), 32), upper);
  EXPECT_EQ(trailer[38], 0);
  EXPECT_EQ(trailer[39], 1);
}

TEST(ChannelBlock, PaddingIsOneToEightZerosToAMultipleOfEight) {
  for (size_t size = 0; size <= 17; ++size) {
    std::string block = config::MakeChannelBlock(std::string(size, 'a'));
    size_t length = block.size() - config::kTrailerSize;
    EXPECT_EQ(length % 8, 0u) << size;
    EXPECT_GE(length - size, 1u) << size;
    EXPECT_LE(length - size, 8u) << size;
    config::ChannelTrailer t = config::ParseTrailer(reinterpret_cast<const uint8_t*>(block.data() + length));
    EXPECT_TRUE(config::HasBlock(t));
    EXPECT_EQ(t.length, length);
  }
}

TEST(ChannelBlock, TrailerWithoutZeroByteIsCutAtTheMd5Field) {
  uint8_t raw[40];
  std::fill(std::begin(raw), std::end(raw), static_cast<uint8_t>('A'));
  config::ChannelTrailer t = config::ParseTrailer(raw);
  EXPECT_EQ(t.md5.size(), 33u);
  EXPECT_FALSE(config::HasBlock(t));
}

TEST(ChannelBlock, JsonTextEndsAtTheFirstZeroByte) {
  EXPECT_EQ(config::JsonTextOf(std::string_view("{}\0\0", 4)), "{}");
  EXPECT_EQ(config::JsonTextOf(std::string_view("{}\0x", 4)), "{}");
  EXPECT_EQ(config::JsonTextOf("{}"), "{}");
}

TEST(ChannelBlock, Md5TextComparesWithoutCase) {
  EXPECT_TRUE(config::Md5TextMatches("D41D8CD98F00B204E9800998ECF8427E", "d41d8cd98f00b204e9800998ecf8427e"));
  EXPECT_TRUE(config::Md5TextMatches("d41d8cd98f00b204e9800998ecf8427e", "d41d8cd98f00b204e9800998ecf8427e"));
  EXPECT_FALSE(config::Md5TextMatches("d41d8cd98f00b204e9800998ecf8427f", "d41d8cd98f00b204e9800998ecf8427e"));
  EXPECT_FALSE(config::Md5TextMatches("d41d8cd98f00b204e9800998ecf8427", "d41d8cd98f00b204e9800998ecf8427e"));
  EXPECT_FALSE(config::Md5TextMatches("", "d41d8cd98f00b204e9800998ecf8427e"));
}

}  // namespace
