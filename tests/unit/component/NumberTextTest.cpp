#include <gtest/gtest.h>

#include <stdexcept>

#include "component/NumberText.h"

namespace {

TEST(ParseUnsigned64, AcceptsWhatTheListCarries) {
  struct Case {
    const wchar_t* text;
    uint64_t value;
  } cases[] = {
      {L"0", 0},
      {L"42", 42},
      {L"  \t17", 17},
      {L"+9", 9},
      {L"-1", ~uint64_t(0)},  // negated modulo 2^64
      {L"123abc", 123},       // stops at the first non-digit
      {L"007", 7},
      {L"18446744073709551615", ~uint64_t(0)},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseUnsigned64(c.text), c.value) << c.text;
}

TEST(ParseUnsigned64, NoDigitIsInvalidArgumentWithItsText) {
  for (const wchar_t* text : {L"", L"   ", L"abc", L"+", L"-x"}) {
    try {
      ParseUnsigned64(text);
      ADD_FAILURE() << "no exception for \"" << std::string(text, text + wcslen(text)) << '"';
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), "invalid stoull argument");
    }
  }
}

TEST(ParseUnsigned64, OverflowIsOutOfRangeWithItsText) {
  try {
    ParseUnsigned64(L"18446744073709551616");
    ADD_FAILURE() << "no exception";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "stoull argument out of range");
  }
}

TEST(ParseVersion, PacksFourPartsAndRejectsFewerThanThreeDots) {
  struct Case {
    const wchar_t* text;
    uint64_t packed;
  } cases[] = {
      {L"1.2.3.4", (uint64_t(1) << 48) + (uint64_t(2) << 32) + (3 << 16) + 4},
      {L"3.1.20.7", (uint64_t(3) << 48) + (uint64_t(1) << 32) + (20 << 16) + 7},
      {L"V1.2.3.4", (uint64_t(1) << 48) + (uint64_t(2) << 32) + (3 << 16) + 4},
      {L"1.2.3.", (uint64_t(1) << 48) + (uint64_t(2) << 32) + (3 << 16)},
      {L"65535.0.0.1", (uint64_t(65535) << 48) + 1},
      {L"1.2.3", 0},
      {L"", 0},
      {L"abc", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseVersion(c.text), c.packed) << std::string(c.text, c.text + wcslen(c.text));
}

}  // namespace
