// The About window: its design and texts, the version check, the download
// of a file over HTTP and the installer update behind its one button.
#include "update/frm_about.h"

#include <cstdint>

#include "app/res/resource.h"
#include "app/texts.h"
#include "platform/file_checks.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "update/version_check.h"
#include "update_key.h"
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

// Bodies longer than these are refused as they arrive.
constexpr std::int64_t kLongestVersionFile = 4 * 1024;
constexpr std::int64_t kLongestInstaller = 512LL * 1024 * 1024;
constexpr std::int64_t kLongestSignature = 1024;
constexpr int kMostRedirects = 5;

constexpr int kLocalAppDataFolder = 0x1C;  // CSIDL_LOCAL_APPDATA

const unsigned char kUpdatePublicKey[] = {TAVRIK_UPDATE_PUBLIC_KEY_BYTES};

// A body is taken only from a reply that is one.
bool IsSuccess(int status) { return status == 200 || status == 206; }
bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::wstring RunningVersion() {
  return VersionText(TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_REVISION);
}

// Whether files can be created in folder: one is made and removed again.
bool CanWriteIn(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\TavrikBackup.upd.part";
  platform::ByteFileWriter file;
  if (!file.Create(probe)) return false;
  file.Close();
  platform::DeleteFileAt(probe);
  return true;
}

}  // namespace

FrmAbout::FrmAbout()
    : update_server(TAVRIK_UPDATE_SERVER),
      home_page(TAVRIK_HOME_PAGE),
      program_folder(platform::ProgramFolder()),
      local_data_folder(platform::SpecialFolderPath(kLocalAppDataFolder)),
      update_public_key(reinterpret_cast<const char*>(kUpdatePublicKey), sizeof kUpdatePublicKey),
      shell_open(platform::ShellOpen),
      end_program([] {
        platform::UnloadAllForms();
        platform::EndProgram();
      }) {
  InetFileDownload.set_agent(L"Tavrik Backup/" + RunningVersion());
}

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
  lblVersion.set_caption(RunningVersion());
  lblNewVersion.set_caption(strSearching);
}

void FrmAbout::Form_Activate() {
  if (busy_) return;
  const std::wstring latest = CercaActualitzacions();
  if (!loaded()) return;
  const bool offering = btnUpdate.caption() == strUpdate;
  if (latest.empty()) {
    // An offer already made still stands, with the version it offers.
    if (offering) return;
    lblNewVersion.set_caption(kNoVersion);
    lblError.set_caption(strNoVersion);
    return;
  }
  lblNewVersion.set_caption(latest);
  if (lblError.caption() == strNoVersion) lblError.set_caption(L"");
  if (IsGreaterVersion(lblNewVersion.caption(), lblVersion.caption())) {
    btnUpdate.set_caption(strUpdate);
  } else if (offering) {
    // The server no longer publishes what was offered.
    btnUpdate.set_caption(strClose);
  }
}

std::wstring FrmAbout::CercaActualitzacions() {
  const std::wstring strURL = update_server + L"/download/TavrikBackup.upd";
  const std::wstring strDestination = UpdateFolder() + L"\\TavrikBackup.upd";
  std::string line;
  busy_ = true;
  const Download result =
      DownloadFile(strURL, strDestination, false, kLongestVersionFile, [&line](const std::wstring& written) {
        const std::optional<std::string> bytes = platform::ReadFileBytes(written);
        line = bytes ? FirstLine(*bytes) : "";
        return IsVersionText(line);
      });
  busy_ = false;
  return result == Download::kComplete ? platform::FromAnsi(line) : L"";
}

std::wstring FrmAbout::UpdateFolder() const {
  if (CanWriteIn(program_folder)) return program_folder;
  const std::wstring folder = local_data_folder + L"\\Tavrik Backup";
  platform::CreateFolder(folder);
  return folder;
}

bool FrmAbout::IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                                  const std::wstring& version) const {
  // The signature first: nothing else of the file is read before it is
  // known to be the vendor's.
  const std::optional<std::string> der = platform::ReadFileBytes(signature);
  const std::optional<std::string> raw = der ? RawSignatureFromDer(*der) : std::nullopt;
  const std::optional<std::string> digest = raw ? platform::FileSha256(installer) : std::nullopt;
  if (!digest || !platform::VerifyP256Signature(update_public_key, *digest, *raw)) return false;
  const auto own = platform::FileProductVersion(installer);
  return own && platform::FromAnsi(InstallerVersionText(*own)) == version &&
         IsGreaterVersion(version, RunningVersion());
}

