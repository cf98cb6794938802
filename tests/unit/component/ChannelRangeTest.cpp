#include <gtest/gtest.h>

#include <stdexcept>

#include "component/ChannelRange.h"

namespace {

TEST(ChannelRange, RangesAreInclusiveAndSinglesReadAfterRangesAreCut) {
  struct Case {
    const wchar_t* range;
    uint32_t supplyId;
    bool selected;
  } cases[] = {
      {L"100-200", 99, false},
      {L"100-200", 100, true},
      {L"100-200", 200, true},
      {L"100-200", 201, false},
      {L"100-200,250", 250, true},   // single pass
      {L"100-200,250", 150, true},   // range pass
      {L"100-200,250", 249, false},
      {L"5-3", 5, false},            // empty range, digits removed before the single pass
      {L"5-3", 3, false},
      {L"5-3", 4, false},
      {L"1000-1999,2500,3000-3100", 2500, true},
      {L"1000-1999,2500,3000-3100", 3050, true},
      {L"1000-1999,2500,3000-3100", 2000, false},
      {L"200205661", 200205661, true},
      {L"id 7; 9", 9, true},         // any non-digit text separates entries
      {L"", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountChannelRangeMatches(c.range, c.supplyId) > 0, c.selected)
        << std::string(c.range, c.range + wcslen(c.range)) << " / " << c.supplyId;
  }
}

TEST(ChannelRange, EachMatchingEntryCounts) {
  EXPECT_EQ(CountChannelRangeMatches(L"1-10,5,3-7", 5), 3);
}

TEST(ChannelRange, NumberBeyond64BitsThrowsOutOfRange) {
  EXPECT_THROW(CountChannelRangeMatches(L"1-99999999999999999999", 5), std::out_of_range);
}

}  // namespace
