#include "config/DefaultDrive.h"

#include <windows.h>
#include <winioctl.h>

#include "config/DriveChoice.h"
#include "minilib/UniqueHandle.h"

namespace config {

bool IsDriveOnUsbBus(wchar_t letter) {
  wchar_t volume[] = L"\\\\?\\X:";
  volume[4] = letter;
  minilib::UniqueHandle handle(::CreateFileW(volume, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
  if (!handle) return false;
  STORAGE_PROPERTY_QUERY query = {};  // standard device property, 12 bytes
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  alignas(8) BYTE output[552] = {};
  DWORD returned = 0;
  if (!::DeviceIoControl(handle.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), output, sizeof(output),
                         &returned, nullptr)) {
    return false;
  }
  const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(output);
  return descriptor->BusType == BusTypeUsb;
}

bool IsDriveWritable(wchar_t letter) {
  wchar_t name[] = L"X:\\test.tmp";
  name[0] = letter;
  minilib::UniqueHandle file(::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!file) return false;
  DWORD written = ::GetTickCount();
  DWORD count = 0;
  if (!::WriteFile(file.Get(), &written, sizeof(written), &count, nullptr) || count != sizeof(written)) return false;
  if (::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  DWORD readBack = 0;
  if (!::ReadFile(file.Get(), &readBack, sizeof(readBack), &count, nullptr) || count != sizeof(readBack)) return false;
  return readBack == written;  // closing the handle deletes the file
}

std::wstring PickDefaultDrive() {
  wchar_t letter = ChooseDefaultDriveLetter(::GetLogicalDrives(), [](wchar_t candidate) {
    std::wstring root = DriveRoot(candidate);
    if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return false;
    if (IsDriveOnUsbBus(candidate) || !IsDriveWritable(candidate)) return false;
    ULARGE_INTEGER available, total, free;
    return ::GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free) != 0;
  });
  return DriveRoot(letter);
}

}  // namespace config
