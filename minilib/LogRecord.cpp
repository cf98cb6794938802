#include <windows.h>

#include <cstdio>
#include <cstring>

#include "minilib/Log.h"
#include "minilib/LogFormat.h"
#include "minilib/Logger.h"
#include "minilib/StringConvert.h"

namespace minilib {

LogRecord::LogRecord(int level, const char* module, const char* file, const char* function, int line)
    : level_(level),
      module_(module),
      file_(file),
      function_(function),
      line_(line),
      threadId_(::GetCurrentThreadId()),
      savedError_(::GetLastError()) {
  message_.reserve(512);
}

LogRecord::~LogRecord() {
  Logger& logger = Logger::Instance();
  if (!logger.IsStopped()) {
    std::unique_ptr<LogEntry> entry(new LogEntry);
    entry->level = ClampLogLevel(level_);
    CopyToField(entry->module, sizeof(entry->module), module_ ? module_ : "");
    CopyToField(entry->file, sizeof(entry->file), file_ ? file_ : "");
    CopyToField(entry->function, sizeof(entry->function), QualifiedFunctionName(function_ ? function_ : ""));
    entry->line = line_;
    entry->threadId = threadId_;
    entry->utcTime = UtcLogTime();
    entry->message = std::move(message_);
    logger.Queue(std::move(entry));
  }
  ::SetLastError(savedError_);
}

void LogRecord::AppendNarrow(const char* text, size_t length) {
  // Every ANSI code page maps 0x00-0x7F as ASCII: plain text needs no conversion call.
  size_t i = 0;
  while (i < length && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  if (i == length) {
    message_.append(text, text + length);
    return;
  }
  message_ += AnsiToWide(text, static_cast<int>(length));
  ::SetLastError(savedError_);
}

void LogRecord::AppendAscii(const char* text) {
  for (; *text; ++text) message_ += static_cast<wchar_t>(*text);
}

LogRecord& LogRecord::operator<<(const char* text) {
  if (text) AppendNarrow(text, std::strlen(text));
  return *this;
}
LogRecord& LogRecord::operator<<(const std::string& text) {
  AppendNarrow(text.data(), text.size());
  return *this;
}
LogRecord& LogRecord::operator<<(std::string_view text) {
  AppendNarrow(text.data(), text.size());
  return *this;
}
LogRecord& LogRecord::operator<<(const wchar_t* text) {
  if (text) message_ += text;
  return *this;
}
LogRecord& LogRecord::operator<<(const std::wstring& text) {
  message_ += text;
  return *this;
}
LogRecord& LogRecord::operator<<(std::wstring_view text) {
  message_ += text;
  return *this;
}
LogRecord& LogRecord::operator<<(WideSpan text) {
  if (text.text) message_.append(text.text, text.length);
  return *this;
}

LogRecord& LogRecord::operator<<(unsigned int value) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%u", value);
  AppendAscii(buf);
  return *this;
}
LogRecord& LogRecord::operator<<(unsigned long value) { return *this << static_cast<unsigned int>(value); }
LogRecord& LogRecord::operator<<(int value) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%d", value);
  AppendAscii(buf);
  return *this;
}
LogRecord& LogRecord::operator<<(long value) { return *this << static_cast<int>(value); }
LogRecord& LogRecord::operator<<(long long value) {
  char buf[24];
  std::snprintf(buf, sizeof(buf), "%lld", value);
  AppendAscii(buf);
  return *this;
}
LogRecord& LogRecord::operator<<(unsigned long long value) {
  char buf[24];
  std::snprintf(buf, sizeof(buf), "%llu", value);
  AppendAscii(buf);
  return *this;
}
LogRecord& LogRecord::operator<<(const void* pointer) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "0x%08X", static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer)));
  AppendAscii(buf);
  return *this;
}

}  // namespace minilib
