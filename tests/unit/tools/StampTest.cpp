#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/ChannelBlock.h"
#include "tools/PeImage.h"
#include "tools/StampImage.h"

namespace {

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}
uint32_t Get32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])) << (8 * i);
  return v;
}

constexpr size_t kPe = 0x80;
constexpr size_t kOptional = kPe + 24;

// A minimal PE32 (or PE32+) header with 16 data directories and some body bytes.
std::string MakePe(bool pe32plus = false) {
  std::string b(0x400, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, kPe);
  std::memcpy(&b[kPe], "PE\0\0", 4);
  uint16_t optionalSize = pe32plus ? 240 : 224;
  b[kPe + 20] = static_cast<char>(optionalSize & 0xFF);
  b[kPe + 21] = static_cast<char>(optionalSize >> 8);
  b[kOptional] = 0x0B;
  b[kOptional + 1] = pe32plus ? 0x02 : 0x01;
  Put32(b, kOptional + (pe32plus ? 108 : 92), 16);
  return b;
}

size_t SecurityEntry(bool pe32plus = false) { return kOptional + (pe32plus ? 112 : 96) + 32; }

// Adds a fake certificate table of `size` bytes at the end.
void Sign(std::string& b, uint32_t size, bool pe32plus = false) {
  Put32(b, SecurityEntry(pe32plus), static_cast<uint32_t>(b.size()));
  Put32(b, SecurityEntry(pe32plus) + 4, size);
  b.append(size, '\x30');
}

TEST(PeImage, FindsTheCertificateTableOfBothFormats) {
  for (bool plus : {false, true}) {
    std::string b = MakePe(plus);
    std::string error;
    auto table = tools::FindCertificateTable(b, &error);
    ASSERT_TRUE(table) << error;
    EXPECT_FALSE(table->IsSigned());
    Sign(b, 16, plus);
    table = tools::FindCertificateTable(b, &error);
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->IsSigned());
    EXPECT_EQ(table->offset, 0x400u);
    EXPECT_EQ(table->size, 16u);
    EXPECT_EQ(table->entryOffset, SecurityEntry(plus));
  }
}

TEST(PeImage, RefusesWhatIsNoPeFile) {
  std::string good = MakePe();
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string badMz = good;
  badMz[0] = 'X';
  std::string farHeader = good;
  Put32(farHeader, 0x3C, 0xFFFFFFF0u);
  std::string badSig = good;
  badSig[kPe + 1] = 'X';
  std::string badMagic = good;
  badMagic[kOptional] = 0x07;
  std::string fewDirs = good;
  Put32(fewDirs, kOptional + 92, 4);
  std::string shortOptional = good;
  shortOptional[kPe + 20] = 100;
  const Case cases[] = {{"empty", ""},           {"text", "hello world"},   {"mz", badMz},
                        {"e_lfanew", farHeader}, {"signature", badSig},     {"magic", badMagic},
                        {"dirs", fewDirs},       {"optional size", shortOptional}, {"cut", good.substr(0, 0x90)}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(tools::FindCertificateTable(c.bytes, &error)) << c.what;
    EXPECT_NE(error.find("not a PE file"), std::string::npos) << c.what;
  }
}

TEST(StampImage, UnsignedImageGetsTheBlockAtTheEnd) {
  std::string b = MakePe();
  std::string original = b;
  std::string error;
  ASSERT_TRUE(tools::StampImage(b, R"({"supplyid":5})", &error)) << error;
  std::string block = config::MakeChannelBlock(R"({"supplyid":5})");
  EXPECT_EQ(b, original + block);
  EXPECT_EQ(Get32(b, SecurityEntry() + 4), 0u);
}

TEST(StampImage, SignedImageGrowsItsCertificateTable) {
  for (bool plus : {false, true}) {
    std::string b = MakePe(plus);
    Sign(b, 24, plus);
    std::string error;
    ASSERT_TRUE(tools::StampImage(b, R"({"a":1})", &error)) << error;
    size_t first = config::MakeChannelBlock(R"({"a":1})").size();
    EXPECT_EQ(Get32(b, SecurityEntry(plus)), 0x400u);
    EXPECT_EQ(Get32(b, SecurityEntry(plus) + 4), 24u + first);
    ASSERT_TRUE(tools::StampImage(b, R"({"a":2})", &error)) << error;  // the table is still last
    size_t second = config::MakeChannelBlock(R"({"a":2})").size();
    EXPECT_EQ(Get32(b, SecurityEntry(plus) + 4), 24u + first + second);
    EXPECT_EQ(b.size(), 0x400u + 24 + first + second);
  }
}

TEST(StampImage, RefusalsLeaveTheImageUntouched) {
  std::string signedPe = MakePe();
  Sign(signedPe, 16);
  std::string notLast = signedPe + "trailing";
  struct Case {
    const char* what;
    std::string image;
    std::string json;
    const char* reason;
  };
  const Case cases[] = {
      {"not pe", "just text", "{}", "not a PE file"},
      {"bad json", MakePe(), "{\"a\":", "does not parse"},
      {"array", MakePe(), "[1,2]", "not an object"},
      {"string", MakePe(), "\"x\"", "not an object"},
      {"empty", MakePe(), "", "does not parse"},
      {"zero byte", MakePe(), std::string("{}\0{}", 5), "zero byte"},
      {"deep", MakePe(), std::string(100000, '[') + std::string(100000, ']'), "does not parse"},
      {"table not last", notLast, "{}", "not the last thing"},
  };
  for (const Case& c : cases) {
    std::string image = c.image;
    std::string error;
    EXPECT_FALSE(tools::StampImage(image, c.json, &error)) << c.what;
    EXPECT_EQ(image, c.image) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
  }
}

TEST(ListBlocks, ShowsBlocksOldestFirstAndFlagsDamage) {
  std::string b = MakePe();
  std::string error, listing;
  EXPECT_TRUE(tools::ListBlocks(b, &listing));
  EXPECT_EQ(listing, "no channel blocks\n");

  ASSERT_TRUE(tools::StampImage(b, R"({"n":1})", &error));
  ASSERT_TRUE(tools::StampImage(b, R"({"n":2})", &error));
  EXPECT_TRUE(tools::ListBlocks(b, &listing));
  EXPECT_EQ(listing,
            "block 1: offset 1024, length 8, md5 ok\n{\"n\":1}\n"
            "block 2: offset 1072, length 8, md5 ok\n{\"n\":2}\n");

  std::string damaged = b;
  damaged[1024 + 5] = '9';  // inside the older block's text
  EXPECT_FALSE(tools::ListBlocks(damaged, &listing));
  EXPECT_EQ(listing.rfind("damaged: length 8, md5 mismatch", 0), 0u) << listing;
  EXPECT_NE(listing.find("{\"n\":2}"), std::string::npos);

  std::string tooLong = b;
  Put32(tooLong, tooLong.size() - 38, 0xFFFFFFF0u);
  EXPECT_FALSE(tools::ListBlocks(tooLong, &listing));
  EXPECT_NE(listing.find("exceeds"), std::string::npos) << listing;
}

}  // namespace
