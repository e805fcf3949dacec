// The main window's design and its language texts.
#include "app/frm_main.h"

#include "app/res/resource.h"

namespace app {
namespace {

using platform::Font;
using platform::Label;
using platform::Layout;
using platform::Rect;

const Font kHeader{L"Tahoma", 11.25};
const Font kHeaderBold{L"Tahoma", 11.25, true};
const Font kBody{L"Tahoma", 9.75};
const Font kBodyBold{L"Tahoma", 9.75, true};

}  // namespace

FrmMain::FrmMain()
    : sourceList({*this, rows, Frame1, VScroll1, FrameBack, lblTotalText, lblTotal, btnBackup,
                  lblError, txtBackupTo, btnBackupTo},
                 texts.strSelectTarget),
      backupRun({txtBackupTo, lblError, chklog, lblViewLog, imgOKtotal, imgErrorTotal, Frame1,
                 btnBackupTo, btnBackup, rows},
                texts, IniFile, strViewLogFolder) {
  VScroll1.on_change = [this] { sourceList.VScroll1_Change(); };
  Frame1.on_mouse_move = [this] { sourceList.List_MouseMove(); };
  FrameBack.on_mouse_move = [this] { sourceList.List_MouseMove(); };
  btnBackupTo.on_click = [this] { sourceList.btnBackupTo_Click(); };
}

void FrmMain::Create() {
  CreateForm({L"Tavrik Backup", 10140, 7935, Border::kFixedSingle, Font{L"Tahoma", 12}});
  const Control* window = this;
  auto at = [](const Control* parent, Rect rect, Font font) { return Layout{parent, rect, font}; };

  lblUserLbl.Create(at(window, {0, 240, 1215, 375}, kHeader), L"User:", Label::Align::kRight);
  lblUser.Create(at(window, {1320, 240, 2895, 375}, kHeaderBold), L"User");
  lblOSlbl.Create(at(window, {0, 600, 1215, 375}, kHeader), L"O.S.:", Label::Align::kRight);
  lblOS.Create(at(window, {1320, 600, 2895, 375}, kHeaderBold), L"OS");
  lblOutlookLbl.Create(at(window, {5760, 240, 1215, 255}, kHeader), L"Mail:", Label::Align::kRight);
  lblOutlook.Create(at(window, {7080, 240, 2895, 255}, kHeaderBold), L"");
  lblOutlookStatusLbl.Create(at(window, {5040, 600, 1935, 255}, kHeader), L"Outlook is:",
                             Label::Align::kRight);
  lblOutlookStatusLbl.set_visible(false);
  lblOutlookStatus.Create(at(window, {7080, 600, 3135, 255}, kHeaderBold), L"");
  lblOutlookStatus.set_visible(false);

  // Tab order: the controls that take the focus are created in that order.
  btnBackup.Create(at(window, {7920, 6720, 1935, 615}, kBody), L"Backup!");
  btnBackup.set_enabled(false);
  txtBackupTo.Create(at(window, {240, 5520, 9135, 375}, kBody), L"");
  btnBackupTo.Create(at(window, {9480, 5520, 375, 375}, kBody), L"...");
  chklog.Create(at(window, {480, 7440, 2775, 375}, kBody), L"Write log file");

  FrameBack.Create(at(window, {240, 1080, 9240, 3135}, Font{L"Verdana", 9.75, true}),
                   L"Select folders");
  pic2.Create(at(&FrameBack, {120, 360, 9000, 2655}, kBody));
  Frame1.Create(at(&pic2, {0, 0, 8950, 2655}, kBody));
  sources::CreateDesignRow(rows.Append(), Frame1);
  VScroll1.Create(at(window, {9480, 1200, 375, 3015}, kBody), 1, 10, 1);
  VScroll1.set_enabled(false);

  lblTotalText.Create(at(window, {1680, 4320, 2535, 375}, kBody), L"Backup size:",
                      Label::Align::kRight);
  lblTotalText.set_visible(false);
  lblTotal.Create(at(window, {4560, 4320, 1215, 255}, kBodyBold), L"", Label::Align::kRight);
  imgOKtotal.Create(at(window, {6000, 4320, 240, 240}, kBody), IDR_OK);
  imgOKtotal.set_visible(false);
  imgErrorTotal.Create(at(window, {6000, 4320, 240, 240}, kBody), IDR_ERROR);
  imgErrorTotal.set_visible(false);
  lblError.Create(at(window, {240, 4800, 9660, 360}, kBodyBold), L"");
  lblError.set_fore_color(platform::Rgb(192, 0, 0));
  lblError.set_back_color(platform::Rgb(255, 255, 255));
  lblError.set_visible(false);
  lblBackupTo.Create(at(window, {240, 5160, 1335, 375}, kBodyBold), L"Backup to:");

  Frame2.Create(at(window, {240, 6240, 5895, 1095}, kBodyBold), L"If exist files in backup folder:");
  Label1.Create(at(&Frame2, {240, 360, 4215, 255}, kBody), L"- Files will be merged. ");
  Label2.Create(at(&Frame2, {240, 600, 5535, 255}, kBody),
                L"- Files with identical name will be overwritten.");

  lblViewLog.Create(at(window, {3360, 7485, 3015, 375}, Font{L"Tahoma", 9.75, false, true}),
                    L"View log", Label::Align::kLeft, true);
  lblViewLog.set_fore_color(platform::DesktopColor());
  lblViewLog.hand_cursor = true;
  lblViewLog.set_visible(false);

  Timer1.Create(*this, 5000, false);

  btnBackup.on_click = [this] { backupRun.btnBackup_Click(); };
  lblViewLog.on_click = [this] { backupRun.lblViewLog_Click(); };

  AddMenu(mnuFile, L"File", {{&mnuExit, L"Exit"}});
  AddMenu(mnuHelp, L"Help", {{&mnuAbout, L"About"}});
  CenterOnScreen();
}

void FrmMain::WireRow(int i) {
  platform::CheckBox& box = rows[i].chkCarpeta;
  box.on_click = [this, i] { sourceList.chkCarpeta_Click(i); };
  box.on_mouse_move = [this] { sourceList.List_MouseMove(); };
}

void FrmMain::SizeList() { sourceList.SizeList(); }

platform::Control& FrmMain::CaptionControl(MainCaption which) {
  switch (which) {
    case MainCaption::lblUserLbl: return lblUserLbl;
    case MainCaption::lblOSlbl: return lblOSlbl;
    case MainCaption::lblOutlookLbl: return lblOutlookLbl;
    case MainCaption::lblOutlookStatusLbl: return lblOutlookStatusLbl;
    case MainCaption::FrameBack: return FrameBack;
    case MainCaption::lblTotalText: return lblTotalText;
    case MainCaption::lblBackupTo: return lblBackupTo;
    case MainCaption::Frame2: return Frame2;
    case MainCaption::Label1: return Label1;
    case MainCaption::Label2: return Label2;
    case MainCaption::chklog: return chklog;
    case MainCaption::lblViewLog: return lblViewLog;
    default: return lblUserLbl;  // menus are set apart
  }
}

void FrmMain::CanviaIdioma(const std::wstring& lang) {
  texts = MainTextsFor(lang);
  if (!IsSpanish(lang)) return;  // the design holds the English captions
  for (const CaptionText& caption : MainCaptions()) {
    switch (caption.control) {
      case MainCaption::mnuFile: mnuFile.set_caption(caption.spanish); break;
      case MainCaption::mnuExit: mnuExit.set_caption(caption.spanish); break;
      case MainCaption::mnuHelp: mnuHelp.set_caption(caption.spanish); break;
      case MainCaption::mnuAbout: mnuAbout.set_caption(caption.spanish); break;
      default: CaptionControl(caption.control).set_caption(caption.spanish); break;
    }
  }
}

}  // namespace app
