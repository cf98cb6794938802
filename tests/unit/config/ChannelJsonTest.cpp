#include <gtest/gtest.h>

#include <string>

#include "config/ChannelJson.h"

namespace {

using config::ChannelParams;

ChannelParams Apply(const std::string& text, bool* ok = nullptr, std::string* error = nullptr) {
  ChannelParams p;
  std::string why;
  bool result = config::ApplyChannelJson(config::ParseChannelJson(text), p, &why);
  if (ok) *ok = result;
  if (error) *error = why;
  return p;
}

TEST(ChannelJson, EveryKeyLandsInItsField) {
  bool ok = false;
  ChannelParams p = Apply(R"({"buildid":18446744073709551615,"supplyid":4294967295,"international":1,
      "pkgName":"com.a","area":"br","silentMode":1,"marketExternParams":"-x 1","sourceid":"s9",
      "bkgPngNumber":-3,"createMarketIcon":true,"installMarket":false,"installUI":true,"installRootfs":true,
      "installVDI":true,"installVDI71":true,"installMarrow":true,"gameName":"G\u00e9","title":"T\u4e2d",
      "unknown":[1,2]})",
                          &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.buildid, 18446744073709551615ull);
  EXPECT_EQ(p.supplyid, 4294967295u);
  EXPECT_EQ(p.international, 1);
  EXPECT_EQ(p.pkgName, "com.a");
  EXPECT_EQ(p.area, "br");
  EXPECT_EQ(p.silentMode, 1);
  EXPECT_EQ(p.marketExternParams, "-x 1");
  EXPECT_EQ(p.sourceid, "s9");
  EXPECT_EQ(p.bkgPngNumber, -3);
  EXPECT_TRUE(p.createMarketIcon);
  EXPECT_FALSE(p.installMarket);
  EXPECT_TRUE(p.installUI && p.installRootfs && p.installVDI && p.installVDI71 && p.installMarrow);
  EXPECT_EQ(p.gameName, "G\xC3\xA9");  // UTF-8 bytes
  EXPECT_EQ(p.title, "T\xE4\xB8\xAD");
}

TEST(ChannelJson, AbsentKeysKeepTheirValues) {
  ChannelParams p;
  p.supplyid = 5;
  p.title = "old";
  std::string error;
  ASSERT_TRUE(config::ApplyChannelJson(config::ParseChannelJson(R"({"buildid":9})"), p, &error));
  EXPECT_EQ(p.buildid, 9u);
  EXPECT_EQ(p.supplyid, 5u);
  EXPECT_EQ(p.title, "old");
  EXPECT_TRUE(p.installMarket);  // the launcher is enabled by default
}

TEST(ChannelJson, NumberConversions) {
  struct Case {
    const char* text;
    bool ok;
    int32_t silentMode;
    uint32_t supplyid;
  };
  const Case cases[] = {
      {R"({"silentMode":true})", true, 1, 0},
      {R"({"silentMode":false})", true, 0, 0},
      {R"({"silentMode":2.9})", true, 2, 0},
      {R"({"silentMode":-2.9})", true, -2, 0},
      {R"({"silentMode":-2147483648})", true, INT32_MIN, 0},
      {R"({"silentMode":2147483647.5})", true, INT32_MAX, 0},
      {R"({"silentMode":2147483648})", false, 0, 0},
      {R"({"silentMode":-2147483649})", false, 0, 0},
      {R"({"silentMode":1e300})", false, 0, 0},
      {R"({"silentMode":"1"})", false, 0, 0},
      {R"({"silentMode":null})", false, 0, 0},
      {R"({"supplyid":200205661.7})", true, 0, 200205661},
      {R"({"supplyid":-0.5})", true, 0, 0},
      {R"({"supplyid":-1})", false, 0, 0},
      {R"({"supplyid":4294967296})", false, 0, 0},
      {R"({"supplyid":true})", false, 0, 0},
  };
  for (const Case& c : cases) {
    bool ok = false;
    std::string error;
    ChannelParams p = Apply(c.text, &ok, &error);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(p.silentMode, c.silentMode) << c.text;
      EXPECT_EQ(p.supplyid, c.supplyid) << c.text;
    } else {
      EXPECT_FALSE(error.empty()) << c.text;
    }
  }
}

TEST(ChannelJson, BuildIdTakesTheWholeUnsigned64Range) {
  EXPECT_EQ(Apply(R"({"buildid":1.8e19})").buildid, 18000000000000000000ull);
  bool ok = true;
  Apply(R"({"buildid":1.9e19})", &ok);
  EXPECT_FALSE(ok);
  Apply(R"({"buildid":-1})", &ok);
  EXPECT_FALSE(ok);
}

TEST(ChannelJson, WrongTypesForTextAndBooleanKeysFail) {
  for (const char* text : {R"({"pkgName":1})", R"({"title":false})", R"({"installUI":1})", R"({"installMarket":"true"})"}) {
    bool ok = true;
    std::string error;
    Apply(text, &ok, &error);
    EXPECT_FALSE(ok) << text;
    EXPECT_NE(error.find("type must be"), std::string::npos) << error;
  }
}

// "supplyid" comes second in the order: "buildid" is applied, "supplyid" and every key
// after it are not.
TEST(ChannelJson, FailureStopsAtThatKeyInApplicationOrder) {
  ChannelParams p;
  std::string error;
  bool ok = config::ApplyChannelJson(
      config::ParseChannelJson(R"({"title":"T","installUI":true,"supplyid":"200","buildid":7,"pkgName":"p"})"), p,
      &error);
  EXPECT_FALSE(ok);
  EXPECT_EQ(p.buildid, 7u);
  EXPECT_EQ(p.supplyid, 0u);
  EXPECT_EQ(p.pkgName, "");
  EXPECT_FALSE(p.installUI);
  EXPECT_EQ(p.title, "");
  EXPECT_NE(error.find("string"), std::string::npos) << error;
}

TEST(ChannelJson, ValuesThatAreNoObjectChangeNothing) {
  for (const char* text : {"[1,2]", "42", "\"x\"", "null", "true"}) {
    bool ok = false;
    ChannelParams p = Apply(text, &ok);
    EXPECT_TRUE(ok) << text;
    EXPECT_EQ(p.supplyid, 0u);
    EXPECT_TRUE(p.installMarket);
  }
}

TEST(ChannelJson, ParserRefusesBrokenText) {
  for (const char* text : {"", "{", "{\"a\":}", "{\"a\":\"\xC3\"}", "{} x"}) {
    EXPECT_ANY_THROW(config::ParseChannelJson(text)) << text;
  }
}

}  // namespace
