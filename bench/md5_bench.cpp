// File MD5 benchmark: hashes one file with GetFileHexMd5 and prints the digest, the
// throughput and the process's peak working set before and after, so a run over a large
// file shows that memory does not grow with the file. Run by md5_bench.sh.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "utils/FileMd5.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, t;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: md5_bench FILE\n");
    return 2;
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(argv[1], GetFileExInfoStandard, &data)) return 1;
  const double size = static_cast<double>((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);

  const size_t peakBefore = PeakWorkingSet();
  const double start = Now();
  const std::wstring digest = utils::GetFileHexMd5(argv[1]);
  const double seconds = Now() - start;
  const size_t peakAfter = PeakWorkingSet();
  if (digest.empty()) return 1;

  std::wprintf(L"digest %ls\n", digest.c_str());
  std::wprintf(L"seconds %.3f\n", seconds);
  std::wprintf(L"mb_per_s %.1f\n", size / seconds / 1e6);
  std::wprintf(L"peak_ws_before_kib %zu\npeak_ws_after_kib %zu\n", peakBefore / 1024, peakAfter / 1024);
  return 0;
}
