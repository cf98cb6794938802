#include <gtest/gtest.h>

#include "minilib/UniqueHandle.h"

#include <string>

#include "TempFolder.h"
#include "utils/FileMd5.h"
#include "utils/Md5.h"

namespace {

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TEST(GetFileHexMd5, MatchesDigestOfContentAcrossBlockBoundaries) {
  TempFolder folder(L"md5");
  // Sizes around the 64 KiB read block: empty, one byte, exactly one block, one more, several.
  for (size_t size : {size_t(0), size_t(1), size_t(65535), size_t(65536), size_t(65537), size_t(200000)}) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    const std::wstring path = folder.Write(L"f" + std::to_wstring(size) + L".bin", content);
    EXPECT_EQ(utils::GetFileHexMd5(path), Wide(utils::Md5Hex(content))) << size;
  }
}

TEST(GetFileHexMd5, EmptyFileGivesTheRfcDigestOfEmptyInput) {
  TempFolder folder(L"md5empty");
  EXPECT_EQ(utils::GetFileHexMd5(folder.Write(L"empty", "")), L"d41d8cd98f00b204e9800998ecf8427e");
}

TEST(GetFileHexMd5, FolderOrMissingFileGivesEmptyText) {
  TempFolder folder(L"md5missing");
  EXPECT_EQ(utils::GetFileHexMd5(folder.Path() + L"missing.bin"), L"");
  EXPECT_EQ(utils::GetFileHexMd5(folder.Path()), L"");
}

TEST(GetFileHexMd5, ReadsFileHeldOpenForReadingByAnother) {
  TempFolder folder(L"md5shared");
  const std::wstring path = folder.Write(L"shared.bin", "abc");
  minilib::UniqueHandle other(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(other.IsValid());
  EXPECT_EQ(utils::GetFileHexMd5(path), L"900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
