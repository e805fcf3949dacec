// The About window against a real HTTP server on 127.0.0.1, and over HTTPS
// and a proxy in front of it: the version replies it takes, the download,
// the signed installer's checks and the button's roles; stand-in installers
// are signed with the tests' own key.
#include "update/about_window.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "platform/timer.h"
#include "support/build_path.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "test_update_key.h"
#include "version.h"

namespace update {
namespace {

using namespace testing_support;

const char kVersionPath[] = "/download/TavrikBackup.upd";
const char kInstallerPath[] = "/download/TavrikBackup.exe";
const char kSignaturePath[] = "/download/TavrikBackup.exe.sig";
const wchar_t kRunning[] = L"" TAVRIK_VERSION_TEXT;
const AboutTexts kTexts{L"About",  L"Current:", L"Latest:",   L"CLOSE",       L"UPDATE",
                        L"CANCEL", L"Searching", L"No version", L"-", L"Updating...",
                        L"Update Canceled!", L"Error updating..."};
const char kTestKey[] = TAVRIK_TEST_UPDATE_PUBLIC_KEY_PEM;

std::string BuildFile(const char* path) { return ReadFile(BuildPath(path)); }
// The stand-in installers of versions 0.2.0 and 0.1.6 and their signatures.
std::string NewInstaller() { return BuildFile(TAVRIK_TEST_NEW_INSTALLER); }
std::string NewSignature() { return BuildFile(TAVRIK_TEST_NEW_INSTALLER ".sig"); }
std::string OldSignature() { return BuildFile(TAVRIK_TEST_OLD_INSTALLER ".sig"); }

HttpReply R(std::string body, int status = 200, std::string headers = "") {
  HttpReply reply{status, std::move(body)};
  return reply.headers = std::move(headers), reply;
}
HttpReply Framed(std::string body, bool chunked, bool length, std::size_t cut = std::string::npos,
                 std::size_t stall = std::string::npos) {
  HttpReply reply{200, std::move(body)};
  return reply.chunked = chunked, reply.send_length = length, reply.cut_after = cut, reply.stall_after = stall, reply;
}
const std::string kOffer = "0.2.0\r\n";
std::string Padded(std::size_t size) { return kOffer + std::string(size, 'x'); }

std::size_t ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{sizeof entry};
  std::size_t count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snapshot);
  return count;
}

DWORD HandlesOfThisProcess() { DWORD count = 0; return GetProcessHandleCount(GetCurrentProcess(), &count), count; }

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

struct RecordingAbout : AboutWindow {
  void ShowProgress(int percent) override { percents.push_back(percent), AboutWindow::ShowProgress(percent); }
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
    window.update_public_key = kTestKey;
    window.transfer.set_timeouts(2000, 2000);
    window.Create(Owner(), 0);
    window.OnLoad();
  }
  void SetUp() override {
    about.shell_open = [this](const std::wstring& file, const std::wstring* parameters,
                              const std::wstring* directory) {
      shell_calls.push_back(file + L"|" + (parameters ? *parameters : L"<null>") + L"|" +
                            (directory ? *directory : L"<null>"));
      return start_result;
    };
    about.end_program = [this] { ended = true, about.Unload(); };
    Prepare(about);
  }
  void TearDown() override { about.Unload(); }

  void Publish(const std::string& version_file) { server.Serve(kVersionPath, R(version_file)); }
  std::string LocalVersionFile() { return ReadFile(folder / L"TavrikBackup.upd"); }
  // Publishes 0.2.0 with the given installer and signature and lets the
  // window offer it.
  void Offer(std::string installer = NewInstaller(), std::string signature = NewSignature()) {
    Publish("0.2.0\r\n");
    server.Serve(kInstallerPath, R(std::move(installer)));
    server.Serve(kSignaturePath, R(std::move(signature)));
    about.OnActivate();
    ASSERT_EQ(about.button.text(), kTexts.update);
  }
  // Offers a slow installer and runs action from a timer once its download
  // has begun, as a user would; then presses the button.
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
    about.OnButtonClick();
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

