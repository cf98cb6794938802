#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "minilib/Log.h"
#include "minilib/Logger.h"

namespace {

std::wstring TempFile(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + name;
  DeleteFileW(path.c_str());
  DeleteFileW((path + L".bak").c_str());
  return path;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::unique_ptr<minilib::LogEntry> Entry(const std::wstring& message, int level = 1) {
  auto e = std::make_unique<minilib::LogEntry>();  // value-initialised: fields cleared
  e->level = level;
  strcpy(e->module, "Test");
  strcpy(e->file, "LoggerTest.cpp");
  strcpy(e->function, "Body");
  e->line = 7;
  e->threadId = 99;
  e->utcTime = minilib::UtcLogTime();
  e->message = message;
  return e;
}

TEST(Logger, WritesLinesInOrderWithCrLfAndEndMarkerLast) {
  std::wstring path = TempFile(L"logger_order.log");
  {
    minilib::Logger logger(path);
    for (int i = 0; i < 100; ++i) logger.Queue(Entry(L"line " + std::to_wstring(i)));
    logger.Queue(Entry(L"\u00fcml\u00e4ut \u4e2d"));
    logger.Stop();
    logger.Queue(Entry(L"after stop"));  // dropped
  }
  std::string text = ReadAll(path);
  std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 102u);
  std::regex prefix(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d:\d{3} \[tid=99\]\[Info\]\[Test\]\[LoggerTest\.cpp\]\[Body@7\] line (\d+)$)");
  for (int i = 0; i < 100; ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, prefix)) << lines[i];
    EXPECT_EQ(m[1], std::to_string(i));
  }
  EXPECT_NE(lines[100].find("\xC3\xBCml\xC3\xA4ut \xE4\xB8\xAD"), std::string::npos) << "message is UTF-8";
  EXPECT_TRUE(std::regex_match(lines[101], std::regex(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d:\d{3} End\.\.\.$)")))
      << lines[101];
  EXPECT_EQ(text.find("after stop"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(Logger, AppendsToAnExistingFileOfTheSameName) {
  std::wstring path = TempFile(L"logger_append.log");
  {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << "earlier\r\n";
    minilib::Logger logger(path);
    logger.Queue(Entry(L"later"));
  }
  std::vector<std::string> lines = Lines(ReadAll(path));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "earlier");
}

TEST(Logger, RotatesPastEightMebibytesAndReplacesOldBak) {
  std::wstring path = TempFile(L"logger_rotate.log");
  std::ofstream(std::filesystem::path(path + L".bak"), std::ios::binary) << "stale bak";
  {
    minilib::Logger logger(path);
    const std::wstring chunk(1000, L'x');
    // ~8.5 MB in batches; each batch is checked for the size limit after it is written.
    for (int i = 0; i < 8700; ++i) {
      logger.Queue(Entry(chunk));
      if (i % 500 == 0) Sleep(5);
    }
    Sleep(200);
    logger.Queue(Entry(L"after rotation"));
  }
  std::string bak = ReadAll(path + L".bak");
  std::string current = ReadAll(path);
  EXPECT_GT(bak.size(), minilib::kLogRotateSize);
  EXPECT_EQ(bak.find("stale bak"), std::string::npos);
  EXPECT_LT(current.size(), 1024u * 1024u);
  EXPECT_NE(current.find("after rotation"), std::string::npos);
  EXPECT_NE(current.find(" End..."), std::string::npos);
}

TEST(LogRecord, FormatsInsertedValuesLeftToRight) {
  minilib::LogRecord record(1, "Main", __FILE__, "f", 1);
  record << "text " << 4294967295u << " " << -12 << " " << static_cast<unsigned long>(5) << " "
         << reinterpret_cast<const void*>(0x1234) << " " << std::wstring(L"w\u00e9");
  EXPECT_EQ(record.Message(), L"text 4294967295 -12 5 0x00001234 w\u00e9");
}

TEST(LogRecord, KeepsTheCallersLastError) {
  SetLastError(1234);
  MLOG_INFO("Test") << "value " << 1u;
  EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace

namespace {

// Through the real log call into the process's own log file.
TEST(LogRecord, ProcessLogClampsLevelsAndCutsModuleTag) {
  const std::string tag70(70, 't');
  MLOG(0, "Levels") << "level zero";
  MLOG(7, "Levels") << "level seven";
  MLOG_WARN(tag70.c_str()) << "long tag";
  const std::wstring path = minilib::Logger::Instance().Path();
  EXPECT_NE(path.find(L"\\GameDownloadLog\\minilib_tests_"), std::wstring::npos);
  std::string text;
  for (int i = 0; i < 100 && text.find("long tag") == std::string::npos; ++i) {
    Sleep(20);
    text = ReadAll(path);
  }
  EXPECT_NE(text.find("[Info][Levels][LoggerTest.cpp][{anonymous}::LogRecord_ProcessLogClampsLevelsAndCutsModuleTag_Test::TestBody@"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[Error][Levels]"), std::string::npos);
  EXPECT_NE(text.find("[Warn][" + std::string(63, 't') + "][LoggerTest.cpp]"), std::string::npos);
  EXPECT_EQ(text.find(std::string(64, 't')), std::string::npos);
}

}  // namespace
