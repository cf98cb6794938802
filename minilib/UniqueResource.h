// Move-only owner of one platform resource; Traits name the empty values and the release call.
// Each handle kind (registry key, WinHTTP handle, GDI object, ...) gets its own Traits.
#pragma once

#include <utility>

namespace minilib {

// Traits: using Type = ...; static Type Empty(); static bool IsEmpty(Type); static void Release(Type);
template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() : value_(Traits::Empty()) {}
  explicit UniqueResource(Type value) : value_(value) {}
  ~UniqueResource() { Reset(); }

  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const { return value_; }
  bool IsValid() const { return !Traits::IsEmpty(value_); }
  explicit operator bool() const { return IsValid(); }

  // Gives up ownership without releasing.
  Type Release() { return std::exchange(value_, Traits::Empty()); }

  void Reset(Type value = Traits::Empty()) {
    Type old = std::exchange(value_, value);
    if (!Traits::IsEmpty(old)) Traits::Release(old);
  }

  // For out-parameters of creation calls: releases what is held first.
  Type* Receive() {
    Reset();
    return &value_;
  }

 private:
  Type value_;
};

}  // namespace minilib
