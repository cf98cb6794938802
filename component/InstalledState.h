// The installed-state decision of one component from what the registry and the file system
// said, kept apart from the registry calls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "component/ComponentItem.h"

struct InstalledReadings {
  bool keyOpened = false;
  std::optional<std::wstring> installPath;  // "InstallPath" when readable as text
  std::optional<std::wstring> version;      // "Version" when readable as text
};

// installPath with one backslash appended unless it is empty or already ends in one.
std::wstring KeyFileFolder(const std::wstring& installPath);

// Fills info when the key opened, both values are text and every key file exists (tested in
// order, stopping at the first missing); leaves info untouched otherwise.
void DecideInstalled(int32_t id, const InstalledReadings& readings,
                     const std::function<bool(const std::wstring&)>& exists, InstalledInfo& info);

// true when every entry is installed; true for no entries.
bool AreAllComponentsInstalled(const InstalledComponentMap& components);
