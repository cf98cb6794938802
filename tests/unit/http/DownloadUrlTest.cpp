#include "http/DownloadUrl.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase {
  const wchar_t* url;
  const wchar_t* host;  // nullptr: the URL is refused
  uint16_t port;
  const wchar_t* path;
  bool secure;
};

TEST(SplitDownloadUrl, SplitsSchemeHostPortAndPath) {
  const UrlCase cases[] = {
      {L"https://cdn.example/pkg/a.exe?x=1&y=2", L"cdn.example", 443, L"/pkg/a.exe?x=1&y=2", true},
      {L"http://cdn.example/", L"cdn.example", 80, L"/", false},
      {L"ftp://cdn.example/a.bin", L"cdn.example", 80, L"/a.bin", false},  // fetched over HTTP
      {L"http://localhost:28601/f.bin", L"localhost", 28601, L"/f.bin", false},
      {L"https://localhost:8443/f.bin", L"localhost", 8443, L"/f.bin", true},
      {L"http://localhost:/f.bin", L"localhost", 80, L"/f.bin", false},
      {L"https://[::1]:8443/x", L"::1", 8443, L"/x", true},
      {L"https://[::1]/x", L"::1", 443, L"/x", true},
      {L"http://h/a/b:c/d", L"h", 80, L"/a/b:c/d", false},  // the host ends at the first "/"
      {L"http://h:65535/x", L"h", 65535, L"/x", false},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url);
    auto parts = SplitDownloadUrl(c.url);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->host, c.host);
    EXPECT_EQ(parts->port, c.port);
    EXPECT_EQ(parts->path, c.path);
    EXPECT_EQ(parts->secure, c.secure);
  }
}

TEST(SplitDownloadUrl, RefusesWhatCannotBeFetched) {
  const wchar_t* refused[] = {
      L"HTTPS://cdn.example/a.exe",  // schemes are matched in lower case only
      L"Http://cdn.example/a.exe",
      L"https://cdn.example",        // nothing after the host
      L"https:///a.exe",             // no host
      L"file://cdn.example/a.exe",
      L"cdn.example/a.exe",
      L"http://h:0/x",
      L"http://h:65536/x",
      L"http://h:80a/x",
      L"http://[::1/x",
      L"",
  };
  for (const wchar_t* url : refused) {
    SCOPED_TRACE(testing::Message() << url);
    EXPECT_FALSE(SplitDownloadUrl(url).has_value());
  }
}

}  // namespace
