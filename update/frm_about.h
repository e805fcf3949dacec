// The About window: the product, the running and the latest published
// version, the home-page link, a status line and one button that closes,
// updates or cancels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/http.h"

namespace update {

// How a download ended. Only a complete one reaches its destination file.
enum class Download { kComplete, kFailed, kCancelled };

class FrmAbout : public platform::Form {
 public:
  // The build's server and home page, the program's own folder, the real
  // shell and the real end.
  FrmAbout();
  // Creates the window as designed, owned by (and centred on) owner, and
  // connects its handlers.
  void Create(const platform::Form& owner);
  // Sets this window's texts for the language code; strClose is the shared
  // caption of the close role.
  void CanviaIdioma(const std::wstring& lang, const std::wstring& strClose);

  void Form_Load();
  void Form_Activate();
  // The latest published version: the version file's first line, or ""
  // when no version could be fetched (the local copy is then left alone).
  std::wstring CercaActualitzacions();
  void lblURL_Click();
  void btnUpdate_Click();

  // Fetches strURL into strDestination. The file is written beside it first
  // and takes its place only when the whole body of a successful reply has
  // arrived, no longer than limit bytes, and accept (when given) takes the
  // written file; otherwise strDestination stays as it was. Redirects are
  // followed only on the same host.
  Download DownloadFile(const std::wstring& strURL, const std::wstring& strDestination,
                        bool bProgress, std::int64_t limit,
                        const std::function<bool(const std::wstring& written)>& accept = {});
  virtual void DownloadProgress(int intPercent);

  // Set before Form_Load: the language code and the shared role captions.
  std::wstring strLang, strClose, strCancel;
  std::wstring strUpdate;
  std::wstring strSearching;
  std::wstring strNoVersion;

  // Where the version file and the installer come from, and where their
  // local copies go: the program's folder when it can be written, else the
  // program's folder under the user's local application data.
  std::wstring update_server, home_page, program_folder, local_data_folder;
  // The vendor's ECDSA P-256 public key (X and Y) that an installer's
  // signature must verify under before it is started.
  std::string update_public_key;

  // The shell's open verb and the end of the program after the installer
  // has started; tests put their own in place.
  std::function<int(const std::wstring& file, const std::wstring* parameters,
                    const std::wstring* directory)>
      shell_open;
  std::function<void()> end_program;

  platform::Image Image1;
  platform::Label Label1, lblVersionLabel, lblVersion, lblNewVersionLabel, lblNewVersion;
  platform::Label lblURL, lblError;
  platform::ProgressBar barUpdate;
  platform::Button btnUpdate;
  platform::HttpTransfer InetFileDownload;

 private:
  // The folder the version file and the installer are written to.
  std::wstring UpdateFolder() const;
  // Whether the downloaded installer may be started as the update to
  // version: its signature verifies under the vendor's key, and its own
  // version is that one and greater than the running one.
  bool IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                          const std::wstring& version) const;

  // A check or a download is using the transfer; an activation meanwhile
  // does not start another.
  bool busy_ = false;
  // The cancel role was pressed during the running update.
  bool update_cancelled_ = false;
};

// Help > About: loads the About window afresh and shows it modally over
// owner. lang is the language code; strClose and strCancel the shared
// captions of the close and cancel roles.
void ShowAbout(platform::Form& owner, const std::wstring& lang, const std::wstring& strClose,
               const std::wstring& strCancel);

}  // namespace update
