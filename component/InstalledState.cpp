#include "component/InstalledState.h"

#include "component/ComponentTypes.h"

std::wstring KeyFileFolder(const std::wstring& installPath) {
  if (installPath.empty() || installPath.back() == L'\\') return installPath;
  return installPath + L'\\';
}

void DecideInstalled(int32_t id, const InstalledReadings& readings,
                     const std::function<bool(const std::wstring&)>& exists, InstalledInfo& info) {
  if (!readings.keyOpened || !readings.installPath) return;
  const std::wstring folder = KeyFileFolder(*readings.installPath);
  for (const std::wstring& file : ComponentKeyFiles(id)) {
    if (!exists(folder + file)) return;
  }
  if (!readings.version) return;
  info.version = *readings.version;
  info.path = *readings.installPath;
  info.installed = true;
}

bool AreAllComponentsInstalled(const InstalledComponentMap& components) {
  for (const auto& [id, info] : components) {
    if (!info.installed) return false;
  }
  return true;
}
