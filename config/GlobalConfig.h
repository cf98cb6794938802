// The process-wide configuration record: the channel parameters stamped onto the program
// file, the download and install folders, the supply id and the user's language. Built
// completely on first access (on the main thread, at start) and never destroyed; after
// that only the install path changes.
#pragma once

#include <cstdint>
#include <string>

// The values the usage-report record takes from the configuration when it is built.
struct ReportSeed {
  std::string strcommon0;       // the channel's source id
  uint64_t client_version = 0;  // the channel's build id
  uint64_t supplyid = 0;
  std::wstring language;
};

class GlobalConfig {
 public:
  static GlobalConfig& Instance();

  GlobalConfig(const GlobalConfig&) = delete;
  GlobalConfig& operator=(const GlobalConfig&) = delete;

  // Scalar fields, read directly.
  int32_t international = 0;
  uint32_t supplyid = 0;
  uint64_t buildid = 0;
  int32_t silentMode = 0;
  int32_t bkgPngNumber = 0;
  bool createMarketIcon = false;
  bool installMarket = true;
  bool installUI = false;
  bool installRootfs = false;
  bool installVDI = false;
  bool installVDI71 = false;
  bool installMarrow = false;

  // Text fields, read through copies. Channel texts are UTF-8 except title and gameName.
  std::string area() const { return area_; }
  std::string sourceid() const { return sourceid_; }
  std::string pkgName() const { return pkgName_; }
  std::string marketExternParams() const { return marketExternParams_; }
  std::wstring title() const { return title_; }
  std::wstring gameName() const { return gameName_; }
  std::wstring language() const { return language_; }
  std::wstring tempPath() const { return tempPath_; }
  std::wstring installDrive() const { return installDrive_; }
  std::wstring installPath() const { return installPath_; }

  // Set by the install-path page, on the UI thread, before the install work starts.
  void SetInstallPath(const std::wstring& path) { installPath_ = path; }

  // Handed to the usage-report record when it is built.
  const ReportSeed& reportSeed() const { return reportSeed_; }

 private:
  GlobalConfig();
  ~GlobalConfig() = default;

  void InitParamsFromSelf();
  void InitTempPath();
  void InitInstallPath();
  void InitSupplyid();
  void InitLanguageSetting();

  std::string area_;
  std::string sourceid_;
  std::string pkgName_;
  std::string marketExternParams_;
  std::wstring title_;
  std::wstring gameName_;
  std::wstring language_ = L"zh_CN";
  std::wstring tempPath_;
  std::wstring installDrive_;
  std::wstring installPath_;
  ReportSeed reportSeed_;
};
