// trust-ca CERT.der: adds a certificate to the prefix's "Root" store, so WinHTTP inside
// this Wine prefix trusts the test certificate authority. Exit 0 on success, else the
// error code.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: trust-ca CERT.der\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<BYTE> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fwprintf(stderr, L"trust-ca: cannot read %ls\n", argv[1]);
    return 3;
  }
  if (!CertAddEncodedCertificateToSystemStoreW(L"Root", der.data(), static_cast<DWORD>(der.size()))) {
    DWORD error = GetLastError();
    std::fwprintf(stderr, L"trust-ca: CertAddEncodedCertificateToSystemStoreW error code: %lu\n", error);
    return static_cast<int>(error ? error : 1);
  }
  return 0;
}
