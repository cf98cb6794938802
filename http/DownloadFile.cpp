#include "http/DownloadFile.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <new>

#include "http/DownloadUrl.h"
#include "http/RequestTarget.h"
#include "http/ResponseFields.h"
#include "http/TransferProgress.h"
#include "http/WinHttpHandle.h"
#include "minilib/UniqueHandle.h"

namespace {

constexpr wchar_t kDefaultUserAgent[] = L"MirelDownloader/1.0";

DownloadResult Failure(int32_t type, DWORD error) {
  DownloadResult result;
  result.errorType = type;
  result.systemError = error;
  return result;
}

// The object path is escaped here, so WinHTTP is told to send it as it stands.
DWORD RequestFlags(bool secure) {
  DWORD flags = WINHTTP_FLAG_REFRESH | WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  if (secure) flags |= WINHTTP_FLAG_SECURE;
  return flags;
}

// Content-Length of a HEAD answer as a 64-bit number, read as text: the numeric queries
// stop at 32 bits (or are missing), and packages can be larger than 4 GiB.
uint64_t ProbeContentLength(HINTERNET connection, const std::wstring& object, bool secure) {
  WinHttpHandle head(WinHttpOpenRequest(connection, L"HEAD", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, RequestFlags(secure)));
  if (!head) return 0;
  if (!WinHttpSendRequest(head.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    return 0;
  if (!WinHttpReceiveResponse(head.Get(), nullptr)) return 0;
  wchar_t text[64] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (!WinHttpQueryHeaders(head.Get(), WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                           WINHTTP_NO_HEADER_INDEX))
    return 0;
  return ParseContentLengthText(std::wstring_view(text, size / sizeof(wchar_t))).value_or(0);
}

bool WriteAll(HANDLE file, const char* data, DWORD length) {
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, length, &written, nullptr)) return false;
    data += written;
    length -= written;
  }
  return true;
}

uint64_t MicrosecondsSince(std::chrono::steady_clock::time_point start) {
  auto elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

}  // namespace

DownloadResult DownloadFile(const std::wstring& url, const std::wstring& localPath,
                            const DownloadProgress& progress, const std::wstring& userAgent) {
  const std::wstring agent = userAgent.empty() ? std::wstring(kDefaultUserAgent) : userAgent;
  std::optional<DownloadUrlParts> parts = SplitDownloadUrl(url);
  if (!parts) return Failure(4, ERROR_WINHTTP_INVALID_URL);
  const std::wstring object = EscapeRequestTarget(parts->path);

  WinHttpHandle session(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Failure(5, GetLastError());
  WinHttpHandle connection(WinHttpConnect(session.Get(), parts->host.c_str(), parts->port, 0));
  if (!connection) return Failure(6, GetLastError());

  const uint64_t expected = ProbeContentLength(connection.Get(), object, parts->secure);

  WinHttpHandle get(WinHttpOpenRequest(connection.Get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                       WINHTTP_DEFAULT_ACCEPT_TYPES, RequestFlags(parts->secure)));
  if (!get) return Failure(7, GetLastError());
  if (!WinHttpSendRequest(get.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    return Failure(8, GetLastError());
  if (!WinHttpReceiveResponse(get.Get(), nullptr)) return Failure(9, GetLastError());

  // Only now: a failed connection leaves an existing file as it was.
  minilib::UniqueHandle file(CreateFileW(localPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failure(18, GetLastError());

  uint32_t bufferSize = kMinReadBuffer;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
  const auto start = std::chrono::steady_clock::now();
  uint64_t total = 0;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(get.Get(), &available)) return Failure(11, GetLastError());
    DWORD bytesRead = 0;
    if (available > 0) {
      uint32_t wanted = ReadBufferSize(bufferSize, available);
      if (wanted != bufferSize) {
        buffer.reset(new (std::nothrow) char[wanted]);
        bufferSize = wanted;
      }
      if (!buffer) return Failure(13, ERROR_OUTOFMEMORY);
      DWORD toRead = available < bufferSize ? available : bufferSize - 1;
      std::memset(buffer.get(), 0, toRead + 1);
      if (!WinHttpReadData(get.Get(), buffer.get(), toRead, &bytesRead)) return Failure(12, GetLastError());
    }
    if (bytesRead == 0) {
      // No more data: complete without a known size, cut short with one.
      if (NextTransferStep(total, expected, 0) == TransferStep::kComplete) break;
      return Failure(12, ERROR_HANDLE_EOF);
    }
    total += bytesRead;
    if (!WriteAll(file.Get(), buffer.get(), bytesRead)) return Failure(18, GetLastError());
    if (progress) {
      ProgressFigures figures = ComputeProgress(total, expected, MicrosecondsSince(start));
      progress(figures.percent, figures.speedKBps);
    }
    if (NextTransferStep(total, expected, bytesRead) == TransferStep::kComplete) break;
  }
  return DownloadResult{true, 0, 0};
}
