// Owner of one kernel handle (or any HANDLE with a BOOL-returning release function).
// Both the null handle and INVALID_HANDLE_VALUE count as empty; releasing leaves the
// invalid value behind.
#pragma once

#include <windows.h>

#include <utility>

namespace minilib {

class UniqueHandle {
 public:
  using ReleaseFunction = BOOL(WINAPI*)(HANDLE);

  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE, ReleaseFunction release = ::CloseHandle)
      : handle_(handle), release_(release) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), release_(other.release_) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
      release_ = other.release_;
    }
    return *this;
  }

  static bool IsEmptyValue(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }

  HANDLE Get() const { return handle_; }
  bool IsValid() const { return !IsEmptyValue(handle_); }
  explicit operator bool() const { return IsValid(); }

  // Releases the held handle (once) and takes `handle`.
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    HANDLE old = std::exchange(handle_, handle);
    if (!IsEmptyValue(old) && release_ != nullptr) release_(old);
  }

  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
  ReleaseFunction release_;
};

}  // namespace minilib