TEST_F(AboutTest, LoadLinkAndClose) {
  EXPECT_EQ(about.current_version.text(), kRunning);
  EXPECT_EQ(about.latest_version.text(), kTexts.searching);
  EXPECT_EQ(about.button.text(), kTexts.close);
  EXPECT_FALSE(about.progress_bar.visible());
  about.OnHomePageClick();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{L"http://home.example/|<null>|<null>"});
  about.OnButtonClick();
  EXPECT_FALSE(about.loaded());
}

// A version reply (none: the connection is refused), the latest version then
// shown ("-" when the reply is refused) and whether the update is offered.
struct ReplyCase { const char* name; HttpReply (*reply)(); const wchar_t* shown; bool offered; };
const ReplyCase kReplies[] = {
    {"Equal", [] { return R(TAVRIK_VERSION_TEXT "\r\n"); }, kRunning, false},
    {"SameHostRedirect", [] { return R("", 302, "Location: moved.upd\r\n"); }, L"0.2.0", true},
    {"Chunked", [] { return Framed(Padded(1500), true, true); }, L"0.2.0", true},
    {"ToTheEnd", [] { return Framed(kOffer, false, false); }, L"0.2.0", true},
    {"LongerThanSaid", [] { HttpReply r = R(Padded(900)); r.content_length = "7"; return r; }, L"0.2.0", true},
    {"WholeRange", [] { return R(kOffer, 206, "Content-Range: bytes 0-6/7\r\n"); }, L"0.2.0", true},
    {"Refused", nullptr, L"-", false},
    {"NotFound", [] { return R("9.9.9\r\n", 404); }, L"-", false},
    {"Silent", [] { HttpReply r; r.silent = true; return r; }, L"-", false},
    {"Html", [] { return R("<!DOCTYPE html>\r\n<html></html>"); }, L"-", false},
    {"Empty", [] { return R(""); }, L"-", false},
    {"OtherHostRedirect", [] { return R("", 302, "Location: http://localhost:PORT/download/moved.upd\r\n"); }, L"-", false},
    {"CutWithLength", [] { return Framed(Padded(3000), false, true, 1500); }, L"-", false},
    // Stops without ending: Wine reports a reset connection as a normal end.
    {"CutWithoutLength", [] { return Framed(Padded(3000), false, false, std::string::npos, 1500); }, L"-", false},
    {"PartialRange", [] { return R(kOffer, 206, "Content-Range: bytes 0-6/90\r\n"); }, L"-", false},
    {"OverFourKiB", [] { return R(Padded(4100)); }, L"-", false},
    {"OverFourKiBToTheEnd", [] { return Framed(Padded(4100), false, false); }, L"-", false},
};

class ReplyTest : public AboutTest, public testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyTest, TakesOnlyAWholeVersionReplyAndOffersOnlyAGreaterVersion) {
  const std::string earlier = "0.1.5\r\nearlier copy\r\n";
  WriteFile(folder / L"TavrikBackup.upd", earlier);
  about.transfer.set_timeouts(1000, 1000);
  if (!GetParam().reply) about.update_server = testing_support::RefusingUrl();
  HttpReply reply = GetParam().reply ? GetParam().reply() : HttpReply{};
  const std::wstring base = server.base_url();
  if (std::size_t at = reply.headers.find("PORT"); at != std::string::npos) {
    reply.headers.replace(at, 4, platform::ToAnsi(base.substr(base.rfind(L':') + 1)));
  }
  server.Serve(kVersionPath, reply);
  server.Serve("/download/moved.upd", R(kOffer));
  about.OnActivate();
  const bool refused = GetParam().shown == std::wstring(L"-");
  EXPECT_EQ(about.latest_version.text(), GetParam().shown);
  EXPECT_EQ(about.button.text(), GetParam().offered ? kTexts.update : kTexts.close);
  EXPECT_EQ(about.status.text(), refused ? kTexts.no_version : L"");
  EXPECT_EQ(LocalVersionFile() == earlier, refused);
  EXPECT_FALSE(platform::FileExists(folder / L"TavrikBackup.upd.part"));
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyTest, testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, EachActivationChecksAgainKeepingOnlyAnOfferItCanHonour) {
  WriteFile(folder / L"TavrikBackup.upd", "0.0.1\r\nan older and much longer file\r\n");
  about.OnActivate();  // nothing published
  EXPECT_EQ(about.status.text(), kTexts.no_version);
  Publish(kOffer);
  about.OnActivate();
  EXPECT_EQ(LocalVersionFile(), kOffer);
  EXPECT_EQ(about.status.text(), L"");
  server.Serve(kVersionPath, HttpReply{404, "gone"});
  about.OnActivate();
  EXPECT_EQ(about.latest_version.text(), L"0.2.0");
  EXPECT_EQ(about.button.text(), kTexts.update);
  Publish(TAVRIK_VERSION_TEXT "\r\n");
  about.OnActivate();
  EXPECT_EQ(about.latest_version.text(), kRunning);
  EXPECT_EQ(about.button.text(), kTexts.close);
  const std::vector<std::string> requests = server.Requests(kVersionPath);
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("User-Agent: Tavrik Backup/" TAVRIK_VERSION_TEXT "\r\n"), std::string::npos);
}

