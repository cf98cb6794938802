// verify-trust FILE: checks the Authenticode signature of FILE with WinVerifyTrust
// (WINTRUST_ACTION_GENERIC_VERIFY_V2, no UI, no revocation check) and exits with the
// result, e.g. 0, TRUST_E_BAD_DIGEST (0x80096010) or TRUST_E_NOSIGNATURE (0x800B0100).
#include <windows.h>
#include <softpub.h>
#include <wintrust.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: verify-trust FILE\n");
    return 2;
  }
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof(file);
  file.pcwszFilePath = argv[1];

  WINTRUST_DATA data = {};
  data.cbStruct = sizeof(data);
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_VERIFY;

  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  LONG result = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

  data.dwStateAction = WTD_STATEACTION_CLOSE;
  ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

  std::printf("0x%08lX\n", static_cast<unsigned long>(result));
  return static_cast<int>(result);
}
