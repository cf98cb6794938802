#include "http/ResponseFields.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadResponseHeaderFields, ReadsTheFieldsOfOneResponse) {
  auto fields = ReadResponseHeaderFields(
      L"HTTP/1.1 302 Found\r\nContent-Type: text/xml; charset=gb2312\r\nContent-Length: 50000\r\n"
      L"Location: 123\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nSet-Cookie: a=1; path=/\r\n\r\n");
  ASSERT_TRUE(fields.charset.has_value());
  EXPECT_EQ(*fields.charset, L"gb2312");
  EXPECT_EQ(fields.contentLength, 50000);
  EXPECT_EQ(fields.location, L"123");
  EXPECT_EQ(fields.cookies, L"a=1; path=/; b=2;");
}

TEST(ReadResponseHeaderFields, AbsentFieldsStayEmpty) {
  auto fields = ReadResponseHeaderFields(L"HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\n\r\n");
  EXPECT_FALSE(fields.charset.has_value());
  EXPECT_FALSE(fields.hasContentLength);
  EXPECT_EQ(fields.contentLength, 0);
  EXPECT_EQ(fields.location, L"");
  EXPECT_EQ(fields.cookies, L"");
}

TEST(ReadResponseHeaderFields, HugeContentLengthIsClamped) {
  EXPECT_EQ(ReadResponseHeaderFields(L"Content-Length: 5368709120\r\n").contentLength, 2147483647);
  EXPECT_EQ(ReadResponseHeaderFields(L"Content-Length: 99999999999999999999999\r\n").contentLength, 2147483647);
}

TEST(JoinCookies, JoinsTrimsAndEndsWithSemicolon) {
  using List = std::vector<std::wstring>;
  EXPECT_EQ(JoinCookies(List{}), L"");
  EXPECT_EQ(JoinCookies(List{L"  "}), L"");
  EXPECT_EQ(JoinCookies(List{L"a=1"}), L"a=1;");
  EXPECT_EQ(JoinCookies(List{L"a=1;"}), L"a=1;");
  EXPECT_EQ(JoinCookies(List{L" a=1; path=/", L"b=2 "}), L"a=1; path=/; b=2;");
}

TEST(ParseContentLengthText, ReadsSixtyFourBits) {
  EXPECT_EQ(ParseContentLengthText(L"5368709120"), 5368709120ull);
  EXPECT_EQ(ParseContentLengthText(L"4294967396"), 4294967396ull);  // 2^32 + 100
  EXPECT_EQ(ParseContentLengthText(L" 12 \r\n"), 12u);
  EXPECT_EQ(ParseContentLengthText(L"0"), 0u);
  EXPECT_EQ(ParseContentLengthText(L"18446744073709551615"), 18446744073709551615ull);
  EXPECT_FALSE(ParseContentLengthText(L"18446744073709551616").has_value());
  EXPECT_FALSE(ParseContentLengthText(L"").has_value());
  EXPECT_FALSE(ParseContentLengthText(L"12a").has_value());
  EXPECT_FALSE(ParseContentLengthText(L"-1").has_value());
  EXPECT_FALSE(ParseContentLengthText(L"1 2").has_value());
}

TEST(ParseStatusCode, ReadsTheLeadingNumber) {
  EXPECT_EQ(ParseStatusCode(L"200"), 200);
  EXPECT_EQ(ParseStatusCode(L"404"), 404);
  EXPECT_EQ(ParseStatusCode(L""), 0);
  EXPECT_EQ(ParseStatusCode(L"abc"), 0);
  EXPECT_EQ(ParseStatusCode(L"99999999999"), 0);
}

TEST(IsUtf8Charset, LooksAtTheFirstFiveCharacters) {
  EXPECT_TRUE(IsUtf8Charset(L"utf-8"));
  EXPECT_TRUE(IsUtf8Charset(L"UTF-8"));
  EXPECT_TRUE(IsUtf8Charset(L"Utf-8-variant"));
  EXPECT_FALSE(IsUtf8Charset(L"utf8"));
  EXPECT_FALSE(IsUtf8Charset(L"gb2312"));
  EXPECT_FALSE(IsUtf8Charset(L""));
}

TEST(IsTruncatedHtmlPage, NeedsAnOpeningTagWithoutItsClosingTag) {
  EXPECT_TRUE(IsTruncatedHtmlPage(L"<HTML><body>half"));
  EXPECT_TRUE(IsTruncatedHtmlPage(L"x<html>"));
  EXPECT_FALSE(IsTruncatedHtmlPage(L"<HTML><body>whole</body></Html>"));
  EXPECT_FALSE(IsTruncatedHtmlPage(L"<?xml version=\"1.0\"?><list/>"));
  EXPECT_FALSE(IsTruncatedHtmlPage(L"<html lang=\"en\">no plain opening tag"));
  EXPECT_FALSE(IsTruncatedHtmlPage(L""));
}

}  // namespace
