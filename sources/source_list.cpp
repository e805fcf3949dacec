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
    : c_(controls), picker_title_(picker_title) {}

void SourceList::RowTicked(int i) {
  platform::CheckBox& box = c_.rows[i].check_box;
  if (box.value() == 1) box.set_bold(true);
  if (box.value() == 0) box.set_bold(false);
  // Summed afresh rather than added and taken away: a grayed box (a
  // hand-edited setting) is neither, and the total must stay the bytes of
  // exactly the rows the backup copies.
  ByteCount total = 0;
  for (int row = 1; row <= c_.rows.count(); ++row) {
    if (c_.rows[row].check_box.value() == 1) total += c_.rows[row].size;
  }
  c_.total_size.set_caption(SizeText(total));
  bool something = total > 0;
  c_.total_label.set_visible(something);
  c_.total_size.set_visible(something);
  c_.backup_button.set_enabled(something);
}

void SourceList::PointerOverList() {
  if (c_.scroll_bar.enabled()) c_.scroll_bar.focus();
}

// A disabled bar means every row is in view.
void SourceList::WheelNotch(bool down) {
  if (!c_.scroll_bar.enabled()) return;
  const int step = c_.scroll_bar.small_change;
  c_.scroll_bar.set_value(c_.scroll_bar.value() + (down ? step : -step));
}

void SourceList::FitToRows() {
  const int n = c_.rows.count();
  if (n > kRowsInView) {
    c_.scroll_bar.set_enabled(true);
    platform::DoEvents();
  }
  c_.rows_panel.set_height(n * c_.rows[1].check_box.height() + n * kRowSpacing);
  c_.scroll_bar.set_max(n);
}

void SourceList::ScrollToBar() {
  c_.rows_panel.set_top(kTopAtValueZero - kScrollStep * c_.scroll_bar.value());
  platform::DoEvents();
}

void SourceList::PickTarget() {
  c_.error_label.set_visible(false);
  c_.error_label.set_caption(L"");
  std::optional<std::wstring> chosen =
      platform::CurrentDialogs().BrowseForFolder(c_.owner, picker_title_);
  if (chosen) c_.target_box.set_text(*chosen);
}

}  // namespace sources
