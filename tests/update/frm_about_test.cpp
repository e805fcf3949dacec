// The About window against a real HTTP server on 127.0.0.1: the version
// check and what it offers, the download into the program folder with its
// progress, and the button's close, update and cancel roles. The shell and
// the end of the program are replaced, so that nothing is really started.
#include "update/frm_about.h"

#include <gtest/gtest.h>

#include "app/texts.h"
#include "platform/files.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "version.h"

namespace update {
namespace {

using testing_support::HttpReply;
using testing_support::HttpServer;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

const char kVersionPath[] = "/download/TavrikBackup.upd";
const char kInstallerPath[] = "/download/TavrikBackup.exe";

std::string Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
  return body;
}

// One owner for every About window of the run: the last window of the
// program going away would end its message loop.
platform::Form& Owner() {
  static platform::Form* owner = [] {
    auto* form = new platform::Form;
    form->CreateForm({L"Owner", 9000, 7000, platform::Form::Border::kFixedSingle, {}});
    return form;
  }();
  return *owner;
}

class RecordingAbout : public FrmAbout {
 public:
  void DownloadProgress(int intPercent) override {
    percents.push_back(intPercent);
    FrmAbout::DownloadProgress(intPercent);
  }
  std::vector<int> percents;
};

struct ShellCall {
  std::wstring file;
  std::wstring parameters, directory;  // "<null>" for a null pointer
  std::string installer;               // install.exe's bytes when it was started
};

class AboutTest : public testing::Test {
 protected:
  void Load(const std::wstring& lang) {
    const app::MainTexts texts = app::MainTextsFor(lang);
    about.strLang = lang;
    about.strClose = texts.strClose;
    about.strCancel = texts.strCancel;
    about.update_server = server.base_url();
    about.home_page = L"http://home.example/";
    about.program_folder = folder.path();
    about.InetFileDownload.set_timeouts(2000, 2000);
    about.shell_open = [this](const std::wstring& file, const std::wstring* parameters,
                              const std::wstring* directory) {
      const std::optional<std::string> installer =
          platform::ReadFileBytes(folder / L"install.exe");
      shell_calls.push_back({file, parameters ? *parameters : L"<null>",
                             directory ? *directory : L"<null>", installer.value_or("")});
      return start_result;
    };
    about.end_program = [this] {
      ended = true;
      about.Unload();
    };
    about.Create(Owner());
    about.Form_Load();
  }

  void TearDown() override {
    if (about.loaded()) about.Unload();
  }

  void Publish(const std::string& version_file) {
    server.Serve(kVersionPath, HttpReply{200, version_file});
  }

  std::string LocalVersionFile() { return ReadFile(folder / L"TavrikBackup.upd"); }

  // Presses the button from a timer once cond holds, as a user would while
  // the update's download runs.
  void PressWhen(std::function<bool()> cond, std::function<void()> press) {
    timer.Create(about, 20, true);
    timer.on_tick = [this, cond, press] {
      if (!cond()) return;
      timer.set_enabled(false);
      caption_during_download = about.btnUpdate.caption();
      press();
    };
  }

  TempFolder folder;
  HttpServer server;
  RecordingAbout about;
  platform::Timer timer;
  std::vector<ShellCall> shell_calls;
  int start_result = 42;
  bool ended = false;
  std::wstring caption_during_download;
};

TEST_F(AboutTest, LoadShowsTheRunningVersionAndSearchingInEnglish) {
  Load(L"ENU");
  EXPECT_EQ(about.caption(), L"About");
  EXPECT_EQ(about.lblVersionLabel.caption(), L"Current version:");
  EXPECT_EQ(about.lblNewVersionLabel.caption(), L"Latest version:");
  EXPECT_EQ(about.lblVersion.caption(), platform::FromAnsi(TAVRIK_VERSION_TEXT));
  EXPECT_EQ(about.lblNewVersion.caption(), L"Searching...");
  EXPECT_EQ(about.btnUpdate.caption(), L"CLOSE");
  EXPECT_EQ(about.lblURL.caption(), L"http://home.example/");
  EXPECT_EQ(about.lblError.caption(), L"");
  EXPECT_FALSE(about.barUpdate.visible());
}

TEST_F(AboutTest, LoadInSpanish) {
  Load(L"ESP");
  EXPECT_EQ(about.caption(), L"Acerca de");
  EXPECT_EQ(about.lblVersionLabel.caption(), L"Versi\u00F3n actual:");
  EXPECT_EQ(about.lblNewVersionLabel.caption(), L"Nueva versi\u00F3n:");
  EXPECT_EQ(about.lblNewVersion.caption(), L"Buscando...");
  EXPECT_EQ(about.btnUpdate.caption(), L"CERRAR");
}

struct VersionCase {
  const char* published;
  const wchar_t* shown;
  bool offered;
};

class VersionCheckTest : public AboutTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, ShowsTheFirstLineAndOffersOnlyAGreaterVersion) {
  Load(L"ENU");
  ASSERT_EQ(about.lblVersion.caption(), L"0.1.7");
  Publish(GetParam().published);
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), GetParam().shown);
  EXPECT_EQ(about.btnUpdate.caption(), GetParam().offered ? L"Update Software" : L"CLOSE");
  EXPECT_EQ(LocalVersionFile(), GetParam().published);
  EXPECT_EQ(about.lblError.caption(), L"");
}

