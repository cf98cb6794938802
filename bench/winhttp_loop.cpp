// winhttp-loop REPORT URL FILE: the platform's own limit for the download benchmark: one
// GET with the least a client can do (query available, read, write), no size probe and
// no progress. Only plain host:port URLs are handled.
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "http/DownloadUrl.h"
#include "http/WinHttpHandle.h"
#include "minilib/UniqueHandle.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  auto parts = SplitDownloadUrl(argv[2]);
  if (!parts) return 3;
  auto start = std::chrono::steady_clock::now();
  uint64_t total = 0;
  bool ok = false;
  {
    WinHttpHandle session(WinHttpOpen(L"winhttp-loop", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
    WinHttpHandle connection(session ? WinHttpConnect(session.Get(), parts->host.c_str(), parts->port, 0) : nullptr);
    WinHttpHandle request(connection ? WinHttpOpenRequest(connection.Get(), L"GET", parts->path.c_str(), nullptr,
                                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                          parts->secure ? WINHTTP_FLAG_SECURE : 0)
                                     : nullptr);
    minilib::UniqueHandle file(CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
    if (request && file &&
        WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
        WinHttpReceiveResponse(request.Get(), nullptr)) {
      std::vector<char> buffer(64 * 1024);
      ok = true;
      for (;;) {
        DWORD available = 0, read = 0, written = 0;
        if (!WinHttpQueryDataAvailable(request.Get(), &available)) { ok = false; break; }
        if (available == 0) break;
        if (available > buffer.size()) buffer.resize(available);
        if (!WinHttpReadData(request.Get(), buffer.data(), available, &read)) { ok = false; break; }
        if (read == 0) break;
        if (!WriteFile(file.Get(), buffer.data(), read, &written, nullptr)) { ok = false; break; }
        total += read;
      }
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  WriteBenchReport(argv[1], "winhttp-loop", ok, total, seconds, 0);
  return ok ? 0 : 1;
}
