// Install error codes of one install run and the locale text id the error page shows.
#pragma once

#include <cstdint>

enum InstallError : int32_t {
  kInstallOk = 0,
  kInstallErrorCommon = 1,          // list path empty; any unexpected failure
  kInstallErrorListDownload = 2,    // primary and fallback list URLs failed
  kInstallErrorListParse = 3,       // list unreadable, not well-formed or unusable
  kInstallErrorUrlPattern = 4,      // package URL does not match the URL pattern
  kInstallErrorHttpOpen = 5,
  kInstallErrorHttpConnect = 6,
  kInstallErrorHttpOpenRequest = 7,
  kInstallErrorHttpSend = 8,
  kInstallErrorHttpReceive = 9,
  kInstallErrorHttpUnused = 10,     // never raised
  kInstallErrorHttpQueryData = 11,
  kInstallErrorHttpRead = 12,
  kInstallErrorNoReadBuffer = 13,
  kInstallErrorPackageExit = 14,    // package exited with neither 0 nor 1000
  kInstallErrorNoInstaller = 15,    // no Zedud.exe after the package ran
  kInstallErrorInstallerExit = 16,  // Zedud.exe exited nonzero
  kInstallErrorRegistry = 17,       // a registry key could not be created
  kInstallErrorFileReadWrite = 18,  // list temp file, package file
  kInstallErrorSetupRemove = 19,    // old Setup folder could not be removed
  kInstallErrorMd5Mismatch = 20,
};

// The text id of a code; "error_common" for a code without an entry.
const char* InstallErrorTextId(int32_t code);
