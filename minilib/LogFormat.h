// The log file's name and line layout, kept free of I/O so they can be checked by table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace minilib {

struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Levels are clamped into Info..Error when queued: 0 is written as Info, above 3 as Error.
int ClampLogLevel(int level);
const char* LogLevelName(int clampedLevel);

// "<tempDir>GameDownloadLog\" — tempDir ends with a backslash, as GetTempPathW gives it.
std::wstring LogFolder(std::wstring_view tempDir);

// The program's file name (after the last backslash) cut at its first ".", then the
// start time as "_YYYYMMDD_HHMMSS" and ".log".
std::wstring LogFileName(std::wstring_view modulePath, const LogTime& start);

// Source file reduced to its last component ("\" or "/" separated).
std::string_view SourceBaseName(std::string_view file);

// "ns::Class::Method" out of a compiler's decorated function signature; plain names pass.
// The result points into `signature`.
std::string_view QualifiedFunctionName(std::string_view signature);

// Copies at most capacity-1 bytes into a fixed field and terminates it.
void CopyToField(char* field, size_t capacity, std::string_view text);

// "YYYY-MM-DD hh:mm:ss:mmm"
std::string FormatLogTime(const LogTime& time);

// One full line without its line end: time, " [tid=..][Level][module][file][function@line] ",
// then the UTF-8 message.
std::string FormatLogLine(const LogTime& time, uint32_t threadId, int clampedLevel,
                          std::string_view module, std::string_view file,
                          std::string_view function, int line, std::string_view utf8Message);

inline constexpr uint64_t kLogRotateSize = 0x800000;  // 8 MiB

}  // namespace minilib
