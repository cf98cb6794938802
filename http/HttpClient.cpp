#include "http/HttpClient.h"

#include "http/HttpRequest.h"
#include "http/ResponseFields.h"
#include "minilib/StringConvert.h"

namespace {

HttpResult Finish(HttpRequest& request, const std::wstring& method) {
  HttpResult result;
  if (!request.Send(method)) return result;
  result.status = ParseStatusCode(request.statusText);
  result.body = minilib::WideToUtf8(request.responseText);
  result.ok = true;
  return result;
}

}  // namespace

HttpResult HttpGet(const std::string& url, const std::wstring& charset) {
  HttpRequest request(minilib::Utf8ToWide(url));
  request.charset = charset;
  return Finish(request, L"GET");
}

HttpResult HttpPost(const std::string& url, const std::string& body, const std::string& contentType) {
  HttpRequest request(minilib::Utf8ToWide(url));
  request.requestBody = body;
  request.extraHeaders = L"Content-Length: " + std::to_wstring(body.size()) + L"\r\nContent-Type: " +
                         minilib::Utf8ToWide(contentType) + L"\r\n";
  return Finish(request, L"POST");
}
