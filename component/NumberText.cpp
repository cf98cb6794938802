#include "component/NumberText.h"

#include <limits>
#include <stdexcept>

namespace {
bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
}  // namespace

uint64_t ParseUnsigned64(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  const size_t firstDigit = i;
  uint64_t value = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - L'0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) overflow = true;
    value = value * 10 + digit;
  }
  if (i == firstDigit) throw std::invalid_argument("invalid stoull argument");
  if (overflow) throw std::out_of_range("stoull argument out of range");
  return negative ? uint64_t(0) - value : value;
}

uint64_t ParseVersion(std::wstring_view text) {
  static const unsigned kShifts[] = {48, 32, 16, 0};
  uint64_t sum = 0;
  uint32_t part = 0;
  unsigned dots = 0;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      part = part * 10 + static_cast<uint32_t>(c - L'0');
    } else if (c == L'.') {
      // Past the fourth dot the parts add unshifted.
      sum += static_cast<uint64_t>(part) << kShifts[dots < 4 ? dots : 3];
      ++dots;
      part = 0;
    }
  }
  if (dots < 3) return 0;
  return sum + part;
}
