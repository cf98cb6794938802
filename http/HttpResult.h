// What HttpGet and HttpPost return. An HTTP error status is not a failure of the client:
// ok is true and the caller judges status.
#pragma once

#include <cstdint>
#include <string>

struct HttpResult {
  bool ok = false;
  int32_t status = 0;  // 0 when ok is false
  std::string body;    // the decoded body as UTF-8; empty when ok is false
};
