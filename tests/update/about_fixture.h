// The About window against a real HTTP server publishing version files and
// stand-in installers signed with the tests' own key; the shell, the
// elevation and the program's end replaced.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/timer.h"
#include "support/build_path.h"
#include "support/http_server.h"
#include "support/window_input.h"
#include "support/temp_folder.h"
#include "test_update_key.h"
#include "update/about_window.h"
#include "version.h"

namespace update {

using namespace testing_support;

inline const char kVersionPath[] = "/download/TavrikBackup.upd";
inline const char kInstallerPath[] = "/download/TavrikBackup.exe";
inline const char kSignaturePath[] = "/download/TavrikBackup.exe.sig";
inline const wchar_t kRunning[] = L"" TAVRIK_VERSION_TEXT;
inline const AboutTexts kTexts{L"About",  L"Current:", L"Latest:",   L"CLOSE",       L"UPDATE",
                               L"CANCEL", L"Searching", L"No version", L"-", L"Updating...",
                               L"Update Canceled!", L"Error updating...", L"Proxy password"};
inline const std::string kOffer = "0.2.0\r\n";

// The stand-in installers of versions 0.2.0 and 0.1.6 and their signatures.
inline std::string NewInstaller() { return ReadFile(BuildPath(TAVRIK_TEST_NEW_INSTALLER)); }
inline std::string NewSignature() { return ReadFile(BuildPath(TAVRIK_TEST_NEW_INSTALLER ".sig")); }
inline std::string OldInstaller() { return ReadFile(BuildPath(TAVRIK_TEST_OLD_INSTALLER)); }
inline std::string OldSignature() { return ReadFile(BuildPath(TAVRIK_TEST_OLD_INSTALLER ".sig")); }

inline HttpReply R(std::string body, int status = 200, std::string headers = "") {
  HttpReply reply{status, std::move(body)};
  return reply.headers = std::move(headers), reply;
}
inline HttpReply Framed(std::string body, bool chunked, bool length, std::size_t cut = std::string::npos,
                        std::size_t stall = std::string::npos, int trickle_ms = 0) {
  HttpReply reply{200, std::move(body)};
  reply.chunked = chunked, reply.send_length = length, reply.cut_after = cut, reply.stall_after = stall;
  return reply.trickle_ms = trickle_ms, reply;
}
inline HttpReply Trickle(std::string body, int ms) { return Framed(std::move(body), false, true, -1, -1, ms); }
inline std::string Padded(std::size_t size) { return kOffer + std::string(size, 'x'); }

// One owner for every About window of the run: the last window of the
// program going away would end its message loop.
inline platform::Form& Owner() {
  static platform::Form* owner = new platform::Form;
  if (!owner->handle()) owner->CreateForm({L"Owner", 9000, 7000, platform::Form::Border::kFixedSingle, {}});
  return *owner;
}

struct RecordingAbout : AboutWindow {
  void ShowDownloadPercent(int percent) override { percents.push_back(percent), AboutWindow::ShowDownloadPercent(percent); }
  std::vector<int> percents;
};

// Members are open to the tables' cases, which arrange a fixture each.
struct AboutTest : testing::Test {
  void Prepare(AboutWindow& window) {
    window.texts = kTexts;
    window.update_server = server.base_url();
    window.home_page = L"http://home.example/";
    window.program_folder = folder.path();
    window.local_data_folder = folder / L"local";
    window.update_public_key = TAVRIK_TEST_UPDATE_PUBLIC_KEY_PEM;
    for (FileDownload* download : {&window.version_download, &window.installer_download})
      download->transfer.set_timeouts(2000, 2000);
    window.Create(Owner(), 0);
    window.OnLoad();
  }
  void SetUp() override {
    about.shell_open = [this](const std::wstring& file, const std::wstring* parameters, const std::wstring* folder) {
      const auto text = [](const std::wstring* value) { return value ? *value : L"<null>"; };
      return shell_calls.push_back(file + L"|" + text(parameters) + L"|" + text(folder)), start_result;
    };
    about.start_elevated = [](auto&&...) { return ADD_FAILURE() << "a user's own installation is never elevated", false; };
    about.end_program = [this] { ended = true, about.Unload(); };
    Prepare(about);
  }
  void TearDown() override { about.Unload(); }

  void Activate() {  // a check from an activation, to its end
    about.OnActivate();
    EXPECT_TRUE(PumpUntil([&] { return !about.checking() || !about.loaded(); }));
  }
  void Press() {  // a press of the button, and the update it starts to its end
    about.OnButtonClick();
    EXPECT_TRUE(PumpUntil([&] { return !about.updating() || !about.loaded(); }));
  }
  void Publish(const std::string& version_file) { server.Serve(kVersionPath, R(version_file)); }
  std::string LocalVersionFile() { return ReadFile(folder / L"TavrikBackup.upd"); }
  // Publishes 0.2.0 with the given installer and signature, offered.
  void Offer(std::string installer = NewInstaller(), std::string signature = NewSignature()) {
    Publish(kOffer);
    server.Serve(kInstallerPath, R(std::move(installer)));
    server.Serve(kSignaturePath, R(std::move(signature)));
    Activate();
    ASSERT_EQ(about.button.text(), kTexts.update);
  }
  // Offers a slow installer and runs action from a timer once its download
  // has begun, as a user would; then lets the update end.
  void DuringDownload(std::function<void()> action) {
    Offer();
    server.Serve(kInstallerPath, Framed(std::string(5000, 'i'), false, true, std::string::npos, 1024));
    timer.Create(about, 20, true);
    timer.on_tick = [this, action] {
      if (about.percents.empty()) return;
      timer.set_enabled(false);
      text_during_download = about.button.text();
      action();
    };
    Press();
    server.Release();
  }

  testing_support::TempFolder folder;
  HttpServer server;
  RecordingAbout about;
  platform::Timer timer;
  std::vector<std::wstring> shell_calls;
  int start_result = 42;
  bool ended = false;
  std::wstring text_during_download;
};

}  // namespace update
