// Walks the chain of channel-parameter blocks backwards from the end of a file, checking
// each trailer, its MD5 and its JSON text. Reads only trailers and block data, by offset,
// through the caller's read function, so the same walk serves the program and the tools.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace config {

// Reads exactly `size` bytes at `offset`; on failure returns false and sets `*error`
// (a platform error code, 0 when there is none).
using ReadAtFunction = std::function<bool(uint64_t offset, void* buffer, uint32_t size, uint32_t* error)>;

struct ScannedBlock {
  uint64_t offset = 0;  // where the block data starts in the file
  uint32_t length = 0;
  std::unique_ptr<char[]> data;  // `length` bytes
  nlohmann::json value;
};

enum class ScanStop {
  kChainEnd,          // wrong magic or zero length: the normal end
  kHeaderReadFailed,  // the 40 trailer bytes could not be read
  kLengthTooLong,     // the length exceeds the bytes before the trailer
  kOutOfMemory,       // the block could not be allocated
  kDataReadFailed,    // the block data could not be read
  kMd5Mismatch,
  kJsonParseFailed,
};

struct ChannelScan {
  std::vector<ScannedBlock> blocks;  // in the order found: the last block of the file first
  ScanStop stop = ScanStop::kChainEnd;
  uint32_t errorCode = 0;       // kHeaderReadFailed, kDataReadFailed
  uint64_t trailerOffset = 0;   // the trailer that stopped the walk
  uint32_t length = 0;          // its length field
  uint64_t available = 0;       // bytes before that trailer (kLengthTooLong)
  std::string headerMd5;        // kMd5Mismatch: the trailer's text
  std::string dataMd5;          // kMd5Mismatch: computed, lower case
  std::string parseError;       // kJsonParseFailed
  std::unique_ptr<char[]> failedData;  // kMd5Mismatch, kJsonParseFailed: the rejected block
};

ChannelScan ScanChannelBlocks(uint64_t fileSize, const ReadAtFunction& read);

}  // namespace config
