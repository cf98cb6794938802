#include "http/HttpRequest.h"

#include <cwctype>
#include <new>
#include <optional>
#include <utility>

#include "http/BodyDecode.h"
#include "http/ProxyFallback.h"
#include "http/RequestTarget.h"
#include "http/ResponseFields.h"
#include "minilib/Log.h"

namespace {

constexpr int kAttempts = 3;
constexpr DWORD kHostBuffer = 260;    // characters, terminator included
constexpr DWORD kTargetBuffer = 1300;
constexpr size_t kFirstBodyBuffer = 10240;
constexpr DWORD kIgnoreCertificateErrors = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                           SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;  // 0x3100

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != L'\0'; ++i) {
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
  }
  return i == a.size() && b[i] == L'\0';
}

// A header query as text; empty when the header is missing or the query fails.
std::wstring QueryHeaderText(HINTERNET request, DWORD query) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                           WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(size / sizeof(wchar_t));
  return text;
}

// The receive time-out also bounds the wait for the response headers: some WinHTTP
// implementations otherwise wait for them without limit.
void ApplyTimeouts(HINTERNET session, int resolve, int connect, int send, int receive) {
  WinHttpSetTimeouts(session, resolve, connect, send, receive);
  DWORD responseTimeout = receive > 0 ? static_cast<DWORD>(receive) : INFINITE;
  WinHttpSetOption(session, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof(responseTimeout));
}

bool WriteBody(HINTERNET request, const std::string& body) {
  size_t offset = 0;
  while (offset < body.size()) {
    DWORD written = 0;
    if (!WinHttpWriteData(request, body.data() + offset, static_cast<DWORD>(body.size() - offset), &written))
      return false;
    if (written == 0) return false;
    offset += written;
  }
  return true;
}

}  // namespace

HttpRequest::HttpRequest(std::wstring url) : url(std::move(url)) {}

bool HttpRequest::Send(const std::wstring& method) {
  attemptsMade = 0;
  bufferFailed_ = false;
  if (url.empty()) {
    lastError = 3;
    return false;
  }
  if (EqualsIgnoringCase(method, L"GET")) {
    method_ = L"GET";
  } else if (EqualsIgnoringCase(method, L"POST")) {
    method_ = L"POST";
  } else {
    lastError = ERROR_INVALID_PARAMETER;  // 87
    return false;
  }

  if (!session) {
    // A caller-named proxy is the session's route; otherwise the system's WinHTTP setting.
    bool named = IsUsableProxyText(proxy);
    if (!proxy.empty() && !named) MLOG_WARN("Download") << "proxy name too long, not used: " << proxy;
    session.Reset(WinHttpOpen(userAgent.c_str(), named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                              named ? proxy.c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpOpen failed error code: " << lastError;
      return false;
    }
  }
  ApplyTimeouts(session.Get(), resolveTimeout, connectTimeout, sendTimeout, receiveTimeout);

  wchar_t hostBuffer[kHostBuffer] = {};
  wchar_t pathBuffer[kTargetBuffer] = {};
  wchar_t extraBuffer[kTargetBuffer] = {};
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = hostBuffer;
  parts.dwHostNameLength = kHostBuffer;
  parts.lpszUrlPath = pathBuffer;
  parts.dwUrlPathLength = kTargetBuffer;
  parts.lpszExtraInfo = extraBuffer;
  parts.dwExtraInfoLength = kTargetBuffer;
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) {
    MLOG_WARN("Download") << "WinHttpCrackUrl failed url: " << url << " error code: " << GetLastError();
    return false;
  }
  std::wstring target = std::wstring(pathBuffer, parts.dwUrlPathLength) + std::wstring(extraBuffer, parts.dwExtraInfoLength);
  if (target.size() >= kTargetBuffer) {
    MLOG_WARN("Download") << "url path too long: " << static_cast<unsigned>(target.size()) << " characters";
    return false;
  }
  host.assign(hostBuffer, parts.dwHostNameLength);
  target_ = EscapeRequestTarget(target);
  port_ = parts.nPort;
  secure_ = parts.nScheme == INTERNET_SCHEME_HTTPS;

  bool complete = false;
  for (int attempt = 1; attempt <= kAttempts && !complete; ++attempt) {
    attemptsMade = attempt;
    // A fresh request per attempt: each carries the extra headers and the cookie once.
    Exchange exchange;
    if (!OpenExchange(exchange)) return false;
    if (!SendRequest(exchange.request.Get())) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpSendRequest failed url: " << url << " error code: " << lastError;
      if (!FallBackToIeProxy(exchange)) continue;
    }
    if (!requestBody.empty() && !WriteBody(exchange.request.Get(), requestBody)) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpWriteData failed error code: " << lastError;
    }
    if (!WinHttpReceiveResponse(exchange.request.Get(), nullptr)) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpReceiveResponse failed url: " << url << " error code: " << lastError;
      continue;
    }
    Attempt outcome = ReadResponse(exchange.request.Get());
    if (outcome == Attempt::kStop) return false;
    complete = outcome == Attempt::kComplete;
  }
  return complete && !bufferFailed_;
}

