// Writes one benchmark run's figures (bytes, process times, peak memory) as a JSON line.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>

inline double FileTimeSeconds(const FILETIME& t) {
  return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

inline void WriteBenchReport(const wchar_t* path, const char* client, bool ok, uint64_t bytes, double seconds,
                             uint64_t progressCalls) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  FILE* out = _wfopen(path, L"ab");
  if (!out) return;
  std::fprintf(out,
               "{\"client\":\"%s\",\"ok\":%s,\"bytes\":%llu,\"seconds\":%.3f,\"user\":%.3f,\"kernel\":%.3f,"
               "\"peakWorkingSet\":%lu,\"peakPrivate\":%lu,\"progressCalls\":%llu}\n",
               client, ok ? "true" : "false", static_cast<unsigned long long>(bytes), seconds, FileTimeSeconds(user),
               FileTimeSeconds(kernel), static_cast<unsigned long>(memory.PeakWorkingSetSize),
               static_cast<unsigned long>(memory.PeakPagefileUsage), static_cast<unsigned long long>(progressCalls));
  std::fclose(out);
}
