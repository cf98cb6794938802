// download-file-bench REPORT URL FILE: one DownloadFile call with a progress callback that
// only counts, as the install run uses it.
#include <windows.h>

#include <chrono>

#include "bench/bench_report.h"
#include "http/DownloadFile.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  uint64_t calls = 0;
  uint32_t lastPercent = 0;
  auto start = std::chrono::steady_clock::now();
  DownloadResult result = DownloadFile(argv[2], argv[3], [&](uint32_t percent, uint32_t) {
    ++calls;
    lastPercent = percent;
  }, L"");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  uint64_t bytes = 0;
  if (GetFileAttributesExW(argv[3], GetFileExInfoStandard, &data))
    bytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  WriteBenchReport(argv[1], "DownloadFile", result.ok && lastPercent == 100, bytes, seconds, calls);
  return result.ok ? 0 : 1;
}
