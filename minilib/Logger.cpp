#include "minilib/Logger.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "minilib/StringConvert.h"
#include "minilib/UniqueHandle.h"

namespace minilib {

struct Logger::Shared {
  std::wstring path;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::unique_ptr<LogEntry>> queue;
  std::atomic<bool> stopped{false};
  bool finished = false;  // guarded by mutex
  std::condition_variable finishedSignal;
};

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

void AppendLine(std::string& out, const LogEntry& e) {
  out += FormatLogLine(e.time, e.threadId, e.level, e.module, e.file, e.function, e.line,
                       WideToUtf8(e.message));
  out += "\r\n";
}

}  // namespace

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
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->queue.push_back(std::move(entry));
  }
  shared_->wake.notify_one();
}

void Logger::Stop(unsigned waitMs) {
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->stopped.store(true, std::memory_order_release);
  }
  shared_->wake.notify_all();
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->finishedSignal.wait_for(lock, std::chrono::milliseconds(waitMs),
                                   [&] { return shared_->finished; });
}

void Logger::WriterLoop(std::shared_ptr<Shared> shared) {
  UniqueHandle file = OpenLogFile(shared->path, false);
  std::deque<std::unique_ptr<LogEntry>> batch;
  std::string text;
  for (;;) {
    bool stopping;
    {
      std::unique_lock<std::mutex> lock(shared->mutex);
      while (!shared->stopped.load() && shared->queue.empty()) {
        shared->wake.wait_for(lock, std::chrono::milliseconds(1000));
      }
      // Entries committed before the stop are still written, so the last lines of a run
      // (its End line above all) are not lost; commits after the stop never get here.
      batch.swap(shared->queue);
      stopping = shared->stopped.load();
    }
    text.clear();
    for (const auto& entry : batch) AppendLine(text, *entry);
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
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->finished = true;
  }
  shared->finishedSignal.notify_all();
}

}  // namespace minilib
