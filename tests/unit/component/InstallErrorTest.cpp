#include <gtest/gtest.h>

#include <string>

#include "component/InstallError.h"

namespace {

TEST(InstallErrorTextId, EveryCodeHasItsTextAndUnknownCodesFallBack) {
  const char* expected[] = {
      "success",               "error_common",          "error_http_download",  "error_xml_parse",
      "error_http_download",   "error_http_download",   "error_http_download",  "error_http_download",
      "error_http_download",   "error_http_download",   "error_http_download",  "error_http_download",
      "error_http_download",   "error_http_download",   "error_file_readwrite", "error_invalid_package",
      "error_install_failed",  "error_reg_access",      "error_file_readwrite", "error_file_readwrite",
      "error_http_download"};
  for (int code = 0; code <= 20; ++code) EXPECT_STREQ(InstallErrorTextId(code), expected[code]) << code;
  for (int code : {-1, 21, 1021}) EXPECT_STREQ(InstallErrorTextId(code), "error_common") << code;
}

}  // namespace
