// The JSON side of the channel parameters: parsing a block's text and applying its keys
// to a plain record, with the conversions and the order the program relies on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace config {

// Channel values as the blocks give them; texts are the UTF-8 bytes of the JSON strings.
struct ChannelParams {
  uint64_t buildid = 0;
  uint32_t supplyid = 0;
  int32_t international = 0;
  std::string pkgName;
  std::string area;
  int32_t silentMode = 0;
  std::string marketExternParams;
  std::string sourceid;
  int32_t bkgPngNumber = 0;
  bool createMarketIcon = false;
  bool installMarket = true;
  bool installUI = false;
  bool installRootfs = false;
  bool installVDI = false;
  bool installVDI71 = false;
  bool installMarrow = false;
  std::string gameName;
  std::string title;
};

// Deeper nesting than this is refused by the parser (a hostile block could otherwise
// make the program build millions of nested values).
inline constexpr int kMaxJsonDepth = 512;

// Parses a block's JSON text; throws (nlohmann::json::exception or std::runtime_error)
// with a readable text when it does not parse.
nlohmann::json ParseChannelJson(std::string_view text);

// Applies one parsed block to `params` in the fixed key order. A value that is not an
// object changes nothing. On a conversion failure returns false with the reason in
// `error`; keys applied before it keep their new values.
bool ApplyChannelJson(const nlohmann::json& value, ChannelParams& params, std::string* error);

}  // namespace config
