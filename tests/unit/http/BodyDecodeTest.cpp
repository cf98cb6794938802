#include "http/BodyDecode.h"

#include <gtest/gtest.h>

#include "minilib/StringConvert.h"

namespace {

TEST(DecodeBody, Utf8WhenTheCharsetSaysSo) {
  const std::string body = "<list name=\"\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9\"/>";
  EXPECT_EQ(DecodeBody(body, L"utf-8"), L"<list name=\"\u4e2d\u6587 caf\u00e9\"/>");
  EXPECT_EQ(DecodeBody(body, L"UTF-8"), L"<list name=\"\u4e2d\u6587 caf\u00e9\"/>");
}

TEST(DecodeBody, AnsiCodePageOtherwise) {
  const std::string body = "caf\xC3\xA9";
  EXPECT_EQ(DecodeBody(body, L"iso-8859-1"), minilib::AnsiToWide(body));
  EXPECT_EQ(DecodeBody(body, L""), minilib::AnsiToWide(body));
}

TEST(DecodeBody, EndsAtTheFirstZeroByte) {
  EXPECT_EQ(DecodeBody(std::string("ok\0hidden", 9), L"utf-8"), L"ok");
  EXPECT_EQ(DecodeBody(std::string("\0x", 2), L"utf-8"), L"");
  EXPECT_EQ(DecodeBody("", L"utf-8"), L"");
}

}  // namespace
