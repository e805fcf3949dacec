// Where the source list's rows stand as it scrolls: pure rules in twips,
// with no window. The rows are 300 twips apart on a panel that moves inside
// a viewport nine rows high; one scroll step moves them 120 twips (two
// fifths of a row), and the last step stops with the last row at the
// bottom of the viewport.
#pragma once

namespace sources {

struct ListGeometry {
  int rows = 0;  // N
  // The scroll bar's last value: the one that brings the last row fully
  // into view at the bottom of the viewport. 1 (the first value) when every
  // row fits.
  int LastValue() const;
  // The panel's top at a scroll bar value.
  int PanelTopAt(int value) const;
  // The value nearest to value at which row (from 1) is wholly in view.
  int ValueShowing(int row, int value) const;
};

// Rows stand this far apart on the panel.
constexpr int kRowPitch = 300;
// Nine rows fill the viewport: row 9 ends at 300 x 8 + 255 = 2655 twips.
constexpr int kRowsInView = 9;
constexpr int kViewportHeight = 2655;
constexpr int kFirstValue = 1;

}  // namespace sources
