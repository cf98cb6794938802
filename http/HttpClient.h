// The two exchanges the program makes with its servers: the component-list GET and the
// report POST, each one HttpRequest sent once (with its own attempts).
#pragma once

#include <string>

#include "http/HttpResult.h"

// url as UTF-8; charset presets the body's decoding (a charset in the answer wins).
HttpResult HttpGet(const std::string& url, const std::wstring& charset);

// url and contentType as UTF-8; body as bytes. Sends "Content-Length: " and
// "Content-Type: " headers (an empty content type gives an empty value).
HttpResult HttpPost(const std::string& url, const std::string& body, const std::string& contentType);
