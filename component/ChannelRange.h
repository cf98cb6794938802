// The ChannelRange attribute of a channel section: ranges low-high and single supply ids
// in free text.
#pragma once

#include <cstdint>
#include <string>

// How many entries of the text cover the supply id: each range (digits-hyphen-digits,
// inclusive) and each single number left after the ranges were cut out counts once.
// Numbers too large for 64 bits throw std::out_of_range.
int CountChannelRangeMatches(const std::wstring& range, uint32_t supplyId);
