// The interactive side of the main window's source list: ticking rows and
// the running total, the "Backup!" button that follows it, scrolling the
// list by bar and wheel, and picking the target folder with "...".
#pragma once

#include <string>

#include "platform/controls.h"
#include "sources/size_text.h"
#include "sources/source_row.h"

namespace sources {

// The controls of the main window the list works on; they belong to the
// window and outlive the list.
struct ListControls {
  const platform::Control& owner;  // the window the folder picker belongs to
  Rows& rows;
  platform::PictureBox& Frame1;
  platform::ScrollBar& VScroll1;
  platform::Frame& FrameBack;
  platform::Label& lblTotalText;
  platform::Label& lblTotal;
  platform::Button& btnBackup;
  platform::Label& lblError;
  platform::TextBox& txtBackupTo;
  platform::Button& btnBackupTo;
};

class SourceList {
 public:
  // strSelectTarget is the picker's title in the window's language; it is
  // read at each press, so it may change after the list is made.
  SourceList(const ListControls& controls, const std::wstring& strSelectTarget);

  // The bytes of the rows ticked with value 1, the rows a backup copies.
  ByteCount curTotal() const { return curTotal_; }

  void chkCarpeta_Click(int i);
  // A mouse move over a row's check box, Frame1 or FrameBack.
  void List_MouseMove();
  // Sizes the list panel and the scroll bar for the rows there are and
  // hooks the wheel; once, after the last row exists.
  void SizeList();
  void VScroll1_Change();
  void btnBackupTo_Click();

 private:
  ListControls c_;
  const std::wstring& strSelectTarget_;
  ByteCount curTotal_ = 0;
};

}  // namespace sources
