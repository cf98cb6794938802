#include "tools/PeImage.h"

namespace tools {
namespace {

uint32_t Read16(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}
uint32_t Read32(std::string_view b, size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }

constexpr uint32_t kSecurityDirectory = 4;

}  // namespace

std::optional<PeCertificateTable> FindCertificateTable(std::string_view image, std::string* error) {
  auto fail = [error](const char* why) -> std::optional<PeCertificateTable> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') return fail("not a PE file (no MZ header)");
  uint64_t pe = Read32(image, 0x3C);
  if (pe + 24 > image.size() || image.substr(static_cast<size_t>(pe), 4) != std::string_view("PE\0\0", 4)) {
    return fail("not a PE file (no PE signature)");
  }
  uint32_t optionalSize = Read16(image, static_cast<size_t>(pe) + 20);
  uint64_t optional = pe + 24;
  if (optional + optionalSize > image.size() || optionalSize < 2) return fail("not a PE file (truncated header)");
  uint32_t magic = Read16(image, static_cast<size_t>(optional));
  uint64_t countAt, directories;
  if (magic == 0x10B) {
    countAt = optional + 92;
    directories = optional + 96;
  } else if (magic == 0x20B) {
    countAt = optional + 108;
    directories = optional + 112;
  } else {
    return fail("not a PE file (unknown optional header)");
  }
  uint64_t entry = directories + 8 * kSecurityDirectory;
  if (entry + 8 > optional + optionalSize || Read32(image, static_cast<size_t>(countAt)) <= kSecurityDirectory) {
    return fail("not a PE file (no certificate table entry)");
  }
  PeCertificateTable table;
  table.entryOffset = entry;
  table.offset = Read32(image, static_cast<size_t>(entry));
  table.size = Read32(image, static_cast<size_t>(entry) + 4);
  return table;
}

}  // namespace tools
