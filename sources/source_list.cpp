// Ticking, totals, scrolling and the target picker of the source list.
#include "sources/source_list.h"

#include "platform/message_loop.h"
#include "platform/shell.h"

namespace sources {
namespace {

// Nine rows fill the viewport: row 9 ends at 300 x 8 + 255 = 2655 twips.
constexpr int kRowsInView = 9;
// Each row adds this much to the panel's height beside its check box.
constexpr int kRowSpacing = 120;
// One scroll step moves the rows this far; value 0 would put them here.
constexpr int kScrollStep = 120;
constexpr int kTopAtValueZero = 100;

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
  for (int row = 1; row <= controls_.rows.count(); ++row) {
    if (controls_.rows[row].check_box.check_state() == platform::CheckState::kChecked) total += controls_.rows[row].size;
  }
  controls_.total_size.set_text(SizeText(total));
  bool something = total > 0;
  controls_.total_label.set_visible(something);
  controls_.total_size.set_visible(something);
  controls_.backup_button.set_enabled(something);
}

void SourceList::PointerOverList() {
  if (controls_.scroll_bar.enabled()) controls_.scroll_bar.focus();
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
  controls_.rows_panel.set_height(n * controls_.rows[1].check_box.height() + n * kRowSpacing);
  controls_.scroll_bar.set_max(n);
}

void SourceList::ScrollToBar() {
  controls_.rows_panel.set_top(kTopAtValueZero - kScrollStep * controls_.scroll_bar.value());
  // Drawn at once, so that a dragged thumb moves the rows with it.
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
