// Just enough of the PE format for stamping: where the certificate table (the security
// data directory) is, and where its entry sits in the header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tools {

struct PeCertificateTable {
  uint64_t entryOffset = 0;  // file offset of the directory entry (offset, then size)
  uint32_t offset = 0;       // file offset of the table; 0 when unsigned
  uint32_t size = 0;
  bool IsSigned() const { return offset != 0 && size != 0; }
};

// Locates the certificate table of a PE32 or PE32+ image; nullopt with the reason in
// `error` when `image` is not a PE file.
std::optional<PeCertificateTable> FindCertificateTable(std::string_view image, std::string* error);

}  // namespace tools
