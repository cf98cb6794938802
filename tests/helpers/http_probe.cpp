// http-probe OUTFILE COMMAND ...: drives the HTTP clients from the command line and
// appends what they return to OUTFILE as JSON lines (UTF-8). An argument "@path" stands
// for the UTF-8 text of that file (for URLs Wine's command line would mangle).
//   get URL [CHARSET]                      HttpGet
//   post URL BODY CONTENTTYPE              HttpPost
//   request METHOD URL [options]           one HttpRequest, every field reported
//     --charset X  --no-verify  --skip-charset  --header TEXT (CR LF appended)
//     --cookie TEXT  --body TEXT  --proxy HOST:PORT  --proxy-user U  --proxy-password P
//     --timeouts RESOLVE,CONNECT,SEND,RECEIVE  --agent TEXT
//   download URL FILE [--agent TEXT] [--summary]   DownloadFile; one line per progress
//     call (or one summary line), then the result
// Exit code 0 when the command ran (whatever its result), 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "http/DownloadFile.h"
#include "http/HttpClient.h"
#include "http/HttpRequest.h"
#include "minilib/StringConvert.h"
#include "utils/Md5.h"

using nlohmann::json;

namespace {

std::string U8(const std::wstring& text) { return minilib::WideToUtf8(text); }

std::wstring Arg(const wchar_t* arg) {
  if (arg[0] != L'@') return arg;
  std::ifstream in(arg + 1, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return minilib::Utf8ToWide(text.str());
}

class Output {
 public:
  explicit Output(const wchar_t* path) : file_(_wfopen(path, L"ab")) {}
  ~Output() {
    if (file_) std::fclose(file_);
  }
  void Write(const json& line) {
    if (!file_) return;
    std::string text = line.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
  }

 private:
  FILE* file_;
};

std::string Hex(const std::string& bytes) { return utils::ToLowerHex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()); }

json RawBody(const std::string& raw) {
  json j;
  j["raw_size"] = raw.size();
  j["raw_md5"] = utils::Md5Hex(raw);
  if (raw.size() <= 4096) j["raw_hex"] = Hex(raw);
  return j;
}

int Usage() {
  std::fwprintf(stderr, L"usage: http-probe OUTFILE get|post|request|download ...\n");
  return 2;
}

int RunRequest(Output& out, int argc, wchar_t** argv) {
  if (argc < 5) return Usage();
  HttpRequest request(Arg(argv[4]));
  for (int i = 5; i < argc; ++i) {
    std::wstring option = argv[i];
    auto value = [&]() -> std::wstring { return i + 1 < argc ? Arg(argv[++i]) : std::wstring(); };
    if (option == L"--charset") request.charset = value();
    else if (option == L"--no-verify") request.verifyCertificate = false;
    else if (option == L"--skip-charset") request.skipCharsetDetection = true;
    else if (option == L"--header") request.extraHeaders += value() + L"\r\n";
    else if (option == L"--cookie") request.requestCookie = value();
    else if (option == L"--body") request.requestBody = U8(value());
    else if (option == L"--proxy") request.proxy = value();
    else if (option == L"--proxy-user") request.proxyUser = value();
    else if (option == L"--proxy-password") request.proxyPassword = value();
    else if (option == L"--agent") request.userAgent = value();
    else if (option == L"--timeouts") {
      int r = 0, c = 0, s = 0, v = 0;
      if (swscanf(value().c_str(), L"%d,%d,%d,%d", &r, &c, &s, &v) != 4) return Usage();
      request.resolveTimeout = r, request.connectTimeout = c, request.sendTimeout = s, request.receiveTimeout = v;
    } else {
      return Usage();
    }
  }
  int progressCalls = 0;
  double lastProgress = -1;
  request.progressCallback = [&](double percent) {
    ++progressCalls;
    lastProgress = percent;
  };
  DWORD start = GetTickCount();
  bool sent = request.Send(argv[3]);
  json j = RawBody(request.rawBody);
  j["command"] = "request";
  j["sent"] = sent;
  j["lastError"] = request.lastError;
  j["attempts"] = request.attemptsMade;
  j["milliseconds"] = GetTickCount() - start;
  j["host"] = U8(request.host);
  j["statusText"] = U8(request.statusText);
  j["headers"] = U8(request.responseHeaders);
  j["body"] = U8(request.responseText);
  j["charset"] = U8(request.charset);
  j["contentLength"] = request.contentLength;
  j["cookies"] = U8(request.cookies);
  j["location"] = U8(request.location);
  j["progressCalls"] = progressCalls;
  j["lastProgress"] = lastProgress;
  out.Write(j);
  return 0;
}

int RunDownload(Output& out, int argc, wchar_t** argv) {
  if (argc < 5) return Usage();
  std::wstring agent;
  bool summary = false;
  for (int i = 5; i < argc; ++i) {
    std::wstring option = argv[i];
    if (option == L"--agent" && i + 1 < argc) agent = argv[++i];
    else if (option == L"--summary") summary = true;
    else return Usage();
  }
  uint64_t calls = 0;
  uint32_t lastPercent = 0, maxPercent = 0, lastSpeed = 0;
  DownloadProgress progress = [&](uint32_t percent, uint32_t speed) {
    ++calls;
    lastPercent = percent;
    lastSpeed = speed;
    if (percent > maxPercent) maxPercent = percent;
    if (!summary) out.Write(json{{"progress", percent}, {"speed", speed}});
  };
  DWORD start = GetTickCount();
  DownloadResult result = DownloadFile(Arg(argv[3]), Arg(argv[4]), progress, agent);
  json j;
  j["command"] = "download";
  j["ok"] = result.ok;
  j["errorType"] = result.errorType;
  j["systemError"] = result.systemError;
  j["milliseconds"] = GetTickCount() - start;
  j["progressCalls"] = calls;
  j["lastPercent"] = lastPercent;
  j["maxPercent"] = maxPercent;
  j["lastSpeed"] = lastSpeed;
  out.Write(j);
  return 0;
}

json Result(const char* command, const HttpResult& result) {
  json j;
  j["command"] = command;
  j["ok"] = result.ok;
  j["status"] = result.status;
  j["body"] = result.body;
  j["body_size"] = result.body.size();
  return j;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return Usage();
  Output out(argv[1]);
  std::wstring command = argv[2];
  if (command == L"get") {
    std::wstring charset = argc > 4 ? Arg(argv[4]) : L"";
    out.Write(Result("get", HttpGet(U8(Arg(argv[3])), charset)));
    return 0;
  }
  if (command == L"post") {
    if (argc < 6) return Usage();
    out.Write(Result("post", HttpPost(U8(Arg(argv[3])), U8(Arg(argv[4])), U8(Arg(argv[5])))));
    return 0;
  }
  if (command == L"request") return RunRequest(out, argc, argv);
  if (command == L"download") return RunDownload(out, argc, argv);
  return Usage();
}