HINTERNET HttpRequest::SessionForRoute() {
  if (routeProxy_.empty()) return session.Get();
  if (!routeSession_ || openRouteProxy_ != routeProxy_) {
    // WinHTTP implementations differ in honouring a per-request proxy option; a session
    // opened for the named proxy routes every implementation the same way.
    routeSession_.Reset(WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, routeProxy_.c_str(),
                                    routeBypass_.empty() ? WINHTTP_NO_PROXY_BYPASS : routeBypass_.c_str(), 0));
    if (!routeSession_) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpOpen for proxy " << routeProxy_ << " failed error code: " << lastError;
      return nullptr;
    }
    ApplyTimeouts(routeSession_.Get(), resolveTimeout, connectTimeout, sendTimeout, receiveTimeout);
    openRouteProxy_ = routeProxy_;
  }
  return routeSession_.Get();
}

bool HttpRequest::OpenExchange(Exchange& exchange) {
  HINTERNET route = SessionForRoute();
  if (route == nullptr) return false;
  exchange.request.Reset();
  exchange.connection.Reset(WinHttpConnect(route, host.c_str(), port_, 0));
  if (!exchange.connection) {
    MLOG_WARN("Download") << "WinHttpConnect failed host: " << host << " error code: " << GetLastError();
    return false;
  }
  // The target is escaped already; WinHTTP sends it as it stands.
  DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  if (secure_) flags |= WINHTTP_FLAG_SECURE;
  exchange.request.Reset(WinHttpOpenRequest(exchange.connection.Get(), method_.c_str(), target_.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!exchange.request) {
    MLOG_WARN("Download") << "WinHttpOpenRequest failed url: " << url << " error code: " << GetLastError();
    return false;
  }
  if (secure_ && !verifyCertificate) {
    DWORD ignore = kIgnoreCertificateErrors;
    WinHttpSetOption(exchange.request.Get(), WINHTTP_OPTION_SECURITY_FLAGS, &ignore, sizeof(ignore));
  }
  AddHeaders(exchange.request.Get());
  return true;
}

void HttpRequest::AddHeaders(HINTERNET request) {
  const DWORD flags = WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_COALESCE_WITH_SEMICOLON;
  if (!extraHeaders.empty() &&
      !WinHttpAddRequestHeaders(request, extraHeaders.c_str(), static_cast<DWORD>(extraHeaders.size()), flags)) {
    lastError = GetLastError();
    MLOG_WARN("Download") << "WinHttpAddRequestHeaders failed error code: " << lastError;
  }
  if (!requestCookie.empty()) {
    std::wstring header = L"Cookie: " + requestCookie;
    if (!WinHttpAddRequestHeaders(request, header.c_str(), static_cast<DWORD>(header.size()), flags)) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "adding the cookie header failed error code: " << lastError;
    }
  }
  if (!proxyUser.empty() && (!proxy.empty() || !routeProxy_.empty())) {
    if (!WinHttpSetOption(request, WINHTTP_OPTION_PROXY_USERNAME, const_cast<wchar_t*>(proxyUser.c_str()),
                          static_cast<DWORD>(proxyUser.size() * sizeof(wchar_t))))
      lastError = GetLastError();
    if (!proxyPassword.empty() &&
        !WinHttpSetOption(request, WINHTTP_OPTION_PROXY_PASSWORD, const_cast<wchar_t*>(proxyPassword.c_str()),
                          static_cast<DWORD>(proxyPassword.size() * sizeof(wchar_t))))
      lastError = GetLastError();
  }
}

bool HttpRequest::SendRequest(HINTERNET request) {
  // The total length names the body written after the send, so a body goes out with a
  // matching Content-Length whether or not the caller's headers carry one.
  return WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                            static_cast<DWORD>(requestBody.size()), 0) != FALSE;
}