INSTANTIATE_TEST_SUITE_P(
    Published, VersionCheckTest,
    testing::Values(VersionCase{"0.1.7\r\n", L"0.1.7", false},
                    VersionCase{"0.1.7", L"0.1.7", false},
                    VersionCase{"0.1.10\r\n", L"0.1.10", false},
                    VersionCase{"0.2.0\r\n", L"0.2.0", true},
                    VersionCase{"0.1.7 \r\n", L"0.1.7 ", true},
                    VersionCase{"0.1.6\n0.1.8\n", L"0.1.6\n0.1.8\n", false},
                    VersionCase{"0.1.7\n", L"0.1.7\n", true},
                    VersionCase{"0.1.6\r\n0.2.0\r\n", L"0.1.6", false}));

TEST_F(AboutTest, CheckAsksForTheWholeFile) {
  Load(L"ENU");
  Publish("0.1.7\r\n");
  WriteFile(folder / L"TavrikBackup.upd", "0.1");
  about.Form_Activate();
  const std::vector<std::string> requests = server.Requests(kVersionPath);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
}

TEST_F(AboutTest, EachActivationChecksAgainAndReplacesTheLocalCopyWhole) {
  Load(L"ENU");
  WriteFile(folder / L"TavrikBackup.upd", "0.0.1\r\nan older and much longer file\r\n");
  Publish("0.1.7\r\n");
  about.Form_Activate();
  EXPECT_EQ(LocalVersionFile(), "0.1.7\r\n");
  Publish("0.2.0\r\n");
  about.Form_Activate();
  EXPECT_EQ(LocalVersionFile(), "0.2.0\r\n");
  EXPECT_EQ(about.btnUpdate.caption(), L"Update Software");
  EXPECT_EQ(server.Requests(kVersionPath).size(), 2u);
  EXPECT_FALSE(platform::FileExists(folder / L"TavrikBackup.upd.part"));
}

class FailedCheckTest : public AboutTest, public testing::WithParamInterface<int> {};

// 0: refused, 1: 404 with a page, 2: body cut short, 3: server that never answers.
TEST_P(FailedCheckTest, KeepsTheLocalCopyAndSaysNoVersionIsKnown) {
  Load(GetParam() == 1 ? L"ESP" : L"ENU");
  const std::string earlier = "0.9.9\r\nearlier copy\r\n";
  WriteFile(folder / L"TavrikBackup.upd", earlier);
  switch (GetParam()) {
    case 0:
      about.update_server = testing_support::RefusingUrl();
      break;
    case 1:
      server.Serve(kVersionPath, HttpReply{404, "9.9.9\r\n<html>not found</html>"});
      break;
    case 2: {
      HttpReply cut{200, "0.2.0\r\n" + Body(3000)};
      cut.cut_after = 1500;
      server.Serve(kVersionPath, cut);
      break;
    }
    case 3: {
      HttpReply silent;
      silent.silent = true;
      server.Serve(kVersionPath, silent);
      about.InetFileDownload.set_timeouts(1000, 1000);
      break;
    }
  }
  about.Form_Activate();
  EXPECT_EQ(LocalVersionFile(), earlier);
  EXPECT_FALSE(platform::FileExists(folder / L"TavrikBackup.upd.part"));
  EXPECT_EQ(about.lblNewVersion.caption(), L"-");
  EXPECT_EQ(about.lblError.caption(), app::AboutTextsFor(about.strLang).strNoVersion);
  EXPECT_EQ(about.btnUpdate.caption(), about.strClose);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedCheckTest, testing::Values(0, 1, 2, 3));

TEST_F(AboutTest, EmptyVersionFileOffersNothing) {
  Load(L"ENU");
  Publish("");
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"-");
  EXPECT_EQ(about.btnUpdate.caption(), L"CLOSE");
}

