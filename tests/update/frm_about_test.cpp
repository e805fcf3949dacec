// The About window against a real HTTP server on 127.0.0.1: the version
// check and which replies it takes, the download into the program folder
// with its progress, the signed installer's checks, and the button's close,
// update and cancel roles. The shell and the end of the program are
// replaced, so that nothing is really started. The installers are stand-ins
// signed at build time with the tests' own throwaway key.
#include "update/frm_about.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"
#include "platform/files.h"
#include "support/build_path.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "test_update_key.h"
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
const char kSignaturePath[] = "/download/TavrikBackup.exe.sig";
constexpr std::int64_t kAnySize = 1 << 20;

const unsigned char kTestKey[] = {TAVRIK_TEST_UPDATE_PUBLIC_KEY_BYTES};

std::string BuildFile(const char* path) { return ReadFile(testing_support::BuildPath(path)); }

std::size_t ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  std::size_t count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

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
  void Prepare(FrmAbout& window, const std::wstring& lang) {
    const app::MainTexts texts = app::MainTextsFor(lang);
    window.strLang = lang;
    window.strClose = texts.strClose;
    window.strCancel = texts.strCancel;
    window.update_server = server.base_url();
    window.home_page = L"http://home.example/";
    window.program_folder = folder.path();
    window.local_data_folder = folder / L"local";
    window.update_public_key.assign(reinterpret_cast<const char*>(kTestKey), sizeof kTestKey);
    window.InetFileDownload.set_timeouts(2000, 2000);
  }

  void Load(const std::wstring& lang) {
    Prepare(about, lang);
    about.shell_open = [this](const std::wstring& file, const std::wstring* parameters,
                              const std::wstring* directory) {
      std::wstring path = file;
      std::replace(path.begin(), path.end(), L'/', L'\\');
      const std::optional<std::string> installer = platform::ReadFileBytes(path);
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
                    VersionCase{"0.2.0\n", L"0.2.0", true},
                    VersionCase{"0.1.6\n0.1.8\n", L"0.1.6", false},
                    VersionCase{"0.1.6\r\n0.2.0\r\n", L"0.1.6", false}));

TEST_F(AboutTest, CheckAsksForTheWholeFile) {
  Load(L"ENU");
  Publish("0.1.7\r\n");
  WriteFile(folder / L"TavrikBackup.upd", "0.1");
  about.Form_Activate();
  const std::vector<std::string> requests = server.Requests(kVersionPath);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("\r\nUser-Agent: Tavrik Backup/0.1.7\r\n"), std::string::npos);
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

// A reply the check does not take, as a hostile or broken server may give.
struct RefusedCase {
  const char* name;
  void (*serve)(HttpServer& server, FrmAbout& about);
};

HttpReply Version(std::string body) { return HttpReply{200, std::move(body)}; }

const RefusedCase kRefusedReplies[] = {
    {"Refused", [](HttpServer&, FrmAbout& about) { about.update_server = testing_support::RefusingUrl(); }},
    {"NotFoundPage",
     [](HttpServer& server, FrmAbout&) {
       server.Serve(kVersionPath, HttpReply{404, "9.9.9\r\n<html>not found</html>"});
     }},
    {"Silent",
     [](HttpServer& server, FrmAbout& about) {
       HttpReply silent;
       silent.silent = true;
       server.Serve(kVersionPath, silent);
       about.InetFileDownload.set_timeouts(1000, 1000);
     }},
    {"HtmlPage",
     [](HttpServer& server, FrmAbout&) {
       server.Serve(kVersionPath, Version("<!DOCTYPE html>\r\n<html><body>Log in</body></html>"));
     }},
    {"TrailingBlank", [](HttpServer& server, FrmAbout&) { server.Serve(kVersionPath, Version("0.2.0 \r\n")); }},
    {"Letters", [](HttpServer& server, FrmAbout&) { server.Serve(kVersionPath, Version("v0.2.0\r\n")); }},
    {"TooLong",
     [](HttpServer& server, FrmAbout&) { server.Serve(kVersionPath, Version("0.2.0.0.0.0.0.0.0.0.0\r\n")); }},
    {"Empty", [](HttpServer& server, FrmAbout&) { server.Serve(kVersionPath, Version("")); }},
    {"RedirectToAnotherHost",
     [](HttpServer& server, FrmAbout&) {
       HttpReply moved{302, ""};
       const std::wstring base = server.base_url();
       moved.headers = "Location: http://localhost:" +
                       std::string(base.begin() + base.rfind(L':') + 1, base.end()) +
                       "/download/moved.upd\r\n";
       server.Serve(kVersionPath, moved);
       server.Serve("/download/moved.upd", Version("0.2.0\r\n"));
     }},
    {"CutWithLength",
     [](HttpServer& server, FrmAbout&) {
       HttpReply cut = Version("0.2.0\r\n" + Body(3000));
       cut.cut_after = 1500;
       server.Serve(kVersionPath, cut);
     }},
    {"CutWithoutLength",
     [](HttpServer& server, FrmAbout& about) {
       // The connection stops without ending (Wine reports a reset one as
       // ending normally, so the test cannot use a reset).
       HttpReply cut = Version("0.2.0\r\n" + Body(3000));
       cut.send_length = false;
       cut.stall_after = 1500;
       server.Serve(kVersionPath, cut);
       about.InetFileDownload.set_timeouts(1000, 1000);
     }},
    {"ChunkedWithoutItsFinalChunk",
     [](HttpServer& server, FrmAbout&) {
       // Two chunks of 1000 bytes ("3e8" CR LF, the data, CR LF), whole; the
       // final chunk is left out.
       HttpReply cut = Version("0.2.0\r\n" + Body(1993));
       cut.chunked = true;
       cut.cut_after = 2 * (5 + 1000 + 2);
       server.Serve(kVersionPath, cut);
     }},
    {"PartialRange",
     [](HttpServer& server, FrmAbout&) {
       HttpReply part{206, "0.2.0\r\n"};
       part.headers = "Content-Range: bytes 0-6/90\r\n";
       server.Serve(kVersionPath, part);
     }},
    {"OverFourKiB",
     [](HttpServer& server, FrmAbout&) { server.Serve(kVersionPath, Version("0.2.0\r\n" + Body(4100))); }},
    {"OverFourKiBWithoutLength",
     [](HttpServer& server, FrmAbout&) {
       HttpReply big = Version("0.2.0\r\n" + Body(4100));
       big.send_length = false;
       server.Serve(kVersionPath, big);
     }},
};

