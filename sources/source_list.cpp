// Ticking, totals, scrolling and the target picker of the source list.
#include "sources/source_list.h"

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

SourceList::SourceList(const ListControls& controls, const std::wstring& strSelectTarget)
    : c_(controls), strSelectTarget_(strSelectTarget) {}

void SourceList::chkCarpeta_Click(int i) {
  platform::CheckBox& box = c_.rows[i].chkCarpeta;
  if (box.value() == 1) box.set_bold(true);
  if (box.value() == 0) box.set_bold(false);
  // Summed afresh rather than added and taken away: a grayed box (a
  // hand-edited setting) is neither, and the total must stay the bytes of
  // exactly the rows the backup copies.
  curTotal_ = 0;
  for (int row = 1; row <= c_.rows.count(); ++row) {
    if (c_.rows[row].chkCarpeta.value() == 1) curTotal_ += c_.rows[row].Size;
  }
  c_.lblTotal.set_caption(SizeText(curTotal_));
  bool something = curTotal_ > 0;
  c_.lblTotalText.set_visible(something);
  c_.lblTotal.set_visible(something);
  c_.btnBackup.set_enabled(something);
}

void SourceList::List_MouseMove() {
  // With the focus on the scroll bar the wheel reaches it.
  if (c_.VScroll1.enabled()) c_.VScroll1.focus();
}

void SourceList::SizeList() {
  const int n = c_.rows.count();
  if (n > kRowsInView) {
    c_.VScroll1.set_enabled(true);
    platform::DoEvents();
  }
  c_.Frame1.set_height(n * c_.rows[1].chkCarpeta.height() + n * kRowSpacing);
  c_.VScroll1.set_max(n);
  platform::HookScrollWheel(c_.VScroll1);
}

void SourceList::VScroll1_Change() {
  c_.Frame1.set_top(kTopAtValueZero - kScrollStep * c_.VScroll1.value());
  platform::DoEvents();
}

void SourceList::btnBackupTo_Click() {
  c_.lblError.set_visible(false);
  c_.lblError.set_caption(L"");
  std::optional<std::wstring> chosen =
      platform::CurrentDialogs().BrowseForFolder(c_.owner, strSelectTarget_);
  if (chosen) c_.txtBackupTo.set_text(*chosen);
}

}  // namespace sources