TEST_F(AboutTest, ASuccessfulCheckClearsAnEarlierFailure) {
  Load(L"ENU");
  about.Form_Activate();  // nothing published: 404
  EXPECT_NE(about.lblError.caption(), L"");
  Publish("0.1.7\r\n");
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"0.1.7");
  EXPECT_EQ(about.lblError.caption(), L"");
}

struct PiecesCase {
  std::size_t size;
  std::vector<int> percents;  // one per piece, the last one empty or of one byte
};

class DownloadPiecesTest : public AboutTest, public testing::WithParamInterface<PiecesCase> {};

TEST_P(DownloadPiecesTest, MovesTheBarOncePerPiece) {
  Load(L"ENU");
  const std::string body = Body(GetParam().size);
  server.Serve("/f", HttpReply{200, body});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", true),
            Download::kComplete);
  EXPECT_EQ(about.percents, GetParam().percents);
  EXPECT_EQ(about.barUpdate.value(), 100);
  EXPECT_EQ(ReadFile(folder / L"f.bin"), body);
}

// 2500 bytes: 1024, 1024, 452 and an empty piece. 1025 bytes: 1024 and one
// byte, which ends the loop without asking for another piece.
INSTANTIATE_TEST_SUITE_P(Bodies, DownloadPiecesTest,
                         testing::Values(PiecesCase{2500, {41, 82, 100, 100}},
                                         PiecesCase{1025, {100, 100}},
                                         PiecesCase{2048, {50, 100, 100}}));

TEST_F(AboutTest, DownloadWithoutProgressLeavesTheBarAlone) {
  Load(L"ENU");
  server.Serve("/f", HttpReply{200, Body(3000)});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", false),
            Download::kComplete);
  EXPECT_TRUE(about.percents.empty());
}

TEST_F(AboutTest, DownloadWithoutContentLengthGoesOnWithTheBarLeftAlone) {
  Load(L"ENU");
  const std::string body = Body(2500);
  HttpReply unknown{200, body};
  unknown.send_length = false;
  server.Serve("/f", unknown);
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", true),
            Download::kComplete);
  EXPECT_TRUE(about.percents.empty());
  EXPECT_EQ(about.barUpdate.value(), 0);
  EXPECT_EQ(ReadFile(folder / L"f.bin"), body);
}

TEST_F(AboutTest, EmptyBodyEmptiesTheDestination) {
  Load(L"ENU");
  WriteFile(folder / L"f.bin", "old bytes");
  server.Serve("/f", HttpReply{200, ""});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", false),
            Download::kComplete);
  EXPECT_EQ(ReadFile(folder / L"f.bin"), "");
}

TEST_F(AboutTest, DownloadIntoAFolderThatCannotBeWrittenFails) {
  Load(L"ENU");
  server.Serve("/f", HttpReply{200, Body(100)});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"no\\such\\f.bin", false),
            Download::kFailed);
}

TEST_F(AboutTest, HomePageLinkOpensTheHomePage) {
  Load(L"ENU");
  about.lblURL_Click();
  ASSERT_EQ(shell_calls.size(), 1u);
  EXPECT_EQ(shell_calls[0].file, L"http://home.example/");
  EXPECT_EQ(shell_calls[0].parameters, L"<null>");
  EXPECT_EQ(shell_calls[0].directory, L"<null>");
}

TEST_F(AboutTest, CloseRoleUnloadsTheWindow) {
  Load(L"ENU");
  about.btnUpdate_Click();
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(shell_calls.empty());
}

TEST_F(AboutTest, CaptionOfNoRoleDoesNothing) {
  Load(L"ENU");
  about.btnUpdate.set_caption(L"Close");
  about.btnUpdate_Click();
  EXPECT_TRUE(about.loaded());
  EXPECT_EQ(about.lblError.caption(), L"");
}

class UpdateTest : public AboutTest, public testing::WithParamInterface<const wchar_t*> {
 protected:
  void Offer(const std::string& installer) {
    Load(GetParam());
    Publish("0.2.0\r\n");
    server.Serve(kInstallerPath, HttpReply{200, installer});
    about.Form_Activate();
    ASSERT_EQ(about.btnUpdate.caption(), about.strUpdate);
  }
};