class RefusedReplyTest : public AboutTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedReplyTest, KeepsTheLocalCopyAndSaysNoVersionIsKnown) {
  Load(L"ENU");
  const std::string earlier = "0.1.5\r\nearlier copy\r\n";
  WriteFile(folder / L"TavrikBackup.upd", earlier);
  GetParam().serve(server, about);
  about.Form_Activate();
  EXPECT_EQ(LocalVersionFile(), earlier);
  EXPECT_FALSE(platform::FileExists(folder / L"TavrikBackup.upd.part"));
  EXPECT_EQ(about.lblNewVersion.caption(), L"-");
  EXPECT_EQ(about.lblError.caption(), app::AboutTextsFor(L"ENU").strNoVersion);
  EXPECT_EQ(about.btnUpdate.caption(), L"CLOSE");
  EXPECT_TRUE(server.Requests("/download/moved.upd").empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, RefusedReplyTest, testing::ValuesIn(kRefusedReplies),
                         [](const auto& info) { return std::string(info.param.name); });

// Whole replies in the other forms HTTP allows are taken.
const RefusedCase kTakenReplies[] = {
    {"RedirectOnTheSameHost",
     [](HttpServer& server, FrmAbout&) {
       HttpReply moved{302, ""};
       moved.headers = "Location: moved.upd\r\n";
       server.Serve(kVersionPath, moved);
       server.Serve("/download/moved.upd", Version("0.2.0\r\n"));
     }},
    {"Chunked",
     [](HttpServer& server, FrmAbout&) {
       HttpReply chunked = Version("0.2.0\r\n" + Body(1500));
       chunked.chunked = true;
       server.Serve(kVersionPath, chunked);
     }},
    {"WithoutLengthToTheEnd",
     [](HttpServer& server, FrmAbout&) {
       HttpReply plain = Version("0.2.0\r\n");
       plain.send_length = false;
       server.Serve(kVersionPath, plain);
     }},
    {"RangeOfTheWholeFile",
     [](HttpServer& server, FrmAbout&) {
       HttpReply whole{206, "0.2.0\r\n"};
       whole.headers = "Content-Range: bytes 0-6/7\r\n";
       server.Serve(kVersionPath, whole);
     }},
};

class TakenReplyTest : public AboutTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(TakenReplyTest, OffersTheVersion) {
  Load(L"ENU");
  GetParam().serve(server, about);
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"0.2.0");
  EXPECT_EQ(about.btnUpdate.caption(), L"Update Software");
}

INSTANTIATE_TEST_SUITE_P(Replies, TakenReplyTest, testing::ValuesIn(kTakenReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, ASuccessfulCheckClearsAnEarlierFailure) {
  Load(L"ENU");
  about.Form_Activate();  // nothing published: 404
  EXPECT_NE(about.lblError.caption(), L"");
  Publish("0.1.7\r\n");
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"0.1.7");
  EXPECT_EQ(about.lblError.caption(), L"");
}