void FrmAbout::lblURL_Click() { shell_open(home_page, nullptr, nullptr); }

void FrmAbout::btnUpdate_Click() {
  const std::wstring role = btnUpdate.caption();
  if (role == strClose) {
    Unload();
    return;
  }
  if (role == strCancel) {
    update_cancelled_ = true;
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
  update_cancelled_ = false;
  const std::wstring version = lblNewVersion.caption();
  const std::wstring folder = UpdateFolder();
  // An earlier install.exe stays until a complete download replaces it, so
  // a failed update leaves nothing half-written behind.
  const std::wstring strDestination = folder + L"\\install.exe";
  const std::wstring signature = strDestination + L".sig";
  const std::wstring strURL = update_server + L"/download/TavrikBackup.exe";
  busy_ = true;
  Download result = DownloadFile(strURL, strDestination, true, kLongestInstaller);
  const bool downloaded = result == Download::kComplete;
  if (downloaded && !update_cancelled_ && loaded()) {
    result = DownloadFile(strURL + L".sig", signature, false, kLongestSignature);
  }
  busy_ = false;
  if (update_cancelled_ || !loaded()) result = Download::kCancelled;
  int start = 1;
  if (result == Download::kComplete && IsTrustedInstaller(strDestination, signature, version) &&
      platform::NormalFileName(strDestination) == L"install.exe") {
    const std::wstring none;
    start = static_cast<std::int16_t>(shell_open(folder + L"/install.exe", &none, &none));
  }
  if (start > 32) {
    end_program();
    return;
  }
  // What this update downloaded is never left to be started by anyone.
  if (downloaded) {
    platform::DeleteFileAt(strDestination);
    platform::DeleteFileAt(signature);
  }
  // The cancel press has already said so.
  if (result == Download::kCancelled) return;
  lblError.set_caption(kErrorUpdating);
  btnUpdate.set_caption(strClose);
}

Download FrmAbout::DownloadFile(const std::wstring& strURL, const std::wstring& strDestination,
                                bool bProgress, std::int64_t limit,
                                const std::function<bool(const std::wstring& written)>& accept) {
  platform::DoEvents();
  std::wstring address = strURL;
  for (int redirects = 0;; ++redirects) {
    InetFileDownload.set_url(address);
    InetFileDownload.Execute(L"Range: bytes=0-\r\n");
    while (InetFileDownload.StillExecuting()) InetFileDownload.WaitAndDoEvents();
    if (InetFileDownload.cancelled()) return Download::kCancelled;
    if (!IsRedirect(InetFileDownload.StatusCode())) break;
    const std::optional<std::string> next = SameHostRedirect(
        platform::ToAnsi(address), platform::ToAnsi(InetFileDownload.GetHeader(L"Location")));
    InetFileDownload.Cancel();
    if (!next || redirects == kMostRedirects) return Download::kFailed;
    address = platform::FromAnsi(*next);
  }
  const int status = InetFileDownload.StatusCode();
  const std::int64_t expected = ContentLengthValue(InetFileDownload.GetHeader(L"Content-Length"));
  // A partial reply counts only when it covers the whole file.
  std::optional<std::uint64_t> whole;
  if (status == 206) whole = WholeFileRange(platform::ToAnsi(InetFileDownload.GetHeader(L"Content-Range")));
  const bool acceptable = IsSuccess(status) && (status != 206 || whole) && expected <= limit;
  platform::DoEvents();
  if (InetFileDownload.cancelled()) return Download::kCancelled;

  const std::wstring partial = strDestination + L".part";
  platform::ByteFileWriter file;
  if (!acceptable || !file.Create(partial)) {
    InetFileDownload.Cancel();
    return Download::kFailed;
  }
  std::int64_t received = 0;
  bool written = true;
  for (;;) {
    std::optional<std::string> piece;
    while (!(piece = InetFileDownload.GetChunk(1024))) InetFileDownload.WaitAndDoEvents();
    received += static_cast<std::int64_t>(piece->size());
    if (received > limit || !file.Write(*piece)) {
      written = false;
      break;
    }
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
  } else if (InetFileDownload.failed() || (expected > 0 && received != expected) ||
             (whole && static_cast<std::uint64_t>(received) != *whole) ||
             (accept && !accept(partial)) || !platform::ReplaceFileWith(strDestination, partial)) {
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
