#include "config/DriveChoice.h"

namespace config {

std::wstring DriveRoot(wchar_t letter) { return std::wstring(1, letter) + L":\\"; }

wchar_t ChooseDefaultDriveLetter(uint32_t driveMask, const std::function<bool(wchar_t)>& qualifies) {
  wchar_t candidate = L'A';
  for (int bit = 2; bit <= 25; ++bit) {
    if ((driveMask & (1u << bit)) == 0) continue;
    wchar_t letter = static_cast<wchar_t>(L'A' + bit);
    if (qualifies(letter)) candidate = letter;
  }
  return candidate;
}

}  // namespace config