TEST_F(AboutTest, ClosingDuringACheckLeavesNoConnectionThreadOrHandleBehind) {
  HttpReply trickle = R(kOffer);
  trickle.trickle_ms = 5000;
  server.Serve(kVersionPath, trickle);
  const std::size_t threads = ThreadsOfThisProcess();
  const DWORD handles = HandlesOfThisProcess();
  for (int cycle = 0; cycle < 20; ++cycle) {
    AboutWindow window;
    Prepare(window);
    platform::Timer closer;
    closer.Create(window, 30, true);
    closer.on_tick = [&window] { window.Unload(); };
    const ULONGLONG start = GetTickCount64();
    window.OnActivate();
    ASSERT_FALSE(window.loaded());
    EXPECT_LT(GetTickCount64() - start, 1000u) << "the window is given back at once";
  }
  EXPECT_EQ(server.Requests(kVersionPath).size(), 20u);
  // WinHTTP lets go of a stalled connection at its next byte or time-out.
  for (int wait = 0; wait < 200 && (server.OpenConnections() > 0 || ThreadsOfThisProcess() > threads); ++wait) Sleep(50);
  EXPECT_EQ(server.OpenConnections(), 0u);
  EXPECT_LE(ThreadsOfThisProcess(), threads);
  EXPECT_LE(HandlesOfThisProcess(), handles + 4) << "from " << handles;
}

TEST_F(AboutTest, AProgramFolderThatCannotBeWrittenUsesTheLocalDataFolder) {
  // Not even root may create files in /proc, which Wine shows as Z:\proc.
  about.program_folder = L"Z:\\proc";
  testing_support::MakeFolders(folder / L"local");
  Offer();
  const std::wstring local = folder / L"local\\Tavrik Backup";
  EXPECT_EQ(ReadFile(local + L"\\TavrikBackup.upd"), kOffer);
  about.OnButtonClick();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{local + L"/install.exe||"});
}

TEST_F(AboutTest, DownloadMovesTheBarOncePerPieceOfAKnownLength) {
  const std::wstring url = server.base_url() + L"/f";
  // The body's size, whether its length is sent, and one percentage per
  // piece, the last piece empty.
  for (const auto& [size, length, percents] : std::vector<std::tuple<std::size_t, bool, std::vector<int>>>{
           {2500, true, {41, 82, 100, 100}}, {1025, true, {100, 100, 100}}, {2500, false, {}}, {0, true, {}}}) {
    HttpReply reply{200, std::string(size, 'b')};
    reply.send_length = length;
    server.Serve("/f", reply);
    WriteFile(folder / L"f.bin", "older and longer bytes");
    about.percents.clear();
    EXPECT_EQ(about.DownloadFile(url, folder / L"f.bin", true, 1 << 20), Download::kComplete);
    EXPECT_EQ(about.percents, percents) << size;
    EXPECT_EQ(ReadFile(folder / L"f.bin"), reply.body);
  }
  EXPECT_EQ(about.DownloadFile(url, folder / L"no\\such\\f.bin", false, 1 << 20), Download::kFailed);
}

TEST_F(AboutTest, VerifiedInstallerIsStartedAfterTheRunStopsAndTheProgramEnds) {
  about.before_install = [this] { shell_calls.push_back(L"run stopped"); };
  Offer();
  about.OnButtonClick();
  EXPECT_EQ(shell_calls, (std::vector<std::wstring>{L"run stopped", folder.path() + L"/install.exe||"}));
  EXPECT_EQ(ReadFile(folder / L"install.exe"), NewInstaller());
  EXPECT_TRUE(about.percents.back() == 100 && ended);
}

