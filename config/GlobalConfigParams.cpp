// Reading the channel-parameter blocks stamped onto the program's own file.
#include <windows.h>

#include "config/ChannelBlockScan.h"
#include "config/ChannelJson.h"
#include "config/GlobalConfig.h"
#include "minilib/Log.h"
#include "minilib/StringConvert.h"
#include "minilib/UniqueHandle.h"

namespace {

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, uint32_t size, uint32_t* error) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  if (!::ReadFile(file, buffer, size, &read, &at)) {
    *error = ::GetLastError();
    return false;
  }
  if (read != size) {
    *error = ERROR_HANDLE_EOF;
    return false;
  }
  return true;
}

}  // namespace

void GlobalConfig::InitParamsFromSelf() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  minilib::UniqueHandle file(::CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !::GetFileSizeEx(file.Get(), &size)) {
    DWORD error = ::GetLastError();
    MLOG_ERROR("GConfig") << "get file size failed." << " error code: " << static_cast<unsigned>(error);
    return;
  }

  config::ChannelScan scan = config::ScanChannelBlocks(
      static_cast<uint64_t>(size.QuadPart),
      [&file](uint64_t offset, void* buffer, uint32_t count, uint32_t* error) {
        return ReadAt(file.Get(), offset, buffer, count, error);
      });

  for (const config::ScannedBlock& block : scan.blocks) {
    MLOG_INFO("GConfig") << "find the inject data: " << static_cast<const void*>(block.data.get());
  }
  switch (scan.stop) {
    case config::ScanStop::kChainEnd:
      MLOG_WARN("GConfig") << "check magic failed or length is zero";
      break;
    case config::ScanStop::kHeaderReadFailed:
      MLOG_ERROR("GConfig") << "read extern data header failed." << " error code: " << scan.errorCode;
      break;
    case config::ScanStop::kLengthTooLong:
      MLOG_ERROR("GConfig") << "extern data length " << scan.length << " exceeds the " << scan.available
                            << " bytes before its header";
      break;
    case config::ScanStop::kOutOfMemory:
      MLOG_ERROR("GConfig") << "cannot allocate " << scan.length << " bytes for extern data";
      break;
    case config::ScanStop::kDataReadFailed:
      MLOG_WARN("GConfig") << "read extern data failed." << " error code: " << scan.errorCode;
      break;
    case config::ScanStop::kMd5Mismatch:
      MLOG_ERROR("GConfig") << "extern data md5 is not equal to header md5. header md5: " << scan.headerMd5
                            << " data md5: " << scan.dataMd5;
      break;
    case config::ScanStop::kJsonParseFailed:
      MLOG_INFO("GConfig") << "parse the inject data: " << static_cast<const void*>(scan.failedData.get())
                           << " failed. exception: " << minilib::Utf8ToWide(scan.parseError);
      break;
  }

  // The block nearest the start of the file first, so later blocks override key by key.
  config::ChannelParams params;
  params.buildid = buildid;
  params.supplyid = supplyid;
  params.international = international;
  params.pkgName = pkgName_;
  params.area = area_;
  params.silentMode = silentMode;
  params.marketExternParams = marketExternParams_;
  params.sourceid = sourceid_;
  params.bkgPngNumber = bkgPngNumber;
  params.createMarketIcon = createMarketIcon;
  params.installMarket = installMarket;
  params.installUI = installUI;
  params.installRootfs = installRootfs;
  params.installVDI = installVDI;
  params.installVDI71 = installVDI71;
  params.installMarrow = installMarrow;
  params.gameName = minilib::WideToUtf8(gameName_);
  params.title = minilib::WideToUtf8(title_);
  for (auto it = scan.blocks.rbegin(); it != scan.blocks.rend(); ++it) {
    std::string error;
    if (!config::ApplyChannelJson(it->value, params, &error)) {
      MLOG_ERROR("GConfig") << "init params from json failed. exception: " << error;
      break;
    }
  }
  buildid = params.buildid;
  supplyid = params.supplyid;
  international = params.international;
  pkgName_ = params.pkgName;
  area_ = params.area;
  silentMode = params.silentMode;
  marketExternParams_ = params.marketExternParams;
  sourceid_ = params.sourceid;
  bkgPngNumber = params.bkgPngNumber;
  createMarketIcon = params.createMarketIcon;
  installMarket = params.installMarket;
  installUI = params.installUI;
  installRootfs = params.installRootfs;
  installVDI = params.installVDI;
  installVDI71 = params.installVDI71;
  installMarrow = params.installMarrow;
  gameName_ = minilib::Utf8ToWide(params.gameName);
  title_ = minilib::Utf8ToWide(params.title);

  // Channel texts are UTF-8: logged as such, not through the system code page.
  MLOG_INFO("GConfig") << "need install pkg [" << minilib::Utf8ToWide(pkgName_) << "]";
  MLOG_INFO("GConfig") << "MirelDownloader inner SupplyId [" << static_cast<unsigned>(supplyid) << "]";
  MLOG_INFO("GConfig") << "MirelDownloader inner buildid [" << static_cast<unsigned long long>(buildid) << "]";
  MLOG_INFO("GConfig") << "MirelDownloader inner appid [" << minilib::Utf8ToWide(sourceid_) << "]";
  MLOG_INFO("GConfig") << "Background png number: " << static_cast<int>(bkgPngNumber);
}
