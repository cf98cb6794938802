#include <gtest/gtest.h>

#include "minilib/StringConvert.h"

namespace {

TEST(StringConvert, Utf8RoundTrip) {
  const char* utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x8E\xAE";
  std::wstring wide = minilib::Utf8ToWide(utf8);
  EXPECT_EQ(wide, L"Gr\u00fc\u00dfe \u4e2d\u6587 \U0001F3AE");
  EXPECT_EQ(minilib::WideToUtf8(wide), utf8);
}

TEST(StringConvert, LengthLimitsInputAndMinusOneMeansTerminated) {
  EXPECT_EQ(minilib::Utf8ToWide("abcdef", 3), L"abc");
  EXPECT_EQ(minilib::Utf8ToWide("abcdef", -1), L"abcdef");
  EXPECT_EQ(minilib::WideToUtf8(L"abcdef", 2), "ab");
  EXPECT_EQ(minilib::Utf8ToWide(nullptr), L"");
  EXPECT_EQ(minilib::Utf8ToWide("", 0), L"");
}

TEST(StringConvert, AnsiRoundTripsAscii) {
  EXPECT_EQ(minilib::AnsiToWide("MirelDownload Start."), L"MirelDownload Start.");
  EXPECT_EQ(minilib::WideToAnsi(L"C:\\Temp\\"), "C:\\Temp\\");
}

}  // namespace