// What goes wrong after the offer, and whether the installer was downloaded
// (and is then removed) or not (an earlier install.exe stays).
struct FailedUpdate { const char* name; void (*arrange)(AboutTest&); bool downloaded; };
const FailedUpdate kFailedUpdates[] = {
    {"Tampered", [](AboutTest& t) { std::string i = NewInstaller(); i[i.size() / 2] ^= 1; t.server.Serve(kInstallerPath, R(i)); }, true},
    {"SignatureOfAnotherFile", [](AboutTest& t) { t.server.Serve(kSignaturePath, R(OldSignature())); }, true},
    {"SignatureNotDer", [](AboutTest& t) { t.server.Serve(kSignaturePath, R(std::string(64, '\x11'))); }, true},
    {"SignatureWithBytesAfterIt", [](AboutTest& t) { t.server.Serve(kSignaturePath, R(NewSignature() + '\0')); }, true},
    {"OlderSignedInstaller", [](AboutTest& t) { t.Offer(BuildFile(TAVRIK_TEST_OLD_INSTALLER), OldSignature()); }, true},
    {"UnsignedPage", [](AboutTest& t) { t.server.Serve(kInstallerPath, R("<html>free download</html>")); }, true},
    {"NoSignature", [](AboutTest& t) { t.server.Serve(kSignaturePath, R("not here", 404)); }, true},
    {"AnotherKey", [](AboutTest& t) { t.about.update_public_key[40] ^= 1; }, true},
    {"ShellCannotStart", [](AboutTest& t) { t.start_result = 2; }, true},
    {"InstallerNotFound", [](AboutTest& t) { t.server.Serve(kInstallerPath, R("<html>gone</html>", 404)); }, false},
    {"InstallerCut", [](AboutTest& t) { t.server.Serve(kInstallerPath, Framed(std::string(5000, 'i'), false, true, 2000)); }, false},
    {"ServerGone", [](AboutTest& t) { t.about.update_server = testing_support::RefusingUrl(); }, false},
};

class FailedUpdateTest : public AboutTest, public testing::WithParamInterface<FailedUpdate> {};

