// Stamping a channel-parameter block onto a program image in memory, and listing the
// blocks an image carries.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Appends one block with `jsonText` to `image`. In a signed image the block goes inside
// the certificate table, whose size in the header grows by the appended bytes, so the
// signature stays valid. Returns false with a one-line reason, `image` untouched, when
// the image is not a PE file, the text is no JSON object, or the certificate table is
// not the last thing in the file.
bool StampImage(std::string& image, std::string_view jsonText, std::string* error);

// A listing of the image's blocks, oldest first. Returns false when the chain ends in a
// damaged trailer or block (length, MD5 or JSON).
bool ListBlocks(std::string_view image, std::string* listing);

}  // namespace tools
