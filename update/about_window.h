// The About window: the product, the running and the latest published
// version, the home-page link, a status line and one button that closes,
// updates or cancels.
//
// The version check and the update each own their download
// (update/download.h); both move on the window's own messages, so every
// handler returns at once. Pressing "Update Software" cancels a check
// still running; an activation during an update starts no check; closing
// the window ends both.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/link.h"
#include "platform/progress_bar.h"
#include "update/about_texts.h"
#include "update/download.h"

namespace update {

class AboutWindow : public platform::Form {
 public:
  // The build's server and home page, the program's own folder, the real
  // shell, elevation and end.
  AboutWindow();
  // Creates the window as designed, owned by (and centred on) owner, with
  // the logo picture of the program's resources, and connects its handlers.
  void Create(const platform::Form& owner, int logo_resource);

  // Shows the texts, the running version and "searching" as the latest.
  void OnLoad();
  // Starts a check for a newer version each time the window becomes
  // active, unless one or an update is running.
  void OnActivate();
  void OnHomePageClick();
  void OnButtonClick();

  bool checking() const { return version_download.running(); }
  // From the press of "Update Software" until the installer starts or the
  // update ends with its status line.
  bool updating() const { return updating_; }
  virtual void ShowDownloadPercent(int percent);

  // Set before OnLoad.
  AboutTexts texts;
  // Where the version file and the installer come from, and where their
  // local copies go: the program's folder when it is the user's own and can
  // be written, else the program's folder under the user's local
  // application data.
  std::wstring update_server, home_page, program_folder, local_data_folder;
  // The vendor's ECDSA P-256 public key (PEM) that an installer's
  // signature must verify under before it is started.
  std::string update_public_key;
  // The program is installed for all users (the machine's uninstall entry
  // names its folder): its update is applied by the installed program
  // started with an administrator's rights (update/apply_update.h).
  bool all_users_install = false;
  // The limits of the check and of the installer's download.
  std::chrono::milliseconds check_time_limit = kVersionCheckLimit;
  std::int64_t slowest_download_bytes = kSlowestDownloadBytes;
  std::chrono::milliseconds slowest_download_window = kSlowestDownloadWindow;

  // The shell's open verb, the start of a program with an administrator's
  // rights (false when the prompt was refused; otherwise ended gets whether
  // it started the installer) and the end of the program after the
  // installer has started; tests put their own in place.
  std::function<int(const std::wstring& file, const std::wstring* parameters,
                    const std::wstring* directory)>
      shell_open;
  std::function<bool(const std::wstring& program, const std::wstring& parameters,
                     std::function<void(bool installer_started)> ended)>
      start_elevated;
  std::function<void()> end_program;
  // Called when a verified installer is about to start, and returns once
  // whatever the program has going (a backup run) has stopped cleanly: the
  // installer ends the program and replaces its files.
  std::function<void()> before_install;

  platform::Image logo;
  platform::Label title, current_version_label, current_version, latest_version_label,
      latest_version, status;
  platform::Link home_page_link;
  platform::ProgressBar progress_bar;
  platform::Button button;
  // The check's and the update's own downloads.
  FileDownload version_download, installer_download;

 private:
  enum class ButtonRole { kClose, kUpdate, kCancel };

  // The texts of the window and the button in its close role.
  void ApplyLanguage();
  void SetRole(ButtonRole role);
  // The check's end: the latest version shown, the update offered or not.
  void OnCheckDone(Download result, const std::wstring& latest);
  void StartUpdate();
  // The cancel role's press.
  void CancelUpdate();
  // The window goes: whatever runs ends, and nothing it downloaded stays.
  void OnUnloadDuringWork();
  void OnInstallerDownloaded(Download result);
  void OnSignatureDownloaded(Download result);
  // Starts the verified installer: through the shell for an installation
  // of the user's own, through the elevated program for all users.
  void StartInstaller();
  void OnElevatedApplyEnded(bool installer_started);
  // The update ends without an installer started: what it downloaded goes,
  // and the status line says why.
  void EndUpdate(const std::wstring& status_text);
  // The folder the version file and the installer are written to.
  std::wstring UpdateFolder() const;
  DownloadJob UpdateJob(const std::wstring& url, const std::wstring& destination, std::int64_t limit) const;

  ButtonRole role_ = ButtonRole::kClose;
  // The version the update role offers.
  std::wstring offered_version_;
  // The status line says that no latest version could be fetched.
  bool showing_no_version_ = false;
  bool updating_ = false;
  // The installed program runs elevated: the window cannot be closed.
  bool elevating_ = false;
  // Where the running update writes the installer, and whether it has
  // written one (which goes again unless it starts).
  std::wstring update_folder_;
  bool installer_downloaded_ = false;
};

// The running program's version text, "0.1.7".
std::wstring RunningVersion();

// Help > About: loads the About window afresh with texts and the logo
// picture and shows it modally over owner.
void ShowAbout(platform::Form& owner, const AboutTexts& texts, int logo_resource,
               std::function<void()> before_install);

}  // namespace update
