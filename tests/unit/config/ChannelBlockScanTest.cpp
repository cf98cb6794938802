#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/ChannelBlock.h"
#include "config/ChannelBlockScan.h"

namespace {

const std::string kImage = std::string("MZ") + std::string(198, '\x90');  // not a trailer

config::ChannelScan Scan(const std::string& file) {
  return config::ScanChannelBlocks(file.size(), [&file](uint64_t offset, void* buffer, uint32_t size, uint32_t* error) {
    if (offset > file.size() || size > file.size() - offset) {
      *error = 38;
      return false;
    }
    std::memcpy(buffer, file.data() + offset, size);
    return true;
  });
}

std::string Trailer(uint32_t length, const std::string& md5) {
  std::string t(40, '\0');
  t[0] = '\xF4';
  t[1] = '\x0E';
  for (int i = 0; i < 4; ++i) t[2 + i] = static_cast<char>(length >> (8 * i));
  std::memcpy(&t[6], md5.data(), std::min<size_t>(md5.size(), 33));
  t[39] = 1;
  return t;
}

TEST(ChannelBlockScan, FileWithoutTrailerEndsTheChainAtOnce) {
  config::ChannelScan scan = Scan(kImage);
  EXPECT_TRUE(scan.blocks.empty());
  EXPECT_EQ(scan.stop, config::ScanStop::kChainEnd);
}

TEST(ChannelBlockScan, TwoBlocksAreFoundLastFirstWithTheirOffsets) {
  std::string first = config::MakeChannelBlock(R"({"supplyid":1})");
  std::string second = config::MakeChannelBlock(R"({"supplyid":2})");
  config::ChannelScan scan = Scan(kImage + first + second);
  ASSERT_EQ(scan.blocks.size(), 2u);
  EXPECT_EQ(scan.stop, config::ScanStop::kChainEnd);
  EXPECT_EQ(scan.blocks[0].value["supplyid"], 2);
  EXPECT_EQ(scan.blocks[1].value["supplyid"], 1);
  EXPECT_EQ(scan.blocks[1].offset, kImage.size());
  EXPECT_EQ(scan.blocks[0].offset, kImage.size() + first.size());
}

TEST(ChannelBlockScan, LowerCaseDigitsAreAccepted) {
  std::string block = config::MakeChannelBlock(R"({"a":1})");
  for (size_t i = block.size() - 34; i < block.size() - 2; ++i) block[i] = static_cast<char>(std::tolower(block[i]));
  EXPECT_EQ(Scan(kImage + block).blocks.size(), 1u);
}

// One changed byte, in the text or in the padding: the block is refused and the one
// before it is not read at all.
TEST(ChannelBlockScan, ChangedByteStopsTheWalkAtThatBlock) {
  std::string earlier = config::MakeChannelBlock(R"({"supplyid":1})");
  std::string text = R"({"supplyid":2})";
  for (size_t at : {size_t{3}, text.size() + 1}) {
    std::string later = config::MakeChannelBlock(text);
    later[at] ^= 0x01;
    config::ChannelScan scan = Scan(kImage + earlier + later);
    EXPECT_TRUE(scan.blocks.empty()) << at;
    EXPECT_EQ(scan.stop, config::ScanStop::kMd5Mismatch) << at;
    EXPECT_EQ(scan.headerMd5.size(), 32u);
    EXPECT_EQ(scan.dataMd5.size(), 32u);
    EXPECT_NE(scan.headerMd5, scan.dataMd5);
  }
}

TEST(ChannelBlockScan, HostileLengthsAreRefusedWithoutReading) {
  struct Case {
    uint32_t length;
    config::ScanStop stop;
  };
  const uint32_t before = static_cast<uint32_t>(kImage.size());
  const Case cases[] = {
      {0, config::ScanStop::kChainEnd},
      {before + 1, config::ScanStop::kLengthTooLong},
      {0xFFFFFFFFu, config::ScanStop::kLengthTooLong},
      {0xFFFFFFF8u, config::ScanStop::kLengthTooLong},
  };
  for (const Case& c : cases) {
    config::ChannelScan scan = Scan(kImage + Trailer(c.length, std::string(32, '0')));
    EXPECT_EQ(scan.stop, c.stop) << c.length;
    if (c.stop == config::ScanStop::kLengthTooLong) {
      EXPECT_EQ(scan.length, c.length);
      EXPECT_EQ(scan.available, before);
    }
  }
}

TEST(ChannelBlockScan, LengthOfAllBytesBeforeTheTrailerIsAllowed) {
  std::string block = config::MakeChannelBlock(R"({"a":1})");
  config::ChannelScan scan = Scan(block);  // the block starts at offset 0
  ASSERT_EQ(scan.blocks.size(), 1u);
  EXPECT_EQ(scan.blocks[0].offset, 0u);
  EXPECT_EQ(scan.stop, config::ScanStop::kChainEnd);
}

TEST(ChannelBlockScan, FilesShorterThanATrailerEndTheChain) {
  for (size_t size : {0, 1, 39}) EXPECT_EQ(Scan(std::string(size, '\xF4')).stop, config::ScanStop::kChainEnd);
}

TEST(ChannelBlockScan, ReadFailureStopsWithTheErrorCode) {
  std::string file = kImage + config::MakeChannelBlock(R"({"a":1})");
  config::ChannelScan scan = config::ScanChannelBlocks(file.size(), [](uint64_t, void*, uint32_t, uint32_t* error) {
    *error = 5;
    return false;
  });
  EXPECT_EQ(scan.stop, config::ScanStop::kHeaderReadFailed);
  EXPECT_EQ(scan.errorCode, 5u);

  int calls = 0;
  scan = config::ScanChannelBlocks(file.size(), [&](uint64_t offset, void* buffer, uint32_t size, uint32_t* error) {
    if (++calls == 2) {
      *error = 23;
      return false;
    }
    std::memcpy(buffer, file.data() + offset, size);
    return true;
  });
  EXPECT_EQ(scan.stop, config::ScanStop::kDataReadFailed);
  EXPECT_EQ(scan.errorCode, 23u);
}

// Blocks found before a bad one are kept; the bad one ends the walk.
TEST(ChannelBlockScan, UnparsableJsonKeepsTheLaterBlocks) {
  std::string bad = config::MakeChannelBlock(R"({"a":)");
  std::string good = config::MakeChannelBlock(R"({"a":1})");
  config::ChannelScan scan = Scan(kImage + bad + good);
  ASSERT_EQ(scan.blocks.size(), 1u);
  EXPECT_EQ(scan.stop, config::ScanStop::kJsonParseFailed);
  EXPECT_FALSE(scan.parseError.empty());
  EXPECT_NE(scan.failedData, nullptr);
}

TEST(ChannelBlockScan, DeepNestingIsAParseFailureNotACrash) {
  const size_t depth = 1000000;
  std::string text = std::string(depth, '[') + std::string(depth, ']');
  config::ChannelScan scan = Scan(kImage + config::MakeChannelBlock(text));
  EXPECT_TRUE(scan.blocks.empty());
  EXPECT_EQ(scan.stop, config::ScanStop::kJsonParseFailed);
  EXPECT_NE(scan.parseError.find("deeper"), std::string::npos) << scan.parseError;
}

TEST(ChannelBlockScan, ModerateNestingParses) {
  std::string text = "{\"a\":" + std::string(100, '[') + std::string(100, ']') + "}";
  config::ChannelScan scan = Scan(kImage + config::MakeChannelBlock(text));
  EXPECT_EQ(scan.blocks.size(), 1u);
}

}  // namespace