TEST_P(UpdateTest, CompleteDownloadStartsTheInstallerAndEndsTheProgram) {
  const std::string installer = Body(3000);
  Offer(installer);
  about.btnUpdate_Click();
  ASSERT_EQ(shell_calls.size(), 1u);
  EXPECT_EQ(shell_calls[0].file, folder.path() + L"/install.exe");
  EXPECT_EQ(shell_calls[0].parameters, L"");
  EXPECT_EQ(shell_calls[0].directory, L"");
  EXPECT_EQ(shell_calls[0].installer, installer);
  EXPECT_EQ(about.percents, (std::vector<int>{34, 68, 100, 100}));
  EXPECT_TRUE(ended);
  EXPECT_FALSE(about.loaded());
}

TEST_P(UpdateTest, InstallerThatDoesNotStartShowsTheError) {
  Offer(Body(3000));
  start_result = 2;
  about.btnUpdate_Click();
  EXPECT_EQ(shell_calls.size(), 1u);
  EXPECT_FALSE(ended);
  EXPECT_EQ(about.lblError.caption(), L"Error updating...");
  EXPECT_EQ(about.btnUpdate.caption(), about.strClose);
  EXPECT_TRUE(about.barUpdate.visible());
  EXPECT_EQ(about.barUpdate.value(), 100);
  about.btnUpdate_Click();
  EXPECT_FALSE(about.loaded());
}

TEST_P(UpdateTest, ShellResultIsTakenAsASigned16BitNumber) {
  Offer(Body(10));
  start_result = 0x10000 + 5;
  about.btnUpdate_Click();
  EXPECT_FALSE(ended);
  EXPECT_EQ(about.lblError.caption(), L"Error updating...");
}

TEST_P(UpdateTest, CancelDuringASlowDownloadStartsNothing) {
  HttpReply slow{200, Body(5000)};
  slow.stall_after = 1024;
  Offer("");
  server.Serve(kInstallerPath, slow);
  WriteFile(folder / L"install.exe", "earlier installer");
  PressWhen([this] { return about.barUpdate.value() > 0; }, [this] { about.btnUpdate_Click(); });
  about.btnUpdate_Click();
  server.Release();
  EXPECT_EQ(caption_during_download, about.strCancel);
  EXPECT_EQ(about.percents, (std::vector<int>{20, 20}));
  EXPECT_EQ(about.lblError.caption(), L"Update Canceled!");
  EXPECT_EQ(about.btnUpdate.caption(), about.strClose);
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_FALSE(ended);
  EXPECT_EQ(ReadFile(folder / L"install.exe"), "earlier installer");
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe.part"));
  about.btnUpdate_Click();
  EXPECT_FALSE(about.loaded());
}

TEST_P(UpdateTest, ClosingTheWindowDuringTheDownloadStartsNothing) {
  HttpReply slow{200, Body(5000)};
  slow.stall_after = 1024;
  Offer("");
  server.Serve(kInstallerPath, slow);
  PressWhen([this] { return about.barUpdate.value() > 0; }, [this] { about.Unload(); });
  about.btnUpdate_Click();
  server.Release();
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe"));
}

TEST_P(UpdateTest, ActivationDuringTheDownloadDoesNotCheckAgain) {
  HttpReply slow{200, Body(5000)};
  slow.stall_after = 1024;
  Offer("");
  server.Serve(kInstallerPath, slow);
  PressWhen([this] { return about.barUpdate.value() > 0; },
            [this] {
              about.Form_Activate();
              server.Release();
            });
  about.btnUpdate_Click();
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_EQ(shell_calls.size(), 1u);
}

TEST_P(UpdateTest, FailedDownloadsLeaveTheEarlierInstallerAndStartNothing) {
  Offer("");
  const std::string earlier = "earlier installer";
  WriteFile(folder / L"install.exe", earlier);
  for (int failure = 0; failure < 3; ++failure) {
    if (failure == 0) server.Serve(kInstallerPath, HttpReply{404, "<html>gone</html>"});
    if (failure == 1) {
      HttpReply cut{200, Body(5000)};
      cut.cut_after = 2000;
      server.Serve(kInstallerPath, cut);
    }
    if (failure == 2) about.update_server = testing_support::RefusingUrl();
    about.btnUpdate.set_caption(about.strUpdate);
    about.btnUpdate_Click();
    EXPECT_EQ(about.lblError.caption(), L"Error updating...") << failure;
    EXPECT_EQ(about.btnUpdate.caption(), about.strClose) << failure;
    EXPECT_EQ(ReadFile(folder / L"install.exe"), earlier) << failure;
    EXPECT_FALSE(platform::FileExists(folder / L"install.exe.part")) << failure;
  }
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_FALSE(ended);
}

INSTANTIATE_TEST_SUITE_P(Languages, UpdateTest, testing::Values(L"ENU", L"ESP"));

}  // namespace
}  // namespace update
