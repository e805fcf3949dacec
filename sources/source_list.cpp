// Ticking, totals, scrolling and the target picker of the source list.
#include "sources/source_list.h"

#include "platform/message_loop.h"
#include "platform/shell.h"

namespace sources {
namespace {

// Each row adds this much to the panel's height beside its check box.
constexpr int kRowSpacing = 120;

}  // namespace

SourceList::SourceList(const ListControls& controls, const std::wstring& picker_title)
    : controls_(controls), picker_title_(picker_title) {}

void SourceList::RowTicked(int i) {
  platform::CheckBox& box = controls_.rows[i].check_box;
  if (box.check_state() == platform::CheckState::kChecked) box.set_bold(true);
  if (box.check_state() == platform::CheckState::kUnchecked) box.set_bold(false);
  // Summed afresh rather than added and taken away: a grayed box (a
  // hand-edited setting) is neither, and the total must stay the bytes of
  // exactly the rows the backup copies.
  TenThousandthBytes total = 0;
  for (const SourceRow& row : controls_.rows) {
    if (row.check_box.check_state() == platform::CheckState::kChecked) total += row.size;
  }
  controls_.total_size.set_text(SizeText(total));
  bool something = total > 0;
  controls_.total_label.set_visible(something);
  controls_.total_size.set_visible(something);
  controls_.backup_button.set_enabled(something);
}

// A row reached by Tab (or any other way) is never ticked unseen.
void SourceList::RowFocused(int i) {
  if (!controls_.scroll_bar.enabled()) return;
  const int value = geometry().ValueShowing(i, controls_.scroll_bar.value());
  if (value == controls_.scroll_bar.value()) return;
  controls_.scroll_bar.set_value(value);
}

// A disabled bar means every row is in view.
void SourceList::WheelNotch(bool down) {
  if (!controls_.scroll_bar.enabled()) return;
  const int step = controls_.scroll_bar.small_change;
  controls_.scroll_bar.set_value(controls_.scroll_bar.value() + (down ? step : -step));
}

void SourceList::FitToRows() {
  const int n = controls_.rows.count();
  if (n > kRowsInView) controls_.scroll_bar.set_enabled(true);
  controls_.rows_panel.set_height(n * controls_.rows.front().check_box.height() + n * kRowSpacing);
  // The range ends where the last row stands at the bottom of the list,
  // however many rows there are.
  controls_.scroll_bar.set_max(geometry().LastValue());
}

// The moved panel is painted at once, so that a dragged thumb moves the rows
// with it; no message is pumped here, which a focus change or a wheel notch
// would re-enter.
void SourceList::ScrollToBar() {
  controls_.rows_panel.set_top(geometry().PanelTopAt(controls_.scroll_bar.value()));
  controls_.rows_panel.Update();
}

void SourceList::PickTarget() {
  controls_.error_label.set_visible(false);
  controls_.error_label.set_text(L"");
  std::optional<std::wstring> chosen =
      platform::CurrentDialogs().BrowseForFolder(controls_.owner, picker_title_);
  if (chosen) controls_.target_box.set_text(*chosen);
}

}  // namespace sources
