#include "component/ComponentTypes.h"

#include <map>

const std::vector<ComponentType>& ComponentTypeTable() {
  static const std::vector<ComponentType> table = {
      {kComponentShoplet, &ComponentSwitches::installMarket, L"Software\\Corvane\\Varnet\\Shoplet"},
      {kComponentUI, &ComponentSwitches::installUI, L"Software\\Corvane\\Varnet\\UI"},
      {kComponentVDI, &ComponentSwitches::installVDI, L"Software\\Corvane\\Varnet\\VDI_0"},
      {kComponentVDI71, &ComponentSwitches::installVDI71, L"Software\\Corvane\\Varnet\\VDI_100"},
      {kComponentRootfs, &ComponentSwitches::installRootfs, L"Software\\Corvane\\Varnet\\Quen_Rootfs"},
      {kComponentMarrow, &ComponentSwitches::installMarrow, L"Software\\AndroidMarrow"},
  };
  return table;
}

std::vector<int32_t> EnabledComponentIds(const ComponentSwitches& switches) {
  std::vector<int32_t> ids;
  for (const ComponentType& type : ComponentTypeTable()) {
    if (switches.*(type.enabledBy)) ids.push_back(type.id);
  }
  return ids;
}

const wchar_t* ComponentRegistryKey(int32_t id) {
  for (const ComponentType& type : ComponentTypeTable()) {
    if (type.id == id) return type.registryKey;
  }
  return nullptr;
}

const std::vector<std::wstring>& ComponentKeyFiles(int32_t id) {
  static const std::vector<std::wstring> kDisks = {L"android_data_disk.vdi", L"android_sdcard_disk.vdi",
                                                   L"android_system_disk.vdi"};
  static const std::map<int32_t, std::vector<std::wstring>> table = {
      {kComponentShoplet, {L"Shoplet.exe", L"Ovx.dll"}},
      {kComponentUI, {L"adb.exe", L"Tessaly.exe"}},
      {kComponentVDI, kDisks},
      {kComponentVDI71, kDisks},
      {kComponentRootfs, {L"inode"}},
      {kComponentMarrow, {L"HypervMarrow.exe", L"MarrowSVC.exe"}},
  };
  static const std::vector<std::wstring> kNone;
  auto it = table.find(id);
  return it == table.end() ? kNone : it->second;
}
