// make-volatile-key HKCU|HKLM PATH: creates PATH as a volatile key (it lives until the
// prefix's wineserver stops). Non-volatile keys cannot be created below it, which is how
// tests make the product key impossible to create.
#include <windows.h>

#include <cstdio>
#include <string>

#include "winreg/RegKeyTraits.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-volatile-key HKCU|HKLM PATH\n");
    return 2;
  }
  HKEY root = std::wstring(argv[1]) == L"HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  winreg::UniqueRegKey key;
  LONG result = ::RegCreateKeyExW(root, argv[2], 0, nullptr, REG_OPTION_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                  key.Receive(), nullptr);
  std::printf("%ld\n", result);
  return static_cast<int>(result);
}
