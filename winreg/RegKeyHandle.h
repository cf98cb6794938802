// Registry key wrapper that reports failures as Win32 error codes (0 = success) and
// never throws. One per use, on the caller's stack; closes its key when destroyed.
#pragma once

#include <windows.h>

#include "winreg/RegKeyTraits.h"

inline constexpr REGSAM kRegReadWrite = KEY_READ | KEY_WRITE;  // 0x2001F
inline constexpr const wchar_t* kProductKeyPath = L"Software\\Corvane\\Varnet";

class RegKeyHandle {
 public:
  RegKeyHandle() = default;
  RegKeyHandle(const RegKeyHandle&) = delete;
  RegKeyHandle& operator=(const RegKeyHandle&) = delete;

  // RegOpenKeyExW; on success replaces the key held and remembers its view flags.
  LONG Open(HKEY parent, const wchar_t* subKey, REGSAM access = kRegReadWrite);
  // RegCreateKeyExW, non-volatile, KEY_READ | KEY_WRITE. `disposition` receives
  // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
  LONG Create(HKEY parent, const wchar_t* subKey, DWORD* disposition = nullptr);
  LONG Close();

  // REG_SZ or REG_EXPAND_SZ (unexpanded) into `buffer` of `*chars` characters. On
  // success `*chars` is the length including the terminator; ERROR_INVALID_DATA for
  // another type, an odd byte count or data without a terminating zero.
  LONG QueryString(const wchar_t* name, wchar_t* buffer, ULONG* chars) const;
  // REG_SZ of (length + 1) * 2 bytes; ERROR_INVALID_DATA when `text` is null.
  LONG SetString(const wchar_t* name, const wchar_t* text) const;

  // Deletes one subkey of the held key, in the held key's registry view.
  LONG DeleteSubKey(const wchar_t* subKey) const;
  // Deletes a subkey with everything below it; stops at the first failing level.
  LONG RecurseDeleteKey(const wchar_t* subKey) const;

  HKEY Get() const { return key_.Get(); }
  explicit operator bool() const { return key_.IsValid(); }

 private:
  winreg::UniqueRegKey key_;
  REGSAM viewFlags_ = 0;  // KEY_WOW64_32KEY / KEY_WOW64_64KEY bits of the open
};

// Makes the product key under HKEY_LOCAL_MACHINE non-volatile again: removes the volatile
// level (the product key, or the maker key above it) with everything below it, so that
// the next create makes an ordinary key. Results are not logged.
void RepairVolatileProductKey();
