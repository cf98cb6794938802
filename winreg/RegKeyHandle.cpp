#include "winreg/RegKeyHandle.h"

#include <atomic>

namespace {

constexpr REGSAM kViewMask = KEY_WOW64_32KEY | KEY_WOW64_64KEY;  // 0x300

using RegDeleteKeyExWFunction = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// Looked up once per run; older systems lack the function. Two threads racing on the
// first use store the same value.
RegDeleteKeyExWFunction DeleteKeyEx() {
  static std::atomic<int> state{0};  // 0 not looked up, 1 looked up
  static std::atomic<RegDeleteKeyExWFunction> function{nullptr};
  if (state.load(std::memory_order_acquire) == 0) {
    HMODULE advapi = ::GetModuleHandleW(L"Advapi32.dll");
    if (advapi == nullptr) advapi = ::LoadLibraryW(L"Advapi32.dll");
    RegDeleteKeyExWFunction found = nullptr;
    if (advapi != nullptr) {
      found = reinterpret_cast<RegDeleteKeyExWFunction>(
          reinterpret_cast<void*>(::GetProcAddress(advapi, "RegDeleteKeyExW")));
    }
    function.store(found, std::memory_order_relaxed);
    state.store(1, std::memory_order_release);
  }
  return function.load(std::memory_order_relaxed);
}

}  // namespace

LONG RegKeyHandle::Open(HKEY parent, const wchar_t* subKey, REGSAM access) {
  HKEY opened = nullptr;
  LONG result = ::RegOpenKeyExW(parent, subKey, 0, access, &opened);
  if (result == ERROR_SUCCESS) {
    key_.Reset(opened);
    viewFlags_ = access & kViewMask;
  }
  return result;
}

LONG RegKeyHandle::Create(HKEY parent, const wchar_t* subKey, DWORD* disposition) {
  HKEY created = nullptr;
  DWORD how = 0;
  LONG result = ::RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kRegReadWrite,
                                  nullptr, &created, &how);
  if (result == ERROR_SUCCESS) {
    key_.Reset(created);
    viewFlags_ = 0;
    if (disposition) *disposition = how;
  }
  return result;
}

LONG RegKeyHandle::Close() {
  if (!key_) return ERROR_SUCCESS;
  HKEY key = key_.Release();
  viewFlags_ = 0;
  return winreg::IsPredefinedRoot(key) ? ERROR_SUCCESS : ::RegCloseKey(key);
}

LONG RegKeyHandle::QueryString(const wchar_t* name, wchar_t* buffer, ULONG* chars) const {
  DWORD type = 0;
  DWORD bytes = *chars * sizeof(wchar_t);
  LONG result = ::RegQueryValueExW(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  if (result != ERROR_SUCCESS) return result;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  if (bytes % sizeof(wchar_t) != 0 || bytes == 0) return ERROR_INVALID_DATA;
  ULONG count = bytes / sizeof(wchar_t);
  if (buffer[count - 1] != L'\0') return ERROR_INVALID_DATA;
  *chars = count;
  return ERROR_SUCCESS;
}

LONG RegKeyHandle::SetString(const wchar_t* name, const wchar_t* text) const {
  if (text == nullptr) return ERROR_INVALID_DATA;
  DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG RegKeyHandle::DeleteSubKey(const wchar_t* subKey) const {
  if (RegDeleteKeyExWFunction deleteEx = DeleteKeyEx()) return deleteEx(key_.Get(), subKey, viewFlags_, 0);
  return ::RegDeleteKeyW(key_.Get(), subKey);
}

LONG RegKeyHandle::RecurseDeleteKey(const wchar_t* subKey) const {
  RegKeyHandle child;
  LONG result = child.Open(key_.Get(), subKey, kRegReadWrite | viewFlags_);
  if (result != ERROR_SUCCESS) return result;
  for (;;) {
    wchar_t name[256];
    DWORD nameChars = 256;
    result = ::RegEnumKeyExW(child.Get(), 0, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) return result;
    result = child.RecurseDeleteKey(name);
    if (result != ERROR_SUCCESS) return result;
  }
  child.Close();
  return DeleteSubKey(subKey);
}

void RepairVolatileProductKey() {
  RegKeyHandle product;
  DWORD disposition = 0;
  LONG result = product.Create(HKEY_LOCAL_MACHINE, kProductKeyPath, &disposition);
  if (result == ERROR_SUCCESS && disposition == REG_OPENED_EXISTING_KEY) {
    product.Close();
    RegKeyHandle maker;
    if (maker.Create(HKEY_LOCAL_MACHINE, L"Software\\Corvane") == ERROR_SUCCESS) maker.RecurseDeleteKey(L"Varnet");
  } else if (result == ERROR_CHILD_MUST_BE_VOLATILE) {
    RegKeyHandle maker;
    DWORD makerDisposition = 0;
    if (maker.Create(HKEY_LOCAL_MACHINE, L"Software\\Corvane", &makerDisposition) == ERROR_SUCCESS &&
        makerDisposition == REG_OPENED_EXISTING_KEY) {
      maker.Close();
      RegKeyHandle software;
      if (software.Create(HKEY_LOCAL_MACHINE, L"Software") == ERROR_SUCCESS) software.RecurseDeleteKey(L"Corvane");
    }
  }
}
