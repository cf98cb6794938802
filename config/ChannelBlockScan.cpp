#include "config/ChannelBlockScan.h"

#include <cstring>
#include <new>
#include <string_view>

#include "config/ChannelBlock.h"
#include "config/ChannelJson.h"
#include "utils/Md5.h"

namespace config {

ChannelScan ScanChannelBlocks(uint64_t fileSize, const ReadAtFunction& read) {
  ChannelScan scan;
  uint64_t end = fileSize;
  for (;;) {
    // Fewer than 40 bytes left: there is no trailer to look at, the chain ends.
    if (end < kTrailerSize) {
      scan.stop = ScanStop::kChainEnd;
      return scan;
    }
    uint64_t trailerOffset = end - kTrailerSize;
    scan.trailerOffset = trailerOffset;
    uint8_t raw[kTrailerSize] = {};
    uint32_t error = 0;
    if (!read(trailerOffset, raw, kTrailerSize, &error)) {
      scan.stop = ScanStop::kHeaderReadFailed;
      scan.errorCode = error;
      return scan;
    }
    ChannelTrailer trailer = ParseTrailer(raw);
    scan.length = trailer.length;
    if (!HasBlock(trailer)) {
      scan.stop = ScanStop::kChainEnd;
      return scan;
    }
    if (trailer.length > trailerOffset) {
      scan.stop = ScanStop::kLengthTooLong;
      scan.available = trailerOffset;
      return scan;
    }
    uint64_t start = trailerOffset - trailer.length;
    std::unique_ptr<char[]> data(new (std::nothrow) char[trailer.length]);
    if (!data) {
      scan.stop = ScanStop::kOutOfMemory;
      return scan;
    }
    std::memset(data.get(), 0, trailer.length);
    if (!read(start, data.get(), trailer.length, &error)) {
      scan.stop = ScanStop::kDataReadFailed;
      scan.errorCode = error;
      return scan;
    }
    std::string_view bytes(data.get(), trailer.length);
    std::string computed = utils::Md5Hex(bytes);
    if (!Md5TextMatches(trailer.md5, computed)) {
      scan.stop = ScanStop::kMd5Mismatch;
      scan.headerMd5 = trailer.md5;
      scan.dataMd5 = computed;
      scan.failedData = std::move(data);
      return scan;
    }
    ScannedBlock block;
    try {
      block.value = ParseChannelJson(JsonTextOf(bytes));
    } catch (const std::bad_alloc&) {
      scan.stop = ScanStop::kOutOfMemory;
      return scan;
    } catch (const std::exception& e) {
      scan.stop = ScanStop::kJsonParseFailed;
      scan.parseError = e.what();
      scan.failedData = std::move(data);
      return scan;
    }
    block.offset = start;
    block.length = trailer.length;
    block.data = std::move(data);
    scan.blocks.push_back(std::move(block));
    end = start;
  }
}

}  // namespace config
