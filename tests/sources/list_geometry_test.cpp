// Where the rows stand as the list scrolls, for any number of rows; also run natively.
#include "sources/list_geometry.h"

#include <gtest/gtest.h>

namespace sources {
namespace {

constexpr int kRowHeight = 255;

TEST(ListGeometryTest, RangeEndsWithTheLastRowAtTheBottom) {
  EXPECT_EQ(ListGeometry{9}.LastValue(), kFirstValue) << "nine rows fit: nothing to scroll";
  for (int rows = 10; rows <= 60; ++rows) {
    const ListGeometry list{rows};
    const int last = list.LastValue();
    EXPECT_EQ(list.PanelTopAt(last) + kRowPitch * (rows - 1) + kRowHeight, kViewportHeight) << rows << " rows";
    // Every step but the last moves the rows by two fifths of a row.
    for (int value = kFirstValue; value < last - 1; ++value)
      EXPECT_EQ(list.PanelTopAt(value) - list.PanelTopAt(value + 1), 120) << rows << " rows";
    for (int row = 2; row <= rows; ++row) {
      const int top = list.PanelTopAt(list.ValueShowing(row, kFirstValue)) + kRowPitch * (row - 1);
      EXPECT_TRUE(top >= 0 && top + kRowHeight <= kViewportHeight) << "row " << row << " of " << rows;
    }
  }
}

}  // namespace
}  // namespace sources
