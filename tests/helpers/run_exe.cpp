// run-exe OUTFILE PROGRAM [ARGS...]: runs PROGRAM, waits, and writes its exit code
// (full 32 bits, decimal) to OUTFILE. Exits 0 when the program ran, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

#include "minilib/UniqueHandle.h"

static std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  for (wchar_t c : arg) {
    if (c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: run-exe OUTFILE PROGRAM [ARGS...]\n");
    return 2;
  }
  std::wstring commandLine;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) commandLine += L' ';
    commandLine += Quote(argv[i]);
  }
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fwprintf(stderr, L"CreateProcess failed: %lu\n", GetLastError());
    return 1;
  }
  minilib::UniqueHandle process(pi.hProcess), thread(pi.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  FILE* f = _wfopen(argv[1], L"w");
  if (f) {
    std::fprintf(f, "%lu\n", code);
    std::fclose(f);
  }
  return 0;
}
