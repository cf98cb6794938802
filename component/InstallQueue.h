// The install queue and the checks a queued record must pass before anything is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "component/ComponentItem.h"

// One copy per enabled id, in the given order: the channel entry when the channel section
// names the id, else the default entry. An id that neither holds gets a blank record,
// inserted into the defaults under that id.
std::vector<ComponentItem> BuildInstallQueue(const std::vector<int32_t>& enabledIds,
                                             const ComponentItemMap& channel, ComponentItemMap& defaults);

// What makes a queued record unusable, or the empty text when it can be used: a record
// without url, name, registry key or a 32-digit hexadecimal hash (an enabled component the
// list lacks), a name that is not a plain file name, or a localaddpath that could leave the
// download or install folder (absolute, a drive or stream colon, a ".." segment).
std::string FindQueuedItemFault(const ComponentItem& item);

bool IsHexMd5(const std::wstring& text);

// Hexadecimal digests compared without regard to case.
bool HashesEqual(const std::wstring& a, const std::wstring& b);

// Folders of one record: download folder (always ends in a backslash) and install folder
// (plain concatenation, no separator added).
std::wstring DownloadFolderFor(const std::wstring& tempPath, const ComponentItem& item);
std::wstring InstallFolderFor(const std::wstring& installPath, const ComponentItem& item);
inline std::wstring SetupFolderFor(const std::wstring& localDir) { return localDir + L"Setup\\"; }
inline std::wstring InstallerFor(const std::wstring& localDir) { return SetupFolderFor(localDir) + L"Zedud.exe"; }

// "-nodesktopIcon" for the launcher when neither a package name nor the market icon is asked for.
std::wstring InstallerArguments(int32_t componentId, bool pkgNameEmpty, bool createMarketIcon);

// A package's exit code 1000 also means success.
inline uint32_t NormalizePackageExitCode(uint32_t code) { return code == 1000 ? 0 : code; }
