#include "tools/StampImage.h"

#include <cstring>
#include <limits>

#include "config/ChannelBlock.h"
#include "config/ChannelBlockScan.h"
#include "config/ChannelJson.h"
#include "tools/PeImage.h"

namespace tools {

bool StampImage(std::string& image, std::string_view jsonText, std::string* error) {
  auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  std::string why;
  std::optional<PeCertificateTable> table = FindCertificateTable(image, &why);
  if (!table) return fail(why);

  if (jsonText.find('\0') != std::string_view::npos) return fail("the JSON text contains a zero byte");
  try {
    if (!config::ParseChannelJson(jsonText).is_object()) return fail("the JSON text is not an object");
  } catch (const std::exception& e) {
    return fail(std::string("the JSON text does not parse: ") + e.what());
  }

  std::string block = config::MakeChannelBlock(jsonText);
  if (block.size() > std::numeric_limits<uint32_t>::max() - config::kTrailerSize) {
    return fail("the JSON text is too long for one block");
  }

  uint32_t newSize = 0;
  if (table->IsSigned()) {
    uint64_t tableEnd = static_cast<uint64_t>(table->offset) + table->size;
    if (tableEnd != image.size()) {
      return fail("the certificate table is not the last thing in the file (it ends at " + std::to_string(tableEnd) +
                  ", the file at " + std::to_string(image.size()) + ")");
    }
    uint64_t grown = static_cast<uint64_t>(table->size) + block.size();
    if (grown > std::numeric_limits<uint32_t>::max()) return fail("the certificate table would outgrow 4 GiB");
    newSize = static_cast<uint32_t>(grown);
  }

  image += block;
  if (table->IsSigned()) {
    for (int i = 0; i < 4; ++i) {
      image[static_cast<size_t>(table->entryOffset) + 4 + i] = static_cast<char>(newSize >> (8 * i));
    }
  }
  return true;
}

bool ListBlocks(std::string_view image, std::string* listing) {
  config::ChannelScan scan = config::ScanChannelBlocks(
      image.size(), [image](uint64_t offset, void* buffer, uint32_t size, uint32_t* error) {
        if (offset > image.size() || size > image.size() - offset) {
          *error = 0;
          return false;
        }
        std::memcpy(buffer, image.data() + offset, size);
        return true;
      });

  // The walk meets a damaged block after every intact one: it is the oldest.
  std::string out;
  bool intact = true;
  std::string at = " (trailer at offset " + std::to_string(scan.trailerOffset) + ")";
  switch (scan.stop) {
    case config::ScanStop::kChainEnd:
      break;
    case config::ScanStop::kHeaderReadFailed:
    case config::ScanStop::kDataReadFailed:
      out += "damaged: block cannot be read" + at + "\n";
      intact = false;
      break;
    case config::ScanStop::kLengthTooLong:
      out += "damaged: length " + std::to_string(scan.length) + " exceeds the " + std::to_string(scan.available) +
             " bytes before the trailer" + at + "\n";
      intact = false;
      break;
    case config::ScanStop::kOutOfMemory:
      out += "damaged: length " + std::to_string(scan.length) + " cannot be allocated" + at + "\n";
      intact = false;
      break;
    case config::ScanStop::kMd5Mismatch:
      out += "damaged: length " + std::to_string(scan.length) + ", md5 mismatch: trailer " + scan.headerMd5 +
             ", data " + scan.dataMd5 + at + "\n";
      intact = false;
      break;
    case config::ScanStop::kJsonParseFailed:
      out += "damaged: length " + std::to_string(scan.length) + ", md5 ok, JSON does not parse: " + scan.parseError +
             at + "\n";
      intact = false;
      break;
  }
  size_t number = 1;
  for (auto it = scan.blocks.rbegin(); it != scan.blocks.rend(); ++it, ++number) {
    std::string_view data(it->data.get(), it->length);
    out += "block " + std::to_string(number) + ": offset " + std::to_string(it->offset) + ", length " +
           std::to_string(it->length) + ", md5 ok\n";
    out += std::string(config::JsonTextOf(data)) + "\n";
  }
  if (scan.blocks.empty() && intact) out += "no channel blocks\n";
  if (listing) *listing = std::move(out);
  return intact;
}

}  // namespace tools
