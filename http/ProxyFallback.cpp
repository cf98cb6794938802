#include "http/ProxyFallback.h"

ProxyFallbackAction DecideProxyFallback(const IeProxySettings& settings) {
  if (!settings.autoConfigUrl.empty()) return ProxyFallbackAction::kAskScript;
  if (IsUsableProxyText(settings.proxy) && settings.proxyBypass.size() <= kMaxProxyText)
    return ProxyFallbackAction::kUseNamedProxyNext;
  return ProxyFallbackAction::kGiveUp;
}

bool IsUsableProxyText(std::wstring_view proxy) {
  return !proxy.empty() && proxy.size() <= kMaxProxyText;
}
