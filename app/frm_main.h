// The main window: the identity header, the list of backup sources, the
// target folder, the options and the "Backup!" button.
#pragma once

#include <string>

#include "app/texts.h"
#include "backup/backup_run.h"
#include "platform/controls.h"
#include "sources/source_list.h"
#include "sources/source_row.h"

namespace app {

class FrmMain : public platform::Form {
 public:
  FrmMain();
  // Creates the window and its controls as designed, hidden.
  void Create();

  // Sets the captions and the message texts for the language code.
  void CanviaIdioma(const std::wstring& lang);

  // The texts of the chosen language; empty until CanviaIdioma runs.
  MainTexts texts;

  // The settings file, decided once at start-up.
  std::wstring IniFile;
  // The folder whose backup.log the "View log" link opens.
  std::wstring strViewLogFolder;

  // Connects row i's check box (and mouse moves over it) to the list's
  // handlers; called for row 1 and after each AddSourceRow.
  void WireRow(int i);
  // Sizes the list panel and the scroll bar for the rows there are and
  // hooks the mouse wheel; called once, after the last row exists.
  void SizeList();

  platform::Label lblUserLbl, lblUser, lblOSlbl, lblOS;
  platform::Label lblOutlookLbl, lblOutlook, lblOutlookStatusLbl, lblOutlookStatus;
  platform::Frame FrameBack;
  platform::PictureBox pic2;
  platform::PictureBox Frame1;
  sources::Rows rows;
  platform::ScrollBar VScroll1;
  platform::Label lblTotalText, lblTotal;
  platform::Image imgOKtotal, imgErrorTotal;
  platform::Label lblError;
  platform::Label lblBackupTo;
  platform::TextBox txtBackupTo;
  platform::Button btnBackupTo;
  platform::Frame Frame2;
  platform::Label Label1, Label2;
  platform::Button btnBackup;
  platform::CheckBox chklog;
  platform::Label lblViewLog;
  platform::Timer Timer1;
  platform::MenuItem mnuFile, mnuExit, mnuHelp, mnuAbout;

  // Ticking, totals, scrolling and the "..." picker; made after the
  // controls it works on.
  sources::SourceList sourceList;
  // What "Backup!" and the "View log" link do.
  backup::BackupRun backupRun;

 private:
  platform::Control& CaptionControl(MainCaption which);
};

}  // namespace app
