// The three windows as designed, before any start-up code fills them, and
// the main window's captions in both languages.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/frm_main.h"
#include "app/frm_splash.h"
#include "update/frm_about.h"

namespace {

void ExpectRect(const platform::Control& control, int left, int top, int width, int height) {
  EXPECT_EQ(control.left(), left);
  EXPECT_EQ(control.top(), top);
  EXPECT_EQ(control.width(), width);
  EXPECT_EQ(control.height(), height);
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { main.Create(); }
  app::FrmMain main;
};

TEST_F(MainWindowTest, WindowFrameAsDesigned) {
  EXPECT_EQ(main.caption(), L"Tavrik Backup");
  EXPECT_EQ(main.client_width_px(), platform::TwipsToPixels(10140));
  EXPECT_EQ(main.client_height_px(), platform::TwipsToPixels(7935));
  LONG style = GetWindowLongW(main.handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the main window is not resizable";
  EXPECT_TRUE(style & WS_CAPTION);
}

TEST_F(MainWindowTest, IdentityHeaderBeforeStartUp) {
  EXPECT_EQ(main.lblUserLbl.caption(), L"User:");
  EXPECT_EQ(main.lblUser.caption(), L"User");
  EXPECT_TRUE(main.lblUser.bold());
  EXPECT_EQ(main.lblOS.caption(), L"OS");
  EXPECT_EQ(main.lblOutlook.caption(), L"");
  EXPECT_FALSE(main.lblOutlookStatusLbl.visible());
  EXPECT_FALSE(main.lblOutlookStatus.visible());
  ExpectRect(main.lblOutlookStatus, 7080, 600, 3135, 255);
  EXPECT_EQ(main.lblOSlbl.font().points, 11.25);
}

TEST_F(MainWindowTest, ListHasOneDesignRow) {
  ASSERT_EQ(main.rows.count(), 1);
  const sources::SourceRow& row = main.rows[1];
  EXPECT_TRUE(row.imgFolder.visible());
  EXPECT_FALSE(row.imgEmail.visible());
  EXPECT_EQ(row.chkCarpeta.caption(), L"");
  EXPECT_EQ(row.chkCarpeta.value(), 0);
  EXPECT_EQ(row.lblMidaCarpeta.caption(), L"100");
  EXPECT_FALSE(row.imgOK.visible());
  EXPECT_FALSE(row.imgError.visible());
  EXPECT_FALSE(row.imgWait.visible());
  EXPECT_FALSE(row.barCopy.visible());
  EXPECT_EQ(row.barCopy.maximum(), 100);
  ExpectRect(row.chkCarpeta, 360, 0, 4335, 255);
  ExpectRect(row.lblMidaCarpeta, 4680, 0, 735, 255);
  ExpectRect(row.imgError, 5640, 0, 240, 240);
  ExpectRect(row.barCopy, 6000, 0, 2955, 255);
  ExpectRect(main.pic2, 120, 360, 9000, 2655);
  ExpectRect(main.FrameBack, 240, 1080, 9240, 3135);
  EXPECT_EQ(main.FrameBack.caption(), L"Select folders");
  EXPECT_EQ(main.FrameBack.font().name, L"Verdana");
  EXPECT_EQ(GetParent(row.chkCarpeta.handle()), main.Frame1.handle());
  EXPECT_EQ(GetParent(main.Frame1.handle()), main.pic2.handle());
  EXPECT_EQ(GetParent(main.pic2.handle()), main.FrameBack.handle());
}

TEST_F(MainWindowTest, TargetOptionsAndButtonsBeforeStartUp) {
  EXPECT_EQ(main.btnBackup.caption(), L"Backup!");
  EXPECT_FALSE(main.btnBackup.enabled());
  ExpectRect(main.btnBackup, 7920, 6720, 1935, 615);
  EXPECT_EQ(main.txtBackupTo.text(), L"");
  EXPECT_EQ(main.btnBackupTo.caption(), L"...");
  EXPECT_EQ(main.chklog.caption(), L"Write log file");
  EXPECT_EQ(main.chklog.value(), 0);
  EXPECT_FALSE(main.lblViewLog.visible());
  EXPECT_TRUE(main.lblViewLog.font().underline);
  EXPECT_FALSE(main.lblError.visible());
  EXPECT_EQ(main.lblError.fore_color(), RGB(192, 0, 0));
  EXPECT_FALSE(main.lblTotalText.visible());
  EXPECT_FALSE(main.imgOKtotal.visible());
  EXPECT_FALSE(main.imgErrorTotal.visible());
  EXPECT_FALSE(main.VScroll1.enabled());
  EXPECT_EQ(main.Label1.caption(), L"- Files will be merged. ");
  EXPECT_EQ(GetParent(main.Label1.handle()), main.Frame2.handle());
  EXPECT_FALSE(main.Timer1.enabled());
  EXPECT_EQ(main.Timer1.interval(), 5000);
}

TEST_F(MainWindowTest, TabOrderStartsWithTheBackupButton) {
  // Focusable controls in order: the first tab stop after the target box is
  // the "..." button, and so on down the designed order.
  main.btnBackup.set_enabled(true);
  HWND first = GetNextDlgTabItem(main.handle(), nullptr, FALSE);
  EXPECT_EQ(first, main.btnBackup.handle());
  EXPECT_EQ(GetNextDlgTabItem(main.handle(), main.btnBackup.handle(), FALSE),
            main.txtBackupTo.handle());
  EXPECT_EQ(GetNextDlgTabItem(main.handle(), main.txtBackupTo.handle(), FALSE),
            main.btnBackupTo.handle());
  EXPECT_EQ(GetNextDlgTabItem(main.handle(), main.btnBackupTo.handle(), FALSE),
            main.chklog.handle());
}

TEST_F(MainWindowTest, SpanishReplacesSixteenCaptions) {
  main.CanviaIdioma(L"ESP");
  EXPECT_EQ(main.lblUserLbl.caption(), L"Usuario:");
  EXPECT_EQ(main.lblOutlookStatusLbl.caption(), L"Outlook est\u00e1:");
  EXPECT_EQ(main.FrameBack.caption(), L"Seleccione carpetas");
  EXPECT_EQ(main.lblTotalText.caption(), L"Tama\u00f1o de la copia:");
  EXPECT_EQ(main.Label1.caption(), L"-Los archivos se fusionar\u00e1n.");
  EXPECT_EQ(main.chklog.caption(), L"Crear archivo de log");
  EXPECT_EQ(main.lblViewLog.caption(), L"Ver archivo de log");
  EXPECT_EQ(main.mnuFile.caption(), L"Archivo");
  EXPECT_EQ(main.mnuExit.caption(), L"Salir");
  EXPECT_EQ(main.mnuHelp.caption(), L"Ayuda");
  EXPECT_EQ(main.mnuAbout.caption(), L"Acerca de");
  EXPECT_EQ(main.btnBackup.caption(), L"Backup!");
  EXPECT_EQ(main.texts.strCancel, L"CANCELAR");
}

TEST_F(MainWindowTest, EnglishKeepsTheDesignedCaptionsAndFillsTheTexts) {
  main.CanviaIdioma(L"ENU");
  EXPECT_EQ(main.lblUserLbl.caption(), L"User:");
  EXPECT_EQ(main.Label1.caption(), L"- Files will be merged. ");
  EXPECT_EQ(main.mnuFile.caption(), L"File");
  EXPECT_EQ(main.texts.strNotFound, L"Not found");
  EXPECT_EQ(main.texts.strClose, L"CLOSE");
}

TEST(AboutWindowTest, DesignAndSpanishTexts) {
  app::FrmMain main;
  main.Create();
  update::FrmAbout about;
  about.Create(main);
  EXPECT_EQ(about.caption(), L"About");
  EXPECT_EQ(about.client_width_px(), platform::TwipsToPixels(6030));
  EXPECT_EQ(about.client_height_px(), platform::TwipsToPixels(4500));
  EXPECT_EQ(about.Label1.caption(), L"Tavrik Backup");
  EXPECT_EQ(about.Label1.font().points, 15.75);
  EXPECT_FALSE(about.barUpdate.visible());
  ExpectRect(about.barUpdate, 240, 3120, 5535, 495);
  EXPECT_EQ(about.btnUpdate.font().name, L"MS Sans Serif");
  EXPECT_TRUE(about.lblURL.font().underline);
  EXPECT_EQ(GetWindow(about.handle(), GW_OWNER), main.handle());

  about.CanviaIdioma(L"ESP", L"CERRAR");
  EXPECT_EQ(about.caption(), L"Acerca de");
  EXPECT_EQ(about.lblVersionLabel.caption(), L"Versi\u00f3n actual:");
  EXPECT_EQ(about.lblNewVersionLabel.caption(), L"Nueva versi\u00f3n:");
  EXPECT_EQ(about.btnUpdate.caption(), L"CERRAR");
  EXPECT_EQ(about.strUpdate, L"Actualizar Software");
}

TEST(SplashWindowTest, BorderlessTopmostCentredWithTheFrameInside) {
  app::FrmMain main;
  main.Create();
  app::FrmSplash splash(main);
  splash.ShowSplash(L"ESP");
  EXPECT_EQ(splash.lblLoading.caption(), L"Cargando...");
  EXPECT_EQ(splash.Label1.caption(), L"Tavrik Backup");
  LONG style = GetWindowLongW(splash.handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongW(splash.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT window;
  GetWindowRect(splash.handle(), &window);
  EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  // Lines one pixel wide, eight pixels in from the left and top edges.
  RECT line;
  GetWindowRect(splash.Line1.handle(), &line);
  EXPECT_EQ(line.right - line.left, 1);
  EXPECT_EQ(line.left - window.left, platform::TwipsToPixels(120));
  EXPECT_EQ(splash.Image1.left(), 960);
  EXPECT_LT(splash.Image1.left() + splash.Image1.width(), splash.Label1.left());
  splash.Unload();
}

}  // namespace
