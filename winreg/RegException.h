// The failure of a throwing registry call: a fixed message and the Win32 error code.
#pragma once

#include <stdexcept>
#include <string>

namespace winreg {

class RegException : public std::runtime_error {
 public:
  RegException(const char* message, long errorCode) : std::runtime_error(message), errorCode_(errorCode) {}
  long ErrorCode() const { return errorCode_; }

 private:
  long errorCode_;
};

}  // namespace winreg
