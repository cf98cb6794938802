#include <gtest/gtest.h>

#include "minilib/LogFormat.h"

namespace {

using minilib::LogTime;

const LogTime kStart{2019, 11, 18, 10, 5, 9, 417};

TEST(LogFormat, FileNameIsProgramNameCutAtFirstDotPlusStartTime) {
  struct Case {
    const wchar_t* modulePath;
    const wchar_t* expected;
  } cases[] = {
      {L"C:\\Downloads\\MirelDownloader.exe", L"MirelDownloader_20191118_100509.log"},
      {L"C:\\Downloads\\setup.beta.exe", L"setup_20191118_100509.log"},
      // Dots in folders never shorten the name.
      {L"C:\\users\\john.doe\\Temp\\MirelDownloader.exe", L"MirelDownloader_20191118_100509.log"},
      {L"C:\\a.b\\noextension", L"noextension_20191118_100509.log"},
      {L"plain.exe", L"plain_20191118_100509.log"},
  };
  for (const Case& c : cases) EXPECT_EQ(minilib::LogFileName(c.modulePath, kStart), c.expected);
}

TEST(LogFormat, FolderKeepsDottedTempPath) {
  EXPECT_EQ(minilib::LogFolder(L"C:\\users\\john.doe\\Temp\\"), L"C:\\users\\john.doe\\Temp\\GameDownloadLog\\");
}

TEST(LogFormat, LevelsAreClampedToInfoThroughError) {
  struct Case {
    int level;
    const char* name;
  } cases[] = {{-5, "Info"}, {0, "Info"}, {1, "Info"}, {2, "Warn"}, {3, "Error"}, {7, "Error"}};
  for (const Case& c : cases) EXPECT_STREQ(minilib::LogLevelName(minilib::ClampLogLevel(c.level)), c.name) << c.level;
}

TEST(LogFormat, LineMatchesTheFileFormatToTheByte) {
  std::string line = minilib::FormatLogLine(kStart, 5012, 1, "Main", "C:\\src\\app\\MirelDownloader.cpp", "wWinMain",
                                            42, "MirelDownload Start.");
  EXPECT_EQ(line,
            "2019-11-18 10:05:09:417 [tid=5012][Info][Main][MirelDownloader.cpp][wWinMain@42] MirelDownload Start.");
}

TEST(LogFormat, SourceFileReducedToLastComponent) {
  EXPECT_EQ(minilib::SourceBaseName("C:\\work\\config\\GlobalConfig.cpp"), "GlobalConfig.cpp");
  EXPECT_EQ(minilib::SourceBaseName("/work/config/GlobalConfig.cpp"), "GlobalConfig.cpp");
  EXPECT_EQ(minilib::SourceBaseName("GlobalConfig.cpp"), "GlobalConfig.cpp");
}

TEST(LogFormat, FieldsAreCutToTheirCapacity) {
  char field[64];
  minilib::CopyToField(field, sizeof(field), std::string(70, 'm'));
  EXPECT_EQ(std::string(field), std::string(63, 'm'));
  minilib::CopyToField(field, sizeof(field), "Main");
  EXPECT_EQ(std::string(field), "Main");
}

TEST(LogFormat, QualifiedFunctionNameFromSignature) {
  struct Case {
    const char* signature;
    const char* expected;
  } cases[] = {
      {"int wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)", "wWinMain"},
      {"int __attribute__((stdcall)) wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)", "wWinMain"},
      {"void GlobalConfig::InitTempPath()", "GlobalConfig::InitTempPath"},
      {"static bool winreg::RegKey::Open(HKEY, const std::wstring&)", "winreg::RegKey::Open"},
      {"const std::string& minilib::Thing::Name() const", "minilib::Thing::Name"},
      {"bool CMainWnd::operator()(int)", "CMainWnd::operator()"},
      {"std::map<int, std::basic_string<char> > Parse(const char*)", "Parse"},
      {"InitTempPath", "InitTempPath"},
  };
  for (const Case& c : cases) EXPECT_EQ(minilib::QualifiedFunctionName(c.signature), c.expected) << c.signature;
}

}  // namespace
