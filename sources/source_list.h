// The interactive side of the main window's source list: ticking rows and
// the running total, the "Backup!" button that follows it, scrolling the
// list by bar and wheel (and to a row that gets the focus), and picking the
// target folder with "...".
#pragma once

#include <string>

#include "platform/button.h"
#include "platform/control.h"
#include "platform/label.h"
#include "platform/panel.h"
#include "platform/scroll_bar.h"
#include "platform/text_box.h"
#include "sources/list_geometry.h"
#include "sources/size_text.h"
#include "sources/source_row.h"

namespace sources {

// The controls of the main window the list works on; they belong to the
// window and outlive the list.
struct ListControls {
  const platform::Control& owner;  // the window the folder picker belongs to
  Rows& rows;
  platform::Panel& rows_panel;
  platform::ScrollBar& scroll_bar;
  platform::Label& total_label;
  platform::Label& total_size;
  platform::Button& backup_button;
  platform::Label& error_label;
  platform::TextBox& target_box;
};

class SourceList {
 public:
  // picker_title is the folder picker's title in the window's language; it
  // is read at each press, so it may change after the list is made.
  SourceList(const ListControls& controls, const std::wstring& picker_title);

  // Row i's box changed: its caption's weight, the total of the ticked rows
  // and whether there is anything to back up.
  void RowTicked(int i);
  // Row i's box got the focus: the list scrolls until the row is seen.
  void RowFocused(int i);
  // A wheel notch anywhere over the list is one step of the scroll bar.
  void WheelNotch(bool down);
  // Sizes the list panel and the scroll bar for the rows there are; once,
  // after the last row exists.
  void FitToRows();
  // Moves the rows to the scroll bar's value.
  void ScrollToBar();
  // "...": the folder picker's choice becomes the target.
  void PickTarget();

 private:
  ListGeometry geometry() const { return {controls_.rows.count()}; }

  ListControls controls_;
  const std::wstring& picker_title_;
};

}  // namespace sources
