// One component entry of the component list, and the installed state of one component.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct ComponentItem {
  int32_t id = -1;
  std::wstring name;          // package file name, also the display name in logs
  std::wstring localaddpath;  // relative folder under the download and the install folder
  bool installInX86 = true;
  bool installInX64 = true;
  std::wstring writePathToRegKey;  // key under HKEY_LOCAL_MACHINE that receives "InstallPath"
  uint64_t dlId = 0;
  std::wstring hash;  // expected MD5 of the package, hexadecimal, any case
  uint64_t filesize = 0;
  std::wstring url;
  std::wstring version;
  uint64_t packedVersion = 0;
  std::wstring localDir;   // download folder, ending in a backslash; set by the download phase
  std::wstring localFile;  // verified package file; set by the download phase
};

// Keyed by component id, ascending.
using ComponentItemMap = std::map<int32_t, ComponentItem>;

struct InstalledInfo {
  std::wstring version;
  std::wstring path;
  bool installed = false;
};

using InstalledComponentMap = std::map<int32_t, InstalledInfo>;
