#include "component/ChannelRange.h"

#include <regex>

#include "component/NumberText.h"

int CountChannelRangeMatches(const std::wstring& range, uint32_t supplyId) {
  static const std::wregex kRange(L"([0-9]+)-([0-9]+)", std::regex::ECMAScript);
  static const std::wregex kSingle(L"([0-9]+)", std::regex::ECMAScript);
  int matches = 0;
  for (std::wsregex_iterator it(range.begin(), range.end(), kRange), end; it != end; ++it) {
    const uint64_t low = ParseUnsigned64((*it)[1].str());
    const uint64_t high = ParseUnsigned64((*it)[2].str());
    if (low <= supplyId && supplyId <= high) ++matches;
  }
  // The digits of every range go first, so 5-3 names neither 5 nor 3.
  const std::wstring singles = std::regex_replace(range, kRange, L"");
  for (std::wsregex_iterator it(singles.begin(), singles.end(), kSingle), end; it != end; ++it) {
    if (ParseUnsigned64((*it)[1].str()) == supplyId) ++matches;
  }
  return matches;
}
