#include "http/RequestTarget.h"

#include <gtest/gtest.h>

namespace {

TEST(EscapeRequestTarget, EscapesUnsafeCharactersAsUtf8) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"/a b", L"/a%20b"},
      {L"/\"<>\\^`{|}", L"/%22%3C%3E%5C%5E%60%7B%7C%7D"},
      {L"/\x01\x1f\x7f", L"/%01%1F%7F"},
      {L"/caf\u00e9", L"/caf%C3%A9"},
      {L"/\u20ac", L"/%E2%82%AC"},
      {L"/\u4e2d\u6587.exe", L"/%E4%B8%AD%E6%96%87.exe"},
      {L"/\U0001F600", L"/%F0%9F%98%80"},
      {L"/\xD800x", L"/%EF%BF%BDx"},  // a lone surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.out);
    EXPECT_EQ(EscapeRequestTarget(c.in), c.out);
  }
}

TEST(EscapeRequestTarget, LeavesReservedAndEscapedCharacters) {
  const wchar_t* unchanged[] = {L"/:/?#[]@!$&'()*+,;=", L"/a%20b%2F", L"/A-Z_a-z.0~9", L""};
  for (const wchar_t* target : unchanged) EXPECT_EQ(EscapeRequestTarget(target), target);
  // A report query: JSON punctuation that is reserved stays, the rest is escaped.
  EXPECT_EQ(EscapeRequestTarget(L"/r?data={\"a\":1,\"b\":[2]}"), L"/r?data=%7B%22a%22:1,%22b%22:[2]%7D");
}

}  // namespace
