// Fetching and parsing the component list.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "component/InstallError.h"
#include "config/GlobalConfig.h"
#include "deployment.h"
#include "http/HttpClient.h"
#include "minilib/Log.h"
#include "minilib/StringConvert.h"
#include "ui/MainWnd.h"
#include "utils/DirectoryTree.h"

namespace {

const std::wstring kPrimaryListUrl = std::wstring(L"https://") + MIREL_LIST_SERVER + L"/downloads/xml/compoment.xml";
const std::wstring kFallbackListUrl =
    std::wstring(L"https://") + MIREL_LIST_FALLBACK_SERVER + L"/open/kelo/xml/compoment.xml";

// One list URL; the fetch counts when a complete response below 400 carries a body.
bool FetchList(const std::wstring& url, std::string& body) {
  const HttpResult result = HttpGet(minilib::WideToUtf8(url), L"utf-8");
  if (result.ok && result.status < 400 && !result.body.empty()) {
    body = result.body;
    return true;
  }
  const DWORD error = GetLastError();
  MLOG_ERROR("ComponentXml") << "download component file use " << url << " failed. http code: "
                             << (result.ok ? result.status : 0) << " error code: " << static_cast<unsigned>(error);
  return false;
}

}  // namespace

std::wstring CMainWnd::DownloadComponentXml() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp) + L"MirelDownload\\";
  utils::CreateDirectoryTree(folder);  // throws: an unexpected failure of the run

  wchar_t file[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(folder.c_str(), L"", 0, file)) {
    MLOG_ERROR("ComponentXml") << "get temp file failed. Error code: " << static_cast<unsigned>(GetLastError());
    SetErrorCode(kInstallErrorFileReadWrite);
    return {};
  }

  std::string body;
  if (!FetchList(kPrimaryListUrl, body) && !FetchList(kFallbackListUrl, body)) {
    SetErrorCode(kInstallErrorListDownload);
    return {};
  }

  // Text mode: each line feed goes to disk as CR LF. A failed write shows at the parse.
  if (FILE* out = _wfopen(file, L"w")) {
    std::fwrite(body.data(), 1, body.size(), out);
    std::fclose(out);
  }
  MLOG_INFO("ComponentXml") << "download component xml success. file path: " << file;
  return file;
}

bool CMainWnd::ParseComponentXml(const std::wstring& path) {
  if (path.empty()) {
    MLOG_ERROR("Component") << "xml path is null!";
    SetErrorCode(kInstallErrorCommon);
    return false;
  }
  std::ifstream in(path.c_str(), std::ios::binary);
  const std::string document((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<XmlNode> root;
  if (in.good() || in.eof()) root = ParseXmlNodeTree(document);
  if (!root) {
    MLOG_ERROR("Component") << "load component xml failed.";
    SetErrorCode(kInstallErrorListParse);
    return false;
  }

  ComponentLists lists;
  lists.defaults = std::move(defaultItems_);
  lists.channel = std::move(channelItems_);
  const uint32_t supplyId = GlobalConfig::Instance().supplyid;
  try {
    ReadComponentList(*root, supplyId, lists);
  } catch (...) {
    defaultItems_ = std::move(lists.defaults);
    channelItems_ = std::move(lists.channel);
    throw;  // conversion errors end the run
  }
  for (const ChannelSelection& selection : lists.selections) {
    MLOG_INFO("Component") << "get channel: " << selection.supplyId << " "
                           << static_cast<unsigned>(selection.sectionChildren) << " components.";
  }
  defaultItems_ = std::move(lists.defaults);
  channelItems_ = std::move(lists.channel);
  return true;
}
