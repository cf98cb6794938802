// Ownership of an open registry key; the predefined roots are never closed.
#pragma once

#include <windows.h>

#include "minilib/UniqueResource.h"

namespace winreg {

// HKEY_CLASSES_ROOT .. HKEY_CURRENT_USER_LOCAL_SETTINGS and the performance-text roots
// (0x80000000 - 0x80000007, 0x80000050, 0x80000060).
inline bool IsPredefinedRoot(HKEY key) {
  auto value = reinterpret_cast<ULONG_PTR>(key);
  return (value >= 0x80000000u && value <= 0x80000007u) || value == 0x80000050u || value == 0x80000060u;
}

struct RegKeyTraits {
  using Type = HKEY;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type key) { return key == nullptr; }
  static void Release(Type key) {
    if (!IsPredefinedRoot(key)) ::RegCloseKey(key);
  }
};

using UniqueRegKey = minilib::UniqueResource<RegKeyTraits>;

}  // namespace winreg
