// Byte counts as the program keeps them (fixed point, four decimal places)
// and the short size text shown in each source row and in the total.
#pragma once

#include <cstdint>
#include <string>

namespace sources {

// Counts of 1/10000 byte. Sums of file sizes stay exact in this form up to
// about 922 million million bytes, far beyond what a double holds exactly.
using TenThousandthBytes = std::int64_t;
constexpr TenThousandthBytes kTenThousandthsPerByte = 10000;

// Rounds to the nearest 1/10000 byte, a tie going to the even neighbour.
TenThousandthBytes TenThousandthBytesFromDouble(double bytes);
TenThousandthBytes TenThousandthBytesFromBytes(std::uint64_t bytes);
double TenThousandthBytesToDouble(TenThousandthBytes count);

// A whole number followed by " KB", " MB" or " GB", for example "2 KB".
std::wstring SizeText(TenThousandthBytes size);

}  // namespace sources
