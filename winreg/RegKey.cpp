#include "winreg/RegKey.h"

#include <vector>

namespace winreg {

void RegKey::Create(HKEY root, const std::wstring& subKey) {
  HKEY created = nullptr;
  LONG result = ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                  nullptr, &created, nullptr);
  if (result != ERROR_SUCCESS) throw RegException("RegCreateKeyEx failed.", result);
  key_.Reset(created);
}

std::wstring RegKey::GetStringValue(const std::wstring& name) const {
  DWORD bytes = 0;
  LONG result = ::RegGetValueW(key_.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  if (result != ERROR_SUCCESS) throw RegException("Cannot get size of string value: RegGetValue failed.", result);

  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  result = ::RegGetValueW(key_.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
  if (result != ERROR_SUCCESS) throw RegException("Cannot get string value: RegGetValue failed.", result);

  // `bytes` now counts what was returned, the terminator included.
  size_t chars = bytes / sizeof(wchar_t);
  text.resize(chars > 0 ? chars - 1 : 0);
  return text;
}

void RegKey::SetStringValue(const std::wstring& name, const std::wstring& text) const {
  DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  LONG result = ::RegSetValueExW(key_.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 bytes);
  if (result != ERROR_SUCCESS) throw RegException("Cannot write string value: RegSetValueEx failed.", result);
}

}  // namespace winreg