TEST_F(AboutTest, ARecheckKeepsOnlyAnOfferItCanHonour) {
  Load(L"ENU");
  Publish("0.2.0\r\n");
  about.Form_Activate();
  server.Serve(kVersionPath, HttpReply{404, "gone"});
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"0.2.0");
  EXPECT_EQ(about.btnUpdate.caption(), L"Update Software");
  Publish("0.1.7\r\n");
  about.Form_Activate();
  EXPECT_EQ(about.lblNewVersion.caption(), L"0.1.7");
  EXPECT_EQ(about.btnUpdate.caption(), L"CLOSE");
}

TEST_F(AboutTest, ClosingDuringACheckLeavesNoConnectionOrThreadBehind) {
  HttpReply trickle = Version("0.2.0\r\n");
  trickle.trickle_ms = 5000;
  server.Serve(kVersionPath, trickle);
  const std::size_t threads = ThreadsOfThisProcess();
  for (int cycle = 0; cycle < 20; ++cycle) {
    FrmAbout window;
    Prepare(window, L"ENU");
    window.Create(Owner());
    window.Form_Load();
    platform::Timer closer;
    closer.Create(window, 30, true);
    closer.on_tick = [&window] { window.Unload(); };
    window.Form_Activate();
    ASSERT_FALSE(window.loaded());
  }
  EXPECT_EQ(server.Requests(kVersionPath).size(), 20u);
  for (int wait = 0; wait < 40 && server.OpenConnections() > 0; ++wait) Sleep(50);
  EXPECT_EQ(server.OpenConnections(), 0u);
  EXPECT_LE(ThreadsOfThisProcess(), threads);
}

TEST_F(AboutTest, AProgramFolderThatCannotBeWrittenUsesTheLocalDataFolder) {
  Load(L"ENU");
  // Not even root may create files in /proc, which Wine shows as Z:\proc.
  about.program_folder = L"Z:\\proc";
  testing_support::MakeFolders(folder / L"local");
  Publish("0.2.0\r\n");
  server.Serve(kInstallerPath, HttpReply{200, BuildFile(TAVRIK_TEST_NEW_INSTALLER)});
  server.Serve(kSignaturePath, HttpReply{200, BuildFile(TAVRIK_TEST_NEW_INSTALLER ".sig")});
  about.Form_Activate();
  const std::wstring local = folder / L"local\\Tavrik Backup";
  EXPECT_EQ(ReadFile(local + L"\\TavrikBackup.upd"), "0.2.0\r\n");
  about.btnUpdate_Click();
  ASSERT_EQ(shell_calls.size(), 1u);
  EXPECT_EQ(shell_calls[0].file, local + L"/install.exe");
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
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", true, kAnySize),
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
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", false, kAnySize),
            Download::kComplete);
  EXPECT_TRUE(about.percents.empty());
}

TEST_F(AboutTest, DownloadWithoutContentLengthGoesOnWithTheBarLeftAlone) {
  Load(L"ENU");
  const std::string body = Body(2500);
  HttpReply unknown{200, body};
  unknown.send_length = false;
  server.Serve("/f", unknown);
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", true, kAnySize),
            Download::kComplete);
  EXPECT_TRUE(about.percents.empty());
  EXPECT_EQ(about.barUpdate.value(), 0);
  EXPECT_EQ(ReadFile(folder / L"f.bin"), body);
}

TEST_F(AboutTest, EmptyBodyEmptiesTheDestination) {
  Load(L"ENU");
  WriteFile(folder / L"f.bin", "old bytes");
  server.Serve("/f", HttpReply{200, ""});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"f.bin", false, kAnySize),
            Download::kComplete);
  EXPECT_EQ(ReadFile(folder / L"f.bin"), "");
}

TEST_F(AboutTest, DownloadIntoAFolderThatCannotBeWrittenFails) {
  Load(L"ENU");
  server.Serve("/f", HttpReply{200, Body(100)});
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/f", folder / L"no\\such\\f.bin", false, kAnySize),
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
  // Publishes 0.2.0 with the given installer and signature (by default the
  // signed stand-in of 0.2.0) and lets the window offer it.
  void Offer(std::string installer = BuildFile(TAVRIK_TEST_NEW_INSTALLER),
             std::string signature = BuildFile(TAVRIK_TEST_NEW_INSTALLER ".sig")) {
    Load(GetParam());
    Publish("0.2.0\r\n");
    server.Serve(kInstallerPath, HttpReply{200, std::move(installer)});
    server.Serve(kSignaturePath, HttpReply{200, std::move(signature)});
    about.Form_Activate();
    ASSERT_EQ(about.btnUpdate.caption(), about.strUpdate);
  }

  void ExpectRefused(const std::string& why) {
    EXPECT_EQ(about.lblError.caption(), L"Error updating...") << why;
    EXPECT_EQ(about.btnUpdate.caption(), about.strClose) << why;
    EXPECT_FALSE(platform::FileExists(folder / L"install.exe")) << why;
    EXPECT_FALSE(platform::FileExists(folder / L"install.exe.sig")) << why;
    EXPECT_TRUE(shell_calls.empty()) << why;
    EXPECT_FALSE(ended) << why;
    EXPECT_TRUE(about.loaded()) << why;
  }
};

