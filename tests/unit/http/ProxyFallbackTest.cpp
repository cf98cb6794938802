#include "http/ProxyFallback.h"

#include <gtest/gtest.h>

namespace {

TEST(DecideProxyFallback, ScriptFirstThenNamedProxy) {
  const std::wstring tooLong(kMaxProxyText + 1, L'p');
  const struct {
    IeProxySettings settings;
    ProxyFallbackAction action;
  } cases[] = {
      {{L"", L"", L""}, ProxyFallbackAction::kGiveUp},
      {{L"http://wpad/proxy.pac", L"", L""}, ProxyFallbackAction::kAskScript},
      {{L"http://wpad/proxy.pac", L"proxy:8080", L""}, ProxyFallbackAction::kAskScript},
      {{L"", L"proxy:8080", L""}, ProxyFallbackAction::kUseNamedProxyNext},
      {{L"", L"proxy:8080", L"<local>;*.corp"}, ProxyFallbackAction::kUseNamedProxyNext},
      {{L"", std::wstring(kMaxProxyText, L'p'), L""}, ProxyFallbackAction::kUseNamedProxyNext},
      {{L"", tooLong, L""}, ProxyFallbackAction::kGiveUp},
      {{L"", L"proxy:8080", tooLong}, ProxyFallbackAction::kGiveUp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.settings.autoConfigUrl << " | " << c.settings.proxy.size());
    EXPECT_EQ(DecideProxyFallback(c.settings), c.action);
  }
}

}  // namespace
