// Choosing the default install drive from the drive mask, given a probe per letter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace config {

// "X:\" for a drive letter.
std::wstring DriveRoot(wchar_t letter);

// The last letter from C to Z present in `driveMask` (bit 0 = A) for which `qualifies`
// holds; A when none does. Letters A and B are never probed.
wchar_t ChooseDefaultDriveLetter(uint32_t driveMask, const std::function<bool(wchar_t)>& qualifies);

}  // namespace config
