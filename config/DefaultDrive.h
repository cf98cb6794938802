// The default install drive: the highest-lettered fixed drive, not on USB, that takes a
// small write-and-read-back test. Probes that fail exclude the drive silently.
#pragma once

#include <string>

namespace config {

std::wstring PickDefaultDrive();  // "X:\", "A:\" when no drive qualifies
bool IsDriveOnUsbBus(wchar_t letter);
bool IsDriveWritable(wchar_t letter);

}  // namespace config
