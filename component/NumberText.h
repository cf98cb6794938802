// Decimal conversions of the component list's attributes.
#pragma once

#include <cstdint>
#include <string_view>

// Unsigned 64-bit decimal: leading white space and one sign are accepted, conversion stops at
// the first non-digit. Throws std::invalid_argument("invalid stoull argument") when no digit is
// read and std::out_of_range("stoull argument out of range") on overflow. A minus sign negates
// modulo 2^64, as the C library does.
uint64_t ParseUnsigned64(std::wstring_view text);

// Version packing: 3.1.20.7 -> (3 << 48) + (1 << 32) + (20 << 16) + 7; 0 unless at least three
// dots were seen. Characters other than digits and dots are skipped.
uint64_t ParseVersion(std::wstring_view text);