TEST_P(FailedUpdateTest, ShowsTheErrorAndLeavesNothingDownloadedToStart) {
  WriteFile(folder / L"install.exe", "earlier installer");
  Offer();
  GetParam().arrange(*this);
  about.OnButtonClick();
  EXPECT_EQ(about.status.text(), L"Error updating...");
  EXPECT_EQ(about.button.text(), kTexts.close);
  EXPECT_EQ(platform::ReadFileBytes(folder / L"install.exe"),
            GetParam().downloaded ? std::nullopt : std::optional<std::string>("earlier installer"));
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe.sig") || platform::FileExists(folder / L"install.exe.part"));
  EXPECT_EQ(shell_calls.size(), start_result == 42 ? 0u : 1u);
  EXPECT_TRUE(shell_calls.empty() || about.progress_bar.value() == 100);
  EXPECT_FALSE(ended);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedUpdateTest, testing::ValuesIn(kFailedUpdates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, CancelOrActivationDuringASlowDownloadThenANewCheck) {
  WriteFile(folder / L"install.exe", "earlier installer");
  DuringDownload([this] {
    about.OnActivate();  // no second check meanwhile
    about.OnButtonClick();
  });
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_EQ(text_during_download, kTexts.cancel);
  EXPECT_EQ(about.percents, (std::vector<int>{20, 20}));
  EXPECT_EQ(about.status.text(), L"Update Canceled!");
  EXPECT_EQ(about.button.text(), kTexts.close);
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_EQ(ReadFile(folder / L"install.exe"), "earlier installer");
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe.part"));
  about.OnActivate();  // the cancelled transfer starts afresh
  EXPECT_EQ(server.Requests(kVersionPath).size(), 2u);
  EXPECT_EQ(about.button.text(), kTexts.update);
}

TEST_F(AboutTest, ClosingTheWindowDuringTheDownloadStartsNothing) {
  DuringDownload([this] { about.Unload(); });
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(shell_calls.empty());
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe"));
}

// The update server over HTTPS: a TLS front before the tests' HTTP server,
// its certificate from a CA of the tests' own that this Wine prefix trusts
// while the tests run.
struct HttpsTest : AboutTest {
  static void SetUpTestSuite() { root = std::make_unique<TrustedRoot>(BuildPath(TAVRIK_TEST_CERTS "/ca.pem")); }
  static void TearDownTestSuite() { root.reset(); }
  static std::string Port(const std::wstring& url) { return platform::ToAnsi(url.substr(url.rfind(L':') + 1)); }
  // "https://localhost:PORT" of a front with the named certificate.
  std::wstring Front(const std::string& cert) {
    const std::string files = TAVRIK_TEST_CERTS "/" + cert + ".pem " TAVRIK_TEST_CERTS "/" + cert + "-key.pem ";
    fronts.push_back(std::make_unique<NativeServer>("tls", files + std::to_string(NativeServer::PortOf(server.base_url()))));
    return L"https://localhost:" + std::to_wstring(fronts.back()->port());
  }
  static inline std::unique_ptr<TrustedRoot> root;
  std::vector<std::unique_ptr<NativeServer>> fronts;
};

TEST_F(HttpsTest, OnlyATrustedCertificateForTheHostIsTakenThenTheInstallerStarts) {
  for (const char* cert : {"untrusted", "other-host"}) {
    about.update_server = Front(cert);
    about.OnActivate();
    EXPECT_EQ(about.latest_version.text(), L"-") << cert;
    EXPECT_EQ(about.status.text(), kTexts.no_version);
  }
  about.update_server = Front("localhost");
  Offer();
  const std::wstring trusted = about.update_server;
  about.update_server = Front("untrusted");
  about.OnButtonClick();
  EXPECT_EQ(about.status.text(), L"Error updating...");
  // No refused connection got past its handshake to the server behind.
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_TRUE(server.Requests(kInstallerPath).empty() && shell_calls.empty());
  about.update_server = trusted;
  about.OnActivate();
  about.OnButtonClick();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{folder.path() + L"/install.exe||"});
  EXPECT_EQ(ReadFile(folder / L"install.exe"), NewInstaller());
}

TEST_F(HttpsTest, ARedirectIsFollowedUpToHttpsOnTheSameHostOnly) {
  const std::wstring https = Front("localhost");
  const std::string secure_port = Port(https), plain_port = Port(server.base_url());
  const std::wstring plain = L"http://localhost:" + platform::FromAnsi(plain_port);
  server.Serve("/download/moved.upd", R(kOffer));
  for (const auto& [from, location, followed] : std::vector<std::tuple<std::wstring, std::string, bool>>{
           {plain, "https://localhost:" + secure_port, true},
           {plain, "https://127.0.0.1:" + secure_port, false},
           {https, "http://localhost:" + plain_port, false}}) {
    const std::size_t before = server.Requests("/download/moved.upd").size();
    about.update_server = from;
    server.Serve(kVersionPath, R("", 301, "Location: " + location + "/download/moved.upd\r\n"));
    about.OnActivate();
    EXPECT_EQ(server.Requests("/download/moved.upd").size(), before + followed) << location;
  }
}

TEST_F(HttpsTest, CheckAndDownloadGoThroughTheUsersProxy) {
  NativeServer proxy("proxy", UnixPath(folder.path()) + "/proxy.log");
  UserProxy settings("127.0.0.1:" + std::to_string(proxy.port()));
  about.update_server = Front("localhost");
  Offer();
  about.OnButtonClick();
  EXPECT_TRUE(ended);
  EXPECT_EQ(about.DownloadFile(server.base_url() + L"/download/TavrikBackup.upd", folder / L"v.upd", false, 4096),
            Download::kComplete);
  const std::string tunnel = "CONNECT localhost:" + Port(about.update_server) + " localhost:" + Port(about.update_server) + "\n";
  // The version file, the installer and its signature, then the plain request.
  EXPECT_EQ(ReadFile(folder / L"proxy.log"),
            tunnel + tunnel + tunnel + "GET 127.0.0.1:" + Port(server.base_url()) + " /download/TavrikBackup.upd\n");
}

}  // namespace
}  // namespace update
