// MD5 of a file's content, read in fixed blocks so memory use does not grow with the file.
#pragma once

#include <string>

namespace utils {

// 32 lower-case hexadecimal digits, or the empty text on any failure (logged).
std::wstring GetFileHexMd5(const std::wstring& path);

}  // namespace utils
