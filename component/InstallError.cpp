#include "component/InstallError.h"

#include <map>

const char* InstallErrorTextId(int32_t code) {
  static const std::map<int32_t, const char*> table = {
      {kInstallOk, "success"},
      {kInstallErrorCommon, "error_common"},
      {kInstallErrorListDownload, "error_http_download"},
      {kInstallErrorListParse, "error_xml_parse"},
      {kInstallErrorUrlPattern, "error_http_download"},
      {kInstallErrorHttpOpen, "error_http_download"},
      {kInstallErrorHttpConnect, "error_http_download"},
      {kInstallErrorHttpOpenRequest, "error_http_download"},
      {kInstallErrorHttpSend, "error_http_download"},
      {kInstallErrorHttpReceive, "error_http_download"},
      {kInstallErrorHttpUnused, "error_http_download"},
      {kInstallErrorHttpQueryData, "error_http_download"},
      {kInstallErrorHttpRead, "error_http_download"},
      {kInstallErrorNoReadBuffer, "error_http_download"},
      {kInstallErrorPackageExit, "error_file_readwrite"},
      {kInstallErrorNoInstaller, "error_invalid_package"},
      {kInstallErrorInstallerExit, "error_install_failed"},
      {kInstallErrorRegistry, "error_reg_access"},
      {kInstallErrorFileReadWrite, "error_file_readwrite"},
      {kInstallErrorSetupRemove, "error_file_readwrite"},
      {kInstallErrorMd5Mismatch, "error_http_download"},
  };
  auto it = table.find(code);
  return it == table.end() ? "error_common" : it->second;
}
