// The process-wide log call: MLOG_INFO("Main") << "text" << 42u; commits at the end of
// the statement. A commit never blocks on the file and never changes GetLastError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace minilib {

enum LogLevel : int { kLogDebug = 0, kLogInfo = 1, kLogWarn = 2, kLogError = 3 };

// Wide text given as pointer and length.
struct WideSpan {
  const wchar_t* text;
  size_t length;
};

class LogRecord {
 public:
  LogRecord(int level, const char* module, const char* file, const char* function, int line);
  ~LogRecord();  // commit

  LogRecord(const LogRecord&) = delete;
  LogRecord& operator=(const LogRecord&) = delete;

  LogRecord& operator<<(const char* text);  // system code page
  LogRecord& operator<<(const std::string& text);
  LogRecord& operator<<(std::string_view text);
  LogRecord& operator<<(const wchar_t* text);
  LogRecord& operator<<(const std::wstring& text);
  LogRecord& operator<<(std::wstring_view text);
  LogRecord& operator<<(WideSpan text);
  LogRecord& operator<<(unsigned int value);  // "%u"
  LogRecord& operator<<(unsigned long value);
  LogRecord& operator<<(int value);  // "%d"
  LogRecord& operator<<(long value);
  LogRecord& operator<<(long long value);
  LogRecord& operator<<(unsigned long long value);
  LogRecord& operator<<(const void* pointer);  // "0x%08X"
  LogRecord& operator<<(const unsigned char* buffer) { return *this << static_cast<const void*>(buffer); }

  const std::wstring& Message() const { return message_; }

 private:
  void AppendNarrow(const char* text, size_t length);
  void AppendAscii(const char* text);

  int level_;
  const char* module_;
  const char* file_;
  const char* function_;
  int line_;
  uint32_t threadId_;
  unsigned long savedError_;
  std::wstring message_;
};

}  // namespace minilib

#if defined(__GNUC__)
#define MIREL_FUNCTION_SIGNATURE __PRETTY_FUNCTION__
#else
#define MIREL_FUNCTION_SIGNATURE __FUNCTION__
#endif

#define MLOG(level, module) \
  ::minilib::LogRecord((level), (module), __FILE__, MIREL_FUNCTION_SIGNATURE, __LINE__)
#define MLOG_INFO(module) MLOG(::minilib::kLogInfo, module)
#define MLOG_WARN(module) MLOG(::minilib::kLogWarn, module)
#define MLOG_ERROR(module) MLOG(::minilib::kLogError, module)
