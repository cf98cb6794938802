#include "http/RequestTarget.h"

#include <cstdint>

namespace {

bool MustEscapeAscii(wchar_t c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case L' ': case L'"': case L'<': case L'>': case L'\\':
    case L'^': case L'`': case L'{': case L'|': case L'}':
      return true;
    default:
      return false;
  }
}

void AppendEscapedByte(std::wstring& out, uint8_t byte) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  out += L'%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

void AppendEscapedCodePoint(std::wstring& out, uint32_t cp) {
  if (cp < 0x80) {
    AppendEscapedByte(out, static_cast<uint8_t>(cp));
  } else if (cp < 0x800) {
    AppendEscapedByte(out, static_cast<uint8_t>(0xC0 | (cp >> 6)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    AppendEscapedByte(out, static_cast<uint8_t>(0xE0 | (cp >> 12)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  } else {
    AppendEscapedByte(out, static_cast<uint8_t>(0xF0 | (cp >> 18)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
    AppendEscapedByte(out, static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::wstring EscapeRequestTarget(std::wstring_view target) {
  std::wstring out;
  out.reserve(target.size());
  for (size_t i = 0; i < target.size(); ++i) {
    uint32_t cp = static_cast<uint32_t>(target[i]);
    if (cp < 0x80) {
      if (MustEscapeAscii(target[i])) AppendEscapedByte(out, static_cast<uint8_t>(cp));
      else out += target[i];
      continue;
    }
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < target.size()) {
        uint32_t low = static_cast<uint32_t>(target[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    AppendEscapedCodePoint(out, cp);
  }
  return out;
}
