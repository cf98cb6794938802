// The process-wide log writer: callers queue entries; one detached thread writes them to
// "<temp>\GameDownloadLog\<program>_<start time>.log" and rotates the file past 8 MiB.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "minilib/LogFormat.h"

namespace minilib {

struct LogEntry {
  int level = 1;  // clamped
  char module[64] = {};
  char file[256] = {};
  char function[128] = {};
  int line = 0;
  uint32_t threadId = 0;
  LogTime time;
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

// Fills `time` with the local time now.
LogTime LocalLogTime();

}  // namespace minilib
