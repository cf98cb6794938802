// volatile-key SUBKEY: creates HKEY_LOCAL_MACHINE\SUBKEY as a volatile key (gone at reboot,
// and it can hold only volatile children), as a broken earlier install may leave it.
// Exits 0 on success, else the registry error code.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 87;
  HKEY key = nullptr;
  const LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, argv[1], 0, nullptr, REG_OPTION_VOLATILE,
                                     KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) return static_cast<int>(error);
  RegCloseKey(key);
  return 0;
}
