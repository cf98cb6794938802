// One HTTP exchange held in memory: settings in, response out. Sent once; up to three
// attempts inside, with a fall-back to the user's Internet Explorer proxy settings when a
// send fails. Certificates are verified unless verifyCertificate is cleared.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "http/WinHttpHandle.h"

class HttpRequest {
 public:
  explicit HttpRequest(std::wstring url);

  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // method "GET" or "POST" in any case. True when a complete response was read.
  bool Send(const std::wstring& method);

  WinHttpHandle session;           // opened on the first send, closed with the object
  bool verifyCertificate = true;   // false: certificate errors are ignored on HTTPS
  std::wstring url;
  std::wstring host;               // out: host name from the URL
  std::wstring responseHeaders;    // out: all headers, CR LF separated
  std::wstring responseText;       // out: body decoded to UTF-16
  std::wstring charset;            // preset by the caller; a charset in the headers wins
  std::string rawBody;             // out: body as received
  std::function<void(double)> progressCallback;  // percent of the Content-Length
  int32_t contentLength = 0;       // out
  std::wstring cookies;            // out: Set-Cookie values, "a=1; b=2;"
  std::wstring requestCookie;      // sent as "Cookie: "
  std::string requestBody;
  std::wstring extraHeaders;       // each ending in CR LF
  std::wstring proxy;              // named proxy "host:port" (at most 259 characters)
  uint32_t lastError = 0;          // platform error, or 3 (no URL), 87 (method), 13 (cut page)
  std::wstring statusText;         // out: status code as text
  std::wstring userAgent = L"MirelDownloader";
  bool skipCharsetDetection = false;
  std::wstring proxyUser;
  std::wstring proxyPassword;
  std::wstring location;           // out: a Location made of digits
  int32_t resolveTimeout = 0;      // milliseconds; 0 = no limit
  int32_t connectTimeout = 60000;
  int32_t sendTimeout = 30000;
  int32_t receiveTimeout = 30000;
  int attemptsMade = 0;            // out: attempts used by the last send

 private:
  enum class Attempt { kComplete, kFailed, kStop };
  struct Exchange {
    WinHttpHandle connection;
    WinHttpHandle request;
  };

  HINTERNET SessionForRoute();
  bool OpenExchange(Exchange& exchange);
  void AddHeaders(HINTERNET request);
  bool SendRequest(HINTERNET request);
  bool FallBackToIeProxy(Exchange& exchange);
  Attempt ReadResponse(HINTERNET request);
  bool ReadBody(HINTERNET request, std::optional<uint64_t> declaredLength, bool& stopAll);

  std::wstring method_;
  std::wstring target_;            // escaped path and query
  uint16_t port_ = 0;
  bool secure_ = false;
  bool bufferFailed_ = false;
  // The proxy chosen from the IE settings or a script; empty means the session's route.
  std::wstring routeProxy_;
  std::wstring routeBypass_;
  std::wstring openRouteProxy_;
  WinHttpHandle routeSession_;
};
