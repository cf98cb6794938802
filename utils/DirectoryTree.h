// Folder helpers of the install pipeline: making a folder with its parents, removing one
// with everything below it.
#pragma once

#include <string>
#include <vector>

namespace utils {

bool IsExistingDirectory(const std::wstring& path);

// Creates the folder and any missing parents. Throws std::system_error (after logging the
// folder and the error code) when a level cannot be created: the install run treats that
// as an unexpected failure.
void CreateDirectoryTree(const std::wstring& path);

// Removes every file below the folder (at once, or scheduled for the next reboot), then the
// folders themselves. true when every file went; the paths of files that stayed are added
// to failedFiles. false, touching nothing, when the folder cannot be enumerated. Linked
// folders (junctions, symbolic links) are unlinked, never entered.
bool RemoveDirectoryTree(const std::wstring& folder, std::vector<std::wstring>& failedFiles,
                         bool delayUntilReboot);

}  // namespace utils
