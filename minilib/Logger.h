// The process-wide log writer: callers queue entries; one detached thread writes them to
// "<temp>\GameDownloadLog\<program>_<start time>.log" and rotates the file past 8 MiB.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "minilib/LogFormat.h"

namespace minilib {

struct LogEntry {
  int level = 1;  // clamped
  // Filled (and terminated) by the commit; left uninitialised so a commit does not clear them.
  char module[64];
  char file[256];
  char function[128];
  int line = 0;
  uint32_t threadId = 0;
  uint64_t utcTime = 0;  // commit time, FILETIME units; written in local time
  std::wstring message;
};

class Logger {
 public:
  // The process's logger, created on first use with the per-run file path.
  static Logger& Instance();

  // A logger writing to `path` (tests and benchmarks use their own).
  explicit Logger(std::wstring path);
  // Stops and waits (bounded) for the writer's end marker.
  ~Logger();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void Queue(std::unique_ptr<LogEntry> entry);
  // Drops later commits and queued entries; the writer writes its end marker and ends.
  // Returns once the writer has closed the file or `waitMs` has passed.
  void Stop(unsigned waitMs = 3000);
  bool IsStopped() const;

  const std::wstring& Path() const;

  // Builds the per-run path from the temp folder, the module file name and the time now,
  // creating the folder when it is missing.
  static std::wstring MakeRunLogPath();

 private:
  struct Shared;  // outlives the Logger if the writer is still running
  static void WriterLoop(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
};

// The local time now.
LogTime LocalLogTime();
// The UTC time now in FILETIME units (cheap: taken on every commit).
uint64_t UtcLogTime();

}  // namespace minilib
