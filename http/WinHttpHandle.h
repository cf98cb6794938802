// Owners of WinHTTP handles (session, connection, request) and of the GlobalAlloc'd
// strings the proxy calls hand back.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "minilib/UniqueResource.h"

struct WinHttpHandleTraits {
  using Type = HINTERNET;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type h) { return h == nullptr; }
  static void Release(Type h) { ::WinHttpCloseHandle(h); }
};
using WinHttpHandle = minilib::UniqueResource<WinHttpHandleTraits>;

struct GlobalStringTraits {
  using Type = LPWSTR;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type s) { return s == nullptr; }
  static void Release(Type s) { ::GlobalFree(s); }
};
using GlobalString = minilib::UniqueResource<GlobalStringTraits>;