TEST_P(UpdateTest, VerifiedInstallerIsStartedAndTheProgramEnds) {
  const std::string installer = BuildFile(TAVRIK_TEST_NEW_INSTALLER);
  Offer();
  about.btnUpdate_Click();
  ASSERT_EQ(shell_calls.size(), 1u);
  EXPECT_EQ(shell_calls[0].file, folder.path() + L"/install.exe");
  EXPECT_EQ(shell_calls[0].parameters, L"");
  EXPECT_EQ(shell_calls[0].directory, L"");
  EXPECT_EQ(shell_calls[0].installer, installer);
  EXPECT_EQ(about.percents.back(), 100);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(about.loaded());
}

struct RefusedInstaller {
  const char* name;
  std::string (*installer)();
  std::string (*signature)();
};

std::string NewInstaller() { return BuildFile(TAVRIK_TEST_NEW_INSTALLER); }
std::string NewSignature() { return BuildFile(TAVRIK_TEST_NEW_INSTALLER ".sig"); }

const RefusedInstaller kRefusedInstallers[] = {
    {"Tampered",
     [] {
       std::string installer = NewInstaller();
       installer[installer.size() / 2] ^= 1;
       return installer;
     },
     NewSignature},
    {"SignatureOfAnotherFile", NewInstaller, [] { return BuildFile(TAVRIK_TEST_OLD_INSTALLER ".sig"); }},
    {"SignatureNotDer", NewInstaller, [] { return std::string(64, '\x11'); }},
    {"SignatureWithBytesAfterIt", NewInstaller, [] { return NewSignature() + '\0'; }},
    {"OlderSignedInstaller", [] { return BuildFile(TAVRIK_TEST_OLD_INSTALLER); },
     [] { return BuildFile(TAVRIK_TEST_OLD_INSTALLER ".sig"); }},
    {"UnsignedPage", [] { return std::string("<html>free download</html>"); }, NewSignature},
};

TEST_P(UpdateTest, InstallersThatDoNotVerifyAreRemovedAndNotStarted) {
  Offer();
  for (const RefusedInstaller& refused : kRefusedInstallers) {
    server.Serve(kInstallerPath, HttpReply{200, refused.installer()});
    server.Serve(kSignaturePath, HttpReply{200, refused.signature()});
    about.btnUpdate.set_caption(about.strUpdate);
    about.btnUpdate_Click();
    ExpectRefused(refused.name);
  }
}

TEST_P(UpdateTest, AMissingSignatureIsRefused) {
  Offer();
  server.Serve(kSignaturePath, HttpReply{404, "not here"});
  about.btnUpdate_Click();
  ExpectRefused("no signature");
}

TEST_P(UpdateTest, AnInstallerOfAnotherKeyIsRefused) {
  Offer();
  std::string other_key = about.update_public_key;
  other_key[5] ^= 1;
  about.update_public_key = other_key;
  about.btnUpdate_Click();
  ExpectRefused("another key");
}

TEST_P(UpdateTest, InstallerThatDoesNotStartShowsTheError) {
  Offer();
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
  Offer();
  start_result = 0x10000 + 5;
  about.btnUpdate_Click();
  EXPECT_FALSE(ended);
  EXPECT_EQ(about.lblError.caption(), L"Error updating...");
}

TEST_P(UpdateTest, CancelDuringASlowDownloadStartsNothing) {
  HttpReply slow{200, Body(5000)};
  slow.stall_after = 1024;
  Offer();
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
  Offer();
  server.Serve(kInstallerPath, slow);
  PressWhen([this] { return about.barUpdate.value() > 0; }, [this] { about.Unload(); });
  about.btnUpdate_Click();
  server.Release();
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe"));
}

TEST_P(UpdateTest, ActivationDuringTheDownloadDoesNotCheckAgain) {
  HttpReply slow{200, NewInstaller()};
  slow.stall_after = 1024;
  Offer();
  server.Serve(kInstallerPath, slow);
  PressWhen([this] { return !about.percents.empty(); },
            [this] {
              about.Form_Activate();
              server.Release();
            });
  about.btnUpdate_Click();
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_EQ(shell_calls.size(), 1u);
}

TEST_P(UpdateTest, FailedDownloadsLeaveTheEarlierInstallerAndStartNothing) {
  Offer();
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
