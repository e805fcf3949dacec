// Byte counts as the program keeps them (fixed point, four decimal places)
// and the short size text shown in each source row and in the total.
#pragma once

#include <cstdint>
#include <string>

namespace sources {

// Counts of 1/10000 byte. Sums of file sizes stay exact in this form up to
// about 922 million million bytes, far beyond what a double holds exactly.
using ByteCount = std::int64_t;
constexpr ByteCount kUnitsPerByte = 10000;

// Rounds to the nearest 1/10000 byte, a tie going to the even neighbour.
ByteCount ByteCountFromDouble(double bytes);
ByteCount ByteCountFromBytes(std::uint64_t bytes);
double ByteCountToDouble(ByteCount count);

// A whole number followed by " KB", " MB" or " GB", for example "2 KB".
std::wstring SizeText(ByteCount size);

}  // namespace sources
