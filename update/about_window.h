// The About window: the product, the running and the latest published
// version, the home-page link, a status line and one button that closes,
// updates or cancels.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/http.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/link.h"
#include "platform/progress_bar.h"
#include "update/about_texts.h"

namespace platform {
class ByteFileWriter;
}

namespace update {

// How a download ended. Only a complete one reaches its destination file.
enum class Download { kComplete, kFailed, kCancelled };

class AboutWindow : public platform::Form {
 public:
  // The build's server and home page, the program's own folder, the real
  // shell and the real end.
  AboutWindow();
  // Creates the window as designed, owned by (and centred on) owner, with
  // the logo picture of the program's resources, and connects its handlers.
  void Create(const platform::Form& owner, int logo_resource);

  // Shows the texts, the running version and "searching" as the latest.
  void OnLoad();
  // Checks for a newer version each time the window becomes active.
  void OnActivate();
  void OnHomePageClick();
  void OnButtonClick();

  // The latest published version: the version file's first line, or ""
  // when no version could be fetched (the local copy is then left alone).
  std::wstring FetchLatestVersion();
  // Fetches url into destination. The file is written beside it first and
  // takes its place only when the whole body of a successful reply has
  // arrived, no longer than limit bytes, and accept (when given) takes the
  // written file; otherwise destination stays as it was. Redirects are
  // followed only on the same host, and from http only up to https.
  Download DownloadFile(const std::wstring& url, const std::wstring& destination,
                        bool show_progress, std::int64_t limit,
                        const std::function<bool(const std::wstring& written)>& accept = {});
  virtual void ShowProgress(int percent);

  // Set before OnLoad.
  AboutTexts texts;
  // Where the version file and the installer come from, and where their
  // local copies go: the program's folder when it can be written, else the
  // program's folder under the user's local application data.
  std::wstring update_server, home_page, program_folder, local_data_folder;
  // The vendor's ECDSA P-256 public key (PEM) that an installer's
  // signature must verify under before it is started.
  std::string update_public_key;

  // The shell's open verb and the end of the program after the installer
  // has started; tests put their own in place.
  std::function<int(const std::wstring& file, const std::wstring* parameters,
                    const std::wstring* directory)>
      shell_open;
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
  platform::HttpTransfer transfer;

 private:
  enum class ButtonRole { kClose, kUpdate, kCancel };

  // The texts of the window and the button in its close role.
  void ApplyLanguage();
  void SetRole(ButtonRole role);
  void StartUpdate();
  // Requests url and follows the redirects the rule allows: kComplete once
  // the headers of a reply that is no redirect are in.
  Download AwaitFinalReply(const std::wstring& url);
  // Writes the reply's body into file as it comes, showing progress when
  // asked: the bytes received, or nothing when the body went over limit or
  // could not be written.
  std::optional<std::int64_t> ReceiveBody(platform::ByteFileWriter& file, bool show_progress,
                                          std::int64_t limit, std::int64_t expected);
  // The folder the version file and the installer are written to.
  std::wstring UpdateFolder() const;
  // Whether the downloaded installer may be started as the update to
  // version: its signature verifies under the vendor's key, and its own
  // version is that one and greater than the running one.
  bool IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                          const std::wstring& version) const;

  ButtonRole role_ = ButtonRole::kClose;
  // The version the update role offers.
  std::wstring offered_version_;
  // The status line says that no latest version could be fetched.
  bool showing_no_version_ = false;
  // A check or a download is using the transfer; an activation meanwhile
  // does not start another.
  bool busy_ = false;
  // The cancel role was pressed during the running update.
  bool update_cancelled_ = false;
};

// Help > About: loads the About window afresh with texts and the logo
// picture and shows it modally over owner.
void ShowAbout(platform::Form& owner, const AboutTexts& texts, int logo_resource,
               std::function<void()> before_install);

}  // namespace update
