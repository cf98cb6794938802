#include "config/ChannelJson.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace config {
namespace {

using json = nlohmann::json;

// A wrong JSON type or a number the field cannot hold.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void ThrowType(const char* key, const char* wanted, const json& value) {
  throw ConversionError(std::string("[json.exception.type_error.302] type must be ") + wanted +
                        ", but is " + value.type_name() + " (key \"" + key + "\")");
}

[[noreturn]] void ThrowRange(const char* key, const json& value, const char* target) {
  throw ConversionError(std::string("number ") + value.dump() + " of key \"" + key +
                        "\" is out of the range of " + target);
}

// Integral numbers are taken as they are, fractions truncated toward zero; anything
// outside [lo, hi] is refused rather than wrapped.
template <typename T>
T ToInteger(const char* key, const json& value, bool acceptBoolean, const char* target) {
  constexpr auto lo = std::numeric_limits<T>::min();
  constexpr auto hi = std::numeric_limits<T>::max();
  if (value.is_boolean()) {
    if (!acceptBoolean) ThrowType(key, "number", value);
    return value.get<bool>() ? T{1} : T{0};
  }
  if (value.is_number_unsigned()) {
    uint64_t v = value.get<uint64_t>();
    if (v > static_cast<uint64_t>(hi)) ThrowRange(key, value, target);
    return static_cast<T>(v);
  }
  if (value.is_number_integer()) {
    int64_t v = value.get<int64_t>();
    if (v < 0 && (lo == 0 || v < static_cast<int64_t>(lo))) ThrowRange(key, value, target);
    if (v > 0 && static_cast<uint64_t>(v) > static_cast<uint64_t>(hi)) ThrowRange(key, value, target);
    return static_cast<T>(v);
  }
  if (value.is_number_float()) {
    double t = std::trunc(value.get<double>());
    // hi + 1 is exact as a double for every target type; compare against it.
    double limit = static_cast<double>(hi) + 1.0;
    if (!(t >= static_cast<double>(lo) && t < limit)) ThrowRange(key, value, target);
    return static_cast<T>(t);
  }
  ThrowType(key, "number", value);
}

std::string ToText(const char* key, const json& value) {
  if (!value.is_string()) ThrowType(key, "string", value);
  return value.get<std::string>();
}

bool ToBool(const char* key, const json& value) {
  if (!value.is_boolean()) ThrowType(key, "boolean", value);
  return value.get<bool>();
}

// Throws when the nesting gets deeper than kMaxJsonDepth; keeps every value otherwise.
bool LimitDepth(int depth, json::parse_event_t /*event*/, json& /*parsed*/) {
  if (depth > kMaxJsonDepth) {
    throw std::runtime_error("JSON nesting is deeper than " + std::to_string(kMaxJsonDepth) +
                             " levels");
  }
  return true;
}

}  // namespace

json ParseChannelJson(std::string_view text) {
  return json::parse(text.begin(), text.end(), LimitDepth);
}

bool ApplyChannelJson(const json& value, ChannelParams& p, std::string* error) {
  if (!value.is_object()) return true;
  auto member = [&value](const char* key) -> const json* {
    auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
  };
  try {
    if (auto* v = member("buildid")) p.buildid = ToInteger<uint64_t>("buildid", *v, false, "unsigned 64-bit");
    if (auto* v = member("supplyid")) p.supplyid = ToInteger<uint32_t>("supplyid", *v, false, "unsigned 32-bit");
    if (auto* v = member("international")) p.international = ToInteger<int32_t>("international", *v, true, "signed 32-bit");
    if (auto* v = member("pkgName")) p.pkgName = ToText("pkgName", *v);
    if (auto* v = member("area")) p.area = ToText("area", *v);
    if (auto* v = member("silentMode")) p.silentMode = ToInteger<int32_t>("silentMode", *v, true, "signed 32-bit");
    if (auto* v = member("marketExternParams")) p.marketExternParams = ToText("marketExternParams", *v);
    if (auto* v = member("sourceid")) p.sourceid = ToText("sourceid", *v);
    if (auto* v = member("bkgPngNumber")) p.bkgPngNumber = ToInteger<int32_t>("bkgPngNumber", *v, true, "signed 32-bit");
    if (auto* v = member("createMarketIcon")) p.createMarketIcon = ToBool("createMarketIcon", *v);
    if (auto* v = member("installMarket")) p.installMarket = ToBool("installMarket", *v);
    if (auto* v = member("installUI")) p.installUI = ToBool("installUI", *v);
    if (auto* v = member("installRootfs")) p.installRootfs = ToBool("installRootfs", *v);
    if (auto* v = member("installVDI")) p.installVDI = ToBool("installVDI", *v);
    if (auto* v = member("installVDI71")) p.installVDI71 = ToBool("installVDI71", *v);
    if (auto* v = member("installMarrow")) p.installMarrow = ToBool("installMarrow", *v);
    if (auto* v = member("gameName")) p.gameName = ToText("gameName", *v);
    if (auto* v = member("title")) p.title = ToText("title", *v);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
  return true;
}

}  // namespace config
