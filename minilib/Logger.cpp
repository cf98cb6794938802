#include "minilib/Logger.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <deque>
#include <thread>

#include "minilib/StringConvert.h"
#include "minilib/UniqueHandle.h"

namespace minilib {

// Slim reader/writer lock and condition variable: under contention they wait in user
// space where the runtime's generic mutex would go through a kernel event per wait.
struct Logger::Shared {
  std::wstring path;
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  std::deque<std::unique_ptr<LogEntry>> queue;
  std::atomic<bool> stopped{false};
  bool finished = false;  // guarded by lock
  CONDITION_VARIABLE finishedSignal = CONDITION_VARIABLE_INIT;
};

namespace {

class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;
  SRWLOCK& Get() { return lock_; }

 private:
  SRWLOCK& lock_;
};

}  // namespace

namespace {

UniqueHandle OpenLogFile(const std::wstring& path, bool truncate) {
  HANDLE h = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandle(h);
}

void WriteAll(const UniqueHandle& file, const std::string& bytes) {
  // Without a file the writes go nowhere: the log has no fallback location.
  if (!file || bytes.empty()) return;
  DWORD written = 0;
  ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

uint64_t FileSize(const UniqueHandle& file, bool* ok) {
  LARGE_INTEGER size{};
  *ok = file && ::GetFileSizeEx(file.Get(), &size);
  return *ok ? static_cast<uint64_t>(size.QuadPart) : 0;
}

void Rotate(const std::wstring& path) {
  std::wstring bak = path + L".bak";
  if (::GetFileAttributesW(bak.c_str()) != INVALID_FILE_ATTRIBUTES) ::DeleteFileW(bak.c_str());
  ::MoveFileW(path.c_str(), bak.c_str());  // failures are ignored
}

// Turns commit times (UTC) into local time on the writer thread; the zone bias is asked
// of the system once per second, the rest is arithmetic.
class LocalClock {
 public:
  LogTime ToLocal(uint64_t utc) {
    const uint64_t second = utc / 10000000ULL;
    if (second != biasSecond_) {
      FILETIME in = ToFileTime(utc), out;
      if (::FileTimeToLocalFileTime(&in, &out)) {
        bias_ = static_cast<int64_t>(FromFileTime(out) - utc);
      }
      biasSecond_ = second;
    }
    FILETIME local = ToFileTime(utc + static_cast<uint64_t>(bias_));
    SYSTEMTIME st{};
    ::FileTimeToSystemTime(&local, &st);
    return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  }

 private:
  static FILETIME ToFileTime(uint64_t v) {
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
  }
  static uint64_t FromFileTime(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  }
  uint64_t biasSecond_ = ~0ULL;
  int64_t bias_ = 0;
};

void AppendLine(std::string& out, const LogEntry& e, LocalClock& clock) {
  out += FormatLogLine(clock.ToLocal(e.utcTime), e.threadId, e.level, e.module, e.file, e.function, e.line,
                       WideToUtf8(e.message));
  out += "\r\n";
}

}  // namespace

uint64_t UtcLogTime() {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

LogTime LocalLogTime() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

Logger::Logger(std::wstring path) : shared_(std::make_shared<Shared>()) {
  shared_->path = std::move(path);
  std::thread(&Logger::WriterLoop, shared_).detach();
}

Logger::~Logger() { Stop(); }

Logger& Logger::Instance() {
  // The logger itself is never destroyed, so a commit during static destruction finds a
  // stopped logger rather than a dead one; the guard stops it at process end.
  static Logger* const logger = new Logger(MakeRunLogPath());
  struct StopAtExit {
    ~StopAtExit() { logger->Stop(); }
  };
  static StopAtExit guard;
  return *logger;
}

std::wstring Logger::MakeRunLogPath() {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder = LogFolder(std::wstring_view(temp, n));
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data)) {
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  }
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    DWORD len = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (len < module.size()) {
      module.resize(len);
      break;
    }
    module.resize(module.size() * 2);
  }
  return folder + LogFileName(module, LocalLogTime());
}

const std::wstring& Logger::Path() const { return shared_->path; }

bool Logger::IsStopped() const { return shared_->stopped.load(std::memory_order_acquire); }

void Logger::Queue(std::unique_ptr<LogEntry> entry) {
  if (IsStopped()) return;
  bool wasEmpty;
  {
    ExclusiveLock lock(shared_->lock);
    wasEmpty = shared_->queue.empty();
    shared_->queue.push_back(std::move(entry));
  }
  // The writer only sleeps on an empty queue, so only the first entry needs to wake it.
  if (wasEmpty) ::WakeConditionVariable(&shared_->wake);
}

void Logger::Stop(unsigned waitMs) {
  {
    ExclusiveLock lock(shared_->lock);
    shared_->stopped.store(true, std::memory_order_release);
  }
  ::WakeAllConditionVariable(&shared_->wake);
  const ULONGLONG deadline = ::GetTickCount64() + waitMs;
  ExclusiveLock lock(shared_->lock);
  while (!shared_->finished) {
    ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) break;
    ::SleepConditionVariableSRW(&shared_->finishedSignal, &lock.Get(), static_cast<DWORD>(deadline - now), 0);
  }
}

void Logger::WriterLoop(std::shared_ptr<Shared> shared) {
  UniqueHandle file = OpenLogFile(shared->path, false);
  std::deque<std::unique_ptr<LogEntry>> batch;
  std::string text;
  LocalClock clock;
  for (;;) {
    bool stopping;
    {
      ExclusiveLock lock(shared->lock);
      while (!shared->stopped.load() && shared->queue.empty()) {
        ::SleepConditionVariableSRW(&shared->wake, &lock.Get(), 1000, 0);
      }
      // Entries committed before the stop are still written, so the last lines of a run
      // (its End line above all) are not lost; commits after the stop never get here.
      batch.swap(shared->queue);
      stopping = shared->stopped.load();
    }
    text.clear();
    for (const auto& entry : batch) AppendLine(text, *entry, clock);
    batch.clear();
    WriteAll(file, text);  // one write per batch: the batch is on disk when handled
    if (stopping) break;
    bool ok = false;
    if (FileSize(file, &ok) > kLogRotateSize && ok) {
      file.Reset();
      Rotate(shared->path);
      file = OpenLogFile(shared->path, true);
    }
  }
  WriteAll(file, FormatLogTime(LocalLogTime()) + " End...\r\n");
  bool ok = false;
  uint64_t size = FileSize(file, &ok);
  file.Reset();
  if (ok && size > kLogRotateSize) Rotate(shared->path);
  {
    ExclusiveLock lock(shared->lock);
    shared->finished = true;
  }
  ::WakeAllConditionVariable(&shared->finishedSignal);
}

}  // namespace minilib
