// Byte counts and the size text of a source row.
#include "sources/size_text.h"

#include <cassert>
#include <cmath>
#include <limits>

namespace sources {

namespace {

constexpr double kBytesPerKb = 1024.0;
constexpr double kKbPerMb = 1024.0;
constexpr double kKbPerGb = 1024.0 * 1024.0;

}  // namespace

TenThousandthBytes TenThousandthBytesFromDouble(double bytes) {
  // Whole and fractional parts are scaled apart: multiplying the whole value
  // by 10000 in double precision would lose the last bytes of large counts.
  constexpr TenThousandthBytes kMax = std::numeric_limits<TenThousandthBytes>::max();
  constexpr TenThousandthBytes kMin = std::numeric_limits<TenThousandthBytes>::min();
  const double whole = std::trunc(bytes);
  const bool inRange = std::fabs(whole) <= static_cast<double>(kMax / kTenThousandthsPerByte);
  assert(inRange);
  if (!inRange) {
    return bytes < 0 ? kMin : kMax;
  }
  const TenThousandthBytes wholeUnits =
      static_cast<TenThousandthBytes>(whole) * kTenThousandthsPerByte;
  const auto fractionUnits =
      static_cast<TenThousandthBytes>(std::nearbyint((bytes - whole) * kTenThousandthsPerByte));
  const bool fits = fractionUnits >= 0 ? wholeUnits <= kMax - fractionUnits
                                       : wholeUnits >= kMin - fractionUnits;
  assert(fits);
  if (!fits) {
    return bytes < 0 ? kMin : kMax;
  }
  return wholeUnits + fractionUnits;
}

TenThousandthBytes TenThousandthBytesFromBytes(std::uint64_t bytes) {
  assert(bytes <= static_cast<std::uint64_t>(
                      std::numeric_limits<TenThousandthBytes>::max() / kTenThousandthsPerByte));
  return static_cast<TenThousandthBytes>(bytes) * kTenThousandthsPerByte;
}

double TenThousandthBytesToDouble(TenThousandthBytes count) {
  // Split so that the whole bytes convert exactly.
  return static_cast<double>(count / kTenThousandthsPerByte) +
         static_cast<double>(count % kTenThousandthsPerByte) / kTenThousandthsPerByte;
}

std::wstring SizeText(TenThousandthBytes size) {
  // The kilobyte count is itself held as a byte count, so it is rounded to
  // four decimal places before the unit is chosen and rounded again to a
  // whole number; both roundings send a tie to the even neighbour.
  const TenThousandthBytes kb =
      TenThousandthBytesFromDouble(TenThousandthBytesToDouble(size) / kBytesPerKb);
  const double kbValue = TenThousandthBytesToDouble(kb);

  double number;
  const wchar_t* unit;
  if (kb <= 1024 * kTenThousandthsPerByte) {
    number = kbValue;
    unit = L" KB";
  } else if (kb <= 1048576 * kTenThousandthsPerByte) {
    number = kbValue / kKbPerMb;
    unit = L" MB";
  } else {
    number = kbValue / kKbPerGb;
    unit = L" GB";
  }
  // Converting to an integer also turns a rounded -0 into plain 0.
  const auto whole = static_cast<std::int64_t>(std::nearbyint(number));
  return std::to_wstring(whole) + unit;
}

}  // namespace sources
