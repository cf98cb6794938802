// Registry key wrapper whose failures throw winreg::RegException. One per use; closes
// its key when destroyed (predefined roots are never closed).
#pragma once

#include <windows.h>

#include <string>

#include "winreg/RegException.h"
#include "winreg/RegKeyTraits.h"

namespace winreg {

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // RegCreateKeyExW, non-volatile, KEY_READ | KEY_WRITE; replaces the key held.
  void Create(HKEY root, const std::wstring& subKey);
  // A REG_SZ value without its terminator.
  std::wstring GetStringValue(const std::wstring& name) const;
  void SetStringValue(const std::wstring& name, const std::wstring& text) const;
  void Close() { key_.Reset(); }

  HKEY Get() const { return key_.Get(); }

 private:
  UniqueRegKey key_;
};

}  // namespace winreg
