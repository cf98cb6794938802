// What the request client does when a send fails, given the user's Internet Explorer
// proxy settings.
#pragma once

#include <string>
#include <string_view>

// Proxy names and bypass lists longer than this do not fit the client's buffers.
constexpr size_t kMaxProxyText = 259;

struct IeProxySettings {
  std::wstring autoConfigUrl;  // empty when none
  std::wstring proxy;          // "host:port" (or a per-scheme list), empty when none
  std::wstring proxyBypass;
};

enum class ProxyFallbackAction {
  kGiveUp,             // nothing to fall back to: the attempt has failed
  kAskScript,          // ask the configuration script for this URL, then send again now
  kUseNamedProxyNext,  // send through the named proxy from the next attempt on
};

// A script URL wins over a named proxy. A proxy name or bypass list too long for the
// buffers is not used (cutting it could name another host).
ProxyFallbackAction DecideProxyFallback(const IeProxySettings& settings);

// A proxy name (from the caller or a script) fits when it is not empty and not too long.
bool IsUsableProxyText(std::wstring_view proxy);
