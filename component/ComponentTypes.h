// The six component types, in processing order (which is also the install-queue order),
// with the registry key and the key files that tell whether one is installed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kComponentShoplet = 7;
constexpr int32_t kComponentUI = 1;
constexpr int32_t kComponentVDI = 3;
constexpr int32_t kComponentVDI71 = 8;
constexpr int32_t kComponentRootfs = 10;
constexpr int32_t kComponentMarrow = 2;

// The configuration's install switches, one per component type.
struct ComponentSwitches {
  bool installMarket = true;
  bool installUI = false;
  bool installVDI = false;
  bool installVDI71 = false;
  bool installRootfs = false;
  bool installMarrow = false;
};

struct ComponentType {
  int32_t id;
  bool ComponentSwitches::*enabledBy;
  const wchar_t* registryKey;  // under HKEY_LOCAL_MACHINE
};

// All six rows in processing order: 7, 1, 3, 8, 10, 2.
const std::vector<ComponentType>& ComponentTypeTable();

// The enabled ids, in processing order.
std::vector<int32_t> EnabledComponentIds(const ComponentSwitches& switches);

// The registry key of a component type, or nullptr for an unknown id.
const wchar_t* ComponentRegistryKey(int32_t id);

// Key files of a component type, in test order; empty for an unknown id.
const std::vector<std::wstring>& ComponentKeyFiles(int32_t id);
