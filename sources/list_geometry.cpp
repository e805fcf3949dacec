// The scrolling list's geometry.
#include "sources/list_geometry.h"

#include <algorithm>

namespace sources {
namespace {

// One scroll step moves the rows this far; value 0 would put them here.
constexpr int kScrollStep = 120;
constexpr int kTopAtValueZero = 100;
constexpr int kRowHeight = 255;

int RowTop(int row) { return kRowPitch * (row - 1); }

}  // namespace

int ListGeometry::LastValue() const {
  if (rows <= kRowsInView) return kFirstValue;
  // The panel's top that puts the last row's bottom on the viewport's.
  const int lowest_top = kViewportHeight - (RowTop(rows) + kRowHeight);
  const int steps = kTopAtValueZero - lowest_top;
  return (steps + kScrollStep - 1) / kScrollStep;
}

// The steps are the list's own; only the last one stops short, at the last
// row, rather than leaving an empty band under it.
int ListGeometry::PanelTopAt(int value) const {
  const int top = kTopAtValueZero - kScrollStep * value;
  if (rows <= kRowsInView) return top;
  return std::max(top, kViewportHeight - (RowTop(rows) + kRowHeight));
}

int ListGeometry::ValueShowing(int row, int value) const {
  auto in_view = [&](int at) {
    const int top = PanelTopAt(at) + RowTop(row);
    return top >= 0 && top + kRowHeight <= kViewportHeight;
  };
  const int last = LastValue();
  value = std::clamp(value, kFirstValue, last);
  for (int up = value; up >= kFirstValue; --up)
    if (in_view(up)) return up;
  for (int down = value; down <= last; ++down)
    if (in_view(down)) return down;
  // Only the first row, 20 twips above the viewport at the first value,
  // is never whole: the first value shows the most of it.
  return row <= 1 ? kFirstValue : value;
}

}  // namespace sources