bool HttpRequest::FallBackToIeProxy(Exchange& exchange) {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) {
    lastError = GetLastError();
    MLOG_WARN("Download") << "WinHttpGetIEProxyConfigForCurrentUser failed error code: " << lastError;
    return false;
  }
  GlobalString autoConfigUrl(config.lpszAutoConfigUrl);
  GlobalString ieProxy(config.lpszProxy);
  GlobalString ieBypass(config.lpszProxyBypass);
  IeProxySettings settings;
  if (autoConfigUrl) settings.autoConfigUrl = autoConfigUrl.Get();
  if (ieProxy) settings.proxy = ieProxy.Get();
  if (ieBypass) settings.proxyBypass = ieBypass.Get();

  switch (DecideProxyFallback(settings)) {
    case ProxyFallbackAction::kGiveUp:
      return false;
    case ProxyFallbackAction::kUseNamedProxyNext:
      MLOG_INFO("Download") << "next attempt through the IE proxy " << settings.proxy;
      routeProxy_ = settings.proxy;
      routeBypass_ = settings.proxyBypass;
      return false;
    case ProxyFallbackAction::kAskScript:
      break;
  }

  WINHTTP_AUTOPROXY_OPTIONS options = {};
  options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT | WINHTTP_AUTOPROXY_CONFIG_URL;
  options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP;
  options.lpszAutoConfigUrl = settings.autoConfigUrl.c_str();
  options.fAutoLogonIfChallenged = TRUE;
  WINHTTP_PROXY_INFO info = {};
  BOOL found = WinHttpGetProxyForUrl(session.Get(), url.c_str(), &options, &info);
  if (!found && GetLastError() == ERROR_INVALID_PARAMETER) {
    // Some WinHTTP implementations refuse detection and a script URL together: the
    // script the user named is the one that counts.
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.dwAutoDetectFlags = 0;
    found = WinHttpGetProxyForUrl(session.Get(), url.c_str(), &options, &info);
  }
  if (!found) {
    lastError = GetLastError();
    MLOG_WARN("Download") << "WinHttpGetProxyForUrl failed script: " << settings.autoConfigUrl
                          << " error code: " << lastError;
    return false;
  }
  GlobalString scriptProxy(info.lpszProxy);
  GlobalString scriptBypass(info.lpszProxyBypass);
  if (info.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY || !scriptProxy ||
      !IsUsableProxyText(scriptProxy.Get()) ||
      (scriptBypass && std::wstring_view(scriptBypass.Get()).size() > kMaxProxyText))
    return false;
  MLOG_INFO("Download") << "sending again through the script's proxy " << scriptProxy.Get();
  routeProxy_ = scriptProxy.Get();
  routeBypass_ = scriptBypass ? scriptBypass.Get() : L"";
  if (!OpenExchange(exchange)) return false;
  if (!SendRequest(exchange.request.Get())) {
    lastError = GetLastError();
    MLOG_WARN("Download") << "WinHttpSendRequest through proxy failed error code: " << lastError;
    return false;
  }
  return true;
}

HttpRequest::Attempt HttpRequest::ReadResponse(HINTERNET request) {
  responseHeaders = QueryHeaderText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF);
  ResponseHeaderFields fields = ReadResponseHeaderFields(responseHeaders);
  if (fields.charset && !skipCharsetDetection) charset = *fields.charset;
  contentLength = fields.contentLength;
  location = fields.location;
  cookies = fields.cookies;
  statusText = QueryHeaderText(request, WINHTTP_QUERY_STATUS_CODE);

  // WinHTTP's own parse of the header, not the pattern: another header may end in the name.
  std::optional<uint64_t> declaredLength =
      ParseContentLengthText(QueryHeaderText(request, WINHTTP_QUERY_CONTENT_LENGTH));
  bool stopAll = false;
  bool bodyWhole = ReadBody(request, declaredLength, stopAll);
  if (stopAll) return Attempt::kStop;
  if (!bodyWhole && !bufferFailed_) return Attempt::kFailed;
  responseText = DecodeBody(rawBody, charset);
  if (bufferFailed_) return Attempt::kComplete;  // the send reports false
  if (method_ == L"GET" && IsTruncatedHtmlPage(responseText)) {
    lastError = ERROR_INVALID_DATA;  // 13
    MLOG_WARN("Download") << "html page without its closing tag url: " << url;
    return Attempt::kFailed;
  }
  return Attempt::kComplete;
}

// False when the body did not arrive whole: a read failed, or the connection ended before
// the announced Content-Length. stopAll: not even the first buffer could be had.
bool HttpRequest::ReadBody(HINTERNET request, std::optional<uint64_t> declaredLength, bool& stopAll) {
  std::string body;
  try {
    body.reserve(kFirstBodyBuffer);
  } catch (const std::bad_alloc&) {
    stopAll = true;
    return false;
  }
  size_t capacity = kFirstBodyBuffer;
  bool whole = true;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpQueryDataAvailable failed url: " << url << " error code: " << lastError;
      whole = false;
      break;
    }
    if (progressCallback && contentLength != 0) progressCallback(body.size() * 100.0 / contentLength);
    if (available == 0) break;
    size_t needed = body.size() + available;
    if (needed > capacity) {
      size_t grown = capacity;
      while (grown < needed) grown *= 2;
      try {
        body.reserve(grown);
      } catch (const std::bad_alloc&) {
        bufferFailed_ = true;
        MLOG_WARN("Download") << "response body too large for memory url: " << url;
        break;
      }
      capacity = grown;
    }
    size_t used = body.size();
    body.resize(needed);
    DWORD read = 0;
    if (!WinHttpReadData(request, body.data() + used, available, &read)) {
      lastError = GetLastError();
      MLOG_WARN("Download") << "WinHttpReadData failed url: " << url << " error code: " << lastError;
      body.resize(used);
      whole = false;
      break;
    }
    body.resize(used + read);
  }
  if (whole && !bufferFailed_ && declaredLength && body.size() < *declaredLength) {
    lastError = ERROR_WINHTTP_CONNECTION_ERROR;
    MLOG_WARN("Download") << "response ended after " << static_cast<unsigned>(body.size()) << " of "
                          << static_cast<unsigned long long>(*declaredLength) << " bytes url: " << url;
    whole = false;
  }
  if (progressCallback)
    progressCallback(contentLength != 0 ? body.size() * 100.0 / contentLength : 100.0);
  rawBody = std::move(body);
  return whole;
}
