#include "http/MatchAll.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::wstring>;

List Match(const wchar_t* pattern, const wchar_t* text) {
  List list{L"stale"};
  EXPECT_TRUE(MatchAll(pattern, text, list));
  return list;
}

TEST(MatchAll, CapturesEveryDistinctMatchIgnoringCase) {
  const wchar_t* headers =
      L"HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nSet-Cookie:\tb=2\r\nSET-COOKIE:  A=1; PATH=/\r\n"
      L"Set-Cookie: c=3\nContent-Type: text/xml; Charset=UTF-8\r\n\r\n";
  EXPECT_EQ(Match(L"Set-Cookie:\\b*{.+?}\\n", headers), (List{L"a=1; path=/", L"b=2", L"c=3"}));
  EXPECT_EQ(Match(L"charset={[A-Za-z0-9\\-_]+}", headers), List{L"UTF-8"});
  EXPECT_EQ(Match(L"charset={[A-Za-z0-9\\-_]+}", L"Content-Type: text/html; charset=x-mac_roman;"),
            List{L"x-mac_roman"});
}

TEST(MatchAll, LineBreakIsCrLfCrOrLf) {
  EXPECT_EQ(Match(L"K:\\b*{.+?}\\n", L"K: one\r\nK: two\rK: three\n"), (List{L"one", L"two", L"three"}));
  // A value on the last line without its line break is not a match.
  EXPECT_EQ(Match(L"K:\\b*{.+?}\\n", L"K: one\r\nK: two"), List{L"one"});
}

TEST(MatchAll, DigitsOnlyPatternsLeaveOtherValuesOut) {
  EXPECT_EQ(Match(L"Location: {[0-9]+}", L"Location: https://other.example/x\r\n"), List{});
  EXPECT_EQ(Match(L"Location: {[0-9]+}", L"Location: 123\r\n"), List{L"123"});
  EXPECT_EQ(Match(L"Content-Length: {[0-9]+}", L"content-length: 50000\r\n"), List{L"50000"});
  EXPECT_EQ(Match(L"Content-Length: {[0-9]+}", L"Content-Length:50000\r\n"), List{});  // one space required
}

TEST(MatchAll, RefusesEmptyInputAndBadPatterns) {
  List list{L"stale"};
  EXPECT_FALSE(MatchAll(L"", L"text", list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(MatchAll(L"a{b}", L"", list));
  EXPECT_FALSE(MatchAll(L"{[a-}", L"abc", list));
  EXPECT_TRUE(list.empty());
}

TEST(MatchAll, EmptyMatchesDoNotLoop) {
  EXPECT_EQ(Match(L"x*{a*}", L"bbbb"), List{});
  EXPECT_EQ(Match(L"{a*}", L"baab"), List{L"aa"});
}

}  // namespace
