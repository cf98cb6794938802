#include "minilib/LogFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace minilib {

int ClampLogLevel(int level) {
  if (level < 1) return 1;
  if (level > 3) return 3;
  return level;
}

const char* LogLevelName(int clampedLevel) {
  static const char* const kNames[] = {"Debug", "Info", "Warn", "Error"};
  if (clampedLevel < 0 || clampedLevel > 3) return kNames[1];
  return kNames[clampedLevel];
}

std::wstring LogFolder(std::wstring_view tempDir) {
  std::wstring folder(tempDir);
  folder += L"GameDownloadLog\\";
  return folder;
}

std::wstring LogFileName(std::wstring_view modulePath, const LogTime& start) {
  std::wstring_view name = modulePath;
  size_t slash = name.find_last_of(L'\\');
  if (slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
  size_t dot = name.find(L'.');
  if (dot != std::wstring_view::npos) name = name.substr(0, dot);
  wchar_t stamp[32];
  std::swprintf(stamp, sizeof(stamp) / sizeof(stamp[0]), L"_%04d%02d%02d_%02d%02d%02d", start.year,
                start.month, start.day, start.hour, start.minute, start.second);
  std::wstring file(name);
  file += stamp;
  file += L".log";
  return file;
}

std::string_view SourceBaseName(std::string_view file) {
  size_t slash = file.find_last_of("\\/");
  return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

std::string_view QualifiedFunctionName(std::string_view signature) {
  // GCC's __PRETTY_FUNCTION__: "ret ns::Class::Name(args) [with ...]". Find the argument
  // list's "(" at template depth 0, skipping "operator()" and attribute blocks.
  size_t end = std::string_view::npos;
  int angle = 0;
  for (size_t i = 0; i < signature.size(); ++i) {
    char c = signature[i];
    if (c == '<') ++angle;
    if (c == '>' && angle > 0) --angle;
    if (c == '(' && angle == 0) {
      std::string_view before = signature.substr(0, i);
      if (before.ends_with("operator")) continue;
      if (before.ends_with("__attribute__")) {
        // Skip "__attribute__((...))".
        int depth = 0;
        for (; i < signature.size(); ++i) {
          if (signature[i] == '(') ++depth;
          if (signature[i] == ')' && --depth == 0) break;
        }
        continue;
      }
      end = i;
      break;
    }
  }
  std::string_view head = signature.substr(0, end);
  // The name starts after the last blank outside template brackets.
  size_t start = 0;
  angle = 0;
  for (size_t i = 0; i < head.size(); ++i) {
    char c = head[i];
    if (c == '<') ++angle;
    if (c == '>' && angle > 0) --angle;
    if (c == ' ' && angle == 0) start = i + 1;
  }
  head = head.substr(start);
  while (!head.empty() && (head.front() == '*' || head.front() == '&')) head.remove_prefix(1);
  return head;
}

void CopyToField(char* field, size_t capacity, std::string_view text) {
  if (capacity == 0) return;
  size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

std::string FormatLogTime(const LogTime& t) {
  char buf[40];
  std::snprintf(buf, sizeof(buf), "%04d-%02d-%02d %02d:%02d:%02d:%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return buf;
}

std::string FormatLogLine(const LogTime& time, uint32_t threadId, int clampedLevel,
                          std::string_view module, std::string_view file,
                          std::string_view function, int line, std::string_view utf8Message) {
  std::string out = FormatLogTime(time);
  std::string base(SourceBaseName(file));
  std::string mod(module), fn(function);
  char prefix[600];
  std::snprintf(prefix, sizeof(prefix), " [tid=%d][%s][%s][%s][%s@%d] ", static_cast<int>(threadId),
                LogLevelName(clampedLevel), mod.c_str(), base.c_str(), fn.c_str(), line);
  out += prefix;
  out += utf8Message;
  return out;
}

}  // namespace minilib
