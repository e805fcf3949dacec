// The About window: its design and texts, the version check, the download
// of a file over HTTP and the installer update behind its one button.
#include "update/frm_about.h"

#include <cstdint>

#include "app/res/resource.h"
#include "app/texts.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "update/version_check.h"
#include "version.h"

namespace update {

using platform::Font;
using platform::Layout;

namespace {

// The status texts of an update are English in both languages.
const wchar_t kUpdating[] = L"Updating...";
const wchar_t kUpdateCanceled[] = L"Update Canceled!";
const wchar_t kErrorUpdating[] = L"Error updating...";
// Latest version when none could be fetched; the status line says why.
const wchar_t kNoVersion[] = L"-";

// A body is taken only from a reply that is one.
bool IsSuccess(int status) { return status == 200 || status == 206; }

}  // namespace

FrmAbout::FrmAbout()
    : update_server(TAVRIK_UPDATE_SERVER),
      home_page(TAVRIK_HOME_PAGE),
      program_folder(platform::ProgramFolder()),
      shell_open(platform::ShellOpen),
      end_program([] {
        platform::UnloadAllForms();
        platform::EndProgram();
      }) {}

void FrmAbout::Create(const platform::Form& owner) {
  CreateForm({L"About", 6030, 4500, Border::kFixedSingle, Font{L"Tahoma", 8.25}}, &owner);
  const Font body{L"Tahoma", 9.75};
  const Font bold{L"Tahoma", 9.75, true};
  btnUpdate.Create(Layout{this, {1320, 3720, 3375, 495}, Font{L"MS Sans Serif", 9.75}}, L"Close");
  Image1.Create(Layout{this, {480, 480, 1920, 1920}, font()}, IDR_LOGO);
  Label1.Create(Layout{this, {3000, 480, 2895, 375}, Font{L"Tahoma", 15.75, true}}, L"Tavrik Backup");
  lblVersionLabel.Create(Layout{this, {3000, 1080, 1695, 255}, body}, L"Current version:");
  lblVersion.Create(Layout{this, {4920, 1080, 735, 255}, bold}, L"");
  lblNewVersionLabel.Create(Layout{this, {3000, 1440, 1695, 255}, body}, L"Latest version:");
  lblNewVersion.Create(Layout{this, {4920, 1440, 735, 255}, bold}, L"");
  lblURL.Create(Layout{this, {3000, 1920, 1935, 375}, Font{L"Tahoma", 12, false, true}},
                home_page, platform::Label::Align::kLeft, true);
  lblURL.set_fore_color(platform::ActiveCaptionColor());
  lblURL.hand_cursor = true;
  lblError.Create(Layout{this, {240, 2760, 4215, 255}, font()}, L"");
  lblError.set_fore_color(platform::Rgb(192, 0, 0));
  barUpdate.Create(Layout{this, {240, 3120, 5535, 495}, font()});
  barUpdate.set_visible(false);
  CenterOnOwner();

  on_activate = [this] { Form_Activate(); };
  // A check or download still running when the window goes ends with it.
  on_unload = [this] { InetFileDownload.Cancel(); };
  btnUpdate.on_click = [this] { btnUpdate_Click(); };
  lblURL.on_click = [this] { lblURL_Click(); };
}

void FrmAbout::CanviaIdioma(const std::wstring& lang, const std::wstring& strClose) {
  app::AboutTexts texts = app::AboutTextsFor(lang);
  strUpdate = texts.strUpdate;
  strSearching = texts.strSearching;
  strNoVersion = texts.strNoVersion;
  set_caption(texts.caption);
  lblVersionLabel.set_caption(texts.lblVersionLabel);
  lblNewVersionLabel.set_caption(texts.lblNewVersionLabel);
  btnUpdate.set_caption(strClose);
}

void FrmAbout::Form_Load() {
  CanviaIdioma(strLang, strClose);
  lblVersion.set_caption(
      VersionText(TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_REVISION));
  lblNewVersion.set_caption(strSearching);
}

void FrmAbout::Form_Activate() {
  if (busy_) return;
  const std::wstring latest = CercaActualitzacions();
  if (!loaded()) return;
  if (latest.empty()) {
    lblNewVersion.set_caption(kNoVersion);
    lblError.set_caption(strNoVersion);
    return;
  }
  lblNewVersion.set_caption(latest);
  if (lblError.caption() == strNoVersion) lblError.set_caption(L"");
  if (IsGreaterVersion(lblNewVersion.caption(), lblVersion.caption())) {
    btnUpdate.set_caption(strUpdate);
  }
}

std::wstring FrmAbout::CercaActualitzacions() {
  const std::wstring strURL = update_server + L"/download/TavrikBackup.upd";
  const std::wstring strDestination = program_folder + L"\\TavrikBackup.upd";
  busy_ = true;
  const Download result = DownloadFile(strURL, strDestination, false);
  busy_ = false;
  if (result != Download::kComplete) return L"";
  const std::optional<std::string> bytes = platform::ReadFileBytes(strDestination);
  return bytes ? platform::FromAnsi(FirstLine(*bytes)) : L"";
}

void FrmAbout::lblURL_Click() { shell_open(home_page, nullptr, nullptr); }

void FrmAbout::btnUpdate_Click() {
  const std::wstring role = btnUpdate.caption();
  if (role == strClose) {
    Unload();
    return;
  }
  if (role == strCancel) {
    InetFileDownload.Cancel();
    lblError.set_caption(kUpdateCanceled);
    btnUpdate.set_caption(strClose);
    return;
  }
  if (role != strUpdate) return;

  barUpdate.set_visible(true);
  barUpdate.set_value(0);
  btnUpdate.set_caption(strCancel);
  lblError.set_caption(kUpdating);
  // An earlier install.exe stays until a complete download replaces it, so
  // a failed update leaves nothing half-written behind.
  const std::wstring strDestination = program_folder + L"\\install.exe";
  const std::wstring strURL = update_server + L"/download/TavrikBackup.exe";
  busy_ = true;
  const Download result = DownloadFile(strURL, strDestination, true);
  busy_ = false;
  // The cancel press has already said so; an incomplete installer is never
  // started.
  if (result == Download::kCancelled) return;
  int start = 1;
  if (result == Download::kComplete && platform::NormalFileName(strDestination) == L"install.exe") {
    const std::wstring none;
    start = static_cast<std::int16_t>(shell_open(program_folder + L"/install.exe", &none, &none));
  }
  if (start > 32) {
    end_program();
    return;
  }
  lblError.set_caption(kErrorUpdating);
  btnUpdate.set_caption(strClose);
}

Download FrmAbout::DownloadFile(const std::wstring& strURL, const std::wstring& strDestination,
                                bool bProgress) {
  platform::DoEvents();
  InetFileDownload.set_url(strURL);
  InetFileDownload.Execute(L"Range: bytes=0-\r\n");
  while (InetFileDownload.StillExecuting()) InetFileDownload.WaitAndDoEvents();
  const std::int64_t expected = ContentLengthValue(InetFileDownload.GetHeader(L"Content-Length"));
  platform::DoEvents();
  if (InetFileDownload.cancelled()) return Download::kCancelled;

  const std::wstring partial = strDestination + L".part";
  platform::ByteFileWriter file;
  if (!IsSuccess(InetFileDownload.StatusCode()) || !file.Create(partial)) {
    InetFileDownload.Cancel();
    return Download::kFailed;
  }
  std::int64_t received = 0;
  bool written = true;
  for (;;) {
    std::optional<std::string> piece;
    while (!(piece = InetFileDownload.GetChunk(1024))) InetFileDownload.WaitAndDoEvents();
    if (!file.Write(*piece)) {
      written = false;
      break;
    }
    received += static_cast<std::int64_t>(piece->size());
    if (bProgress) {
      const int percent = DownloadPercent(received, expected);
      if (percent >= 0) DownloadProgress(percent);
    }
    platform::DoEvents();
    if (piece->size() < 2) break;
  }
  file.Close();

  Download result = Download::kComplete;
  if (!written) {
    InetFileDownload.Cancel();
    result = Download::kFailed;
  } else if (InetFileDownload.cancelled()) {
    result = Download::kCancelled;
  } else if (InetFileDownload.failed() || (expected > 0 && received != expected)) {
    result = Download::kFailed;
  } else if (!platform::ReplaceFileWith(strDestination, partial)) {
    result = Download::kFailed;
  }
  if (result != Download::kComplete) platform::DeleteFileAt(partial);
  return result;
}

void FrmAbout::DownloadProgress(int intPercent) {
  barUpdate.set_value(static_cast<float>(intPercent));
}

void ShowAbout(platform::Form& owner, const std::wstring& lang, const std::wstring& strClose,
               const std::wstring& strCancel) {
  FrmAbout about;
  about.strLang = lang;
  about.strClose = strClose;
  about.strCancel = strCancel;
  about.Create(owner);
  about.Form_Load();
  about.ShowModal(owner);
}

}  // namespace update
