// The About window's check and update: the version replies it takes, the
// download, the signed installer's checks, the button's roles, the check and
// the update each on their own; and the window for the keyboard and a screen reader.
#include <windows.h>
#include <oleacc.h>

#include "app/res/resource.h"
#include "app/texts.h"
#include "support/screen_reader.h"
#include "update/about_fixture.h"

namespace update {
namespace {

DWORD HandlesOfThisProcess() { DWORD count = 0; return GetProcessHandleCount(GetCurrentProcess(), &count), count; }

// A version reply (none: the connection is refused; PORT: the server's), the
// latest version then shown ("-" when the reply is refused) and whether the
// update is offered. Redirects are the program's to judge, never WinHTTP's.
struct ReplyCase { const char* name; HttpReply (*reply)(); const wchar_t* shown; bool offered; };
const ReplyCase kReplies[] = {
    {"SameHostRedirect", [] { return R("", 302, "Location: moved.upd\r\n"); }, L"0.2.0", true},
    {"OtherHostRedirect", [] { return R("", 302, "Location: http://localhost:PORT/download/moved.upd\r\n"); }, L"-", false},
    {"ToTheEnd", [] { return Framed(kOffer, false, false); }, L"0.2.0", true},
    {"LongerThanSaid", [] { HttpReply r = R(Padded(900)); r.content_length = "7"; return r; }, L"0.2.0", true},
    {"WholeRange", [] { return R(kOffer, 206, "Content-Range: bytes 0-6/7\r\n"); }, L"0.2.0", true},
    {"Refused", nullptr, L"-", false},
    {"NotFound", [] { return R("9.9.9\r\n", 404); }, L"-", false},
    {"Silent", [] { HttpReply r; r.silent = true; return r; }, L"-", false},
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
  about.version_download.transfer.set_timeouts(1000, 1000);
  if (!GetParam().reply) about.update_server = testing_support::RefusingUrl();
  HttpReply reply = GetParam().reply ? GetParam().reply() : HttpReply{};
  if (const std::size_t at = reply.headers.find("PORT"); at != std::string::npos)
    reply.headers.replace(at, 4, std::to_string(NativeServer::PortOf(server.base_url())));
  server.Serve(kVersionPath, reply);
  server.Serve("/download/moved.upd", R(kOffer));
  Activate();
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
  EXPECT_EQ(about.current_version.text(), kRunning);
  EXPECT_EQ(about.latest_version.text(), kTexts.searching);
  EXPECT_TRUE(about.button.text() == kTexts.close && !about.progress_bar.visible());
  WriteFile(folder / L"TavrikBackup.upd", "0.0.1\r\nan older and much longer file\r\n");
  Activate();  // nothing published
  EXPECT_EQ(about.status.text(), kTexts.no_version);
  Publish(kOffer);
  Activate();
  EXPECT_TRUE(LocalVersionFile() == kOffer && about.status.text().empty());
  server.Serve(kVersionPath, HttpReply{404, "gone"});
  Activate();
  EXPECT_TRUE(about.latest_version.text() == L"0.2.0" && about.button.text() == kTexts.update) << "kept";
  Publish(TAVRIK_VERSION_TEXT "\r\n");
  Activate();
  EXPECT_TRUE(about.latest_version.text() == kRunning && about.button.text() == kTexts.close) << "withdrawn";
  const std::vector<std::string> requests = server.Requests(kVersionPath);
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("User-Agent: Tavrik Backup/" TAVRIK_VERSION_TEXT "\r\n"), std::string::npos);
  about.OnHomePageClick();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{L"http://home.example/|<null>|<null>"});
  about.OnButtonClick();
  EXPECT_FALSE(about.loaded()) << "the button in its close role";
}

TEST_F(AboutTest, ClosingDuringACheckLeavesNoConnectionOrHandleBehind) {
  server.Serve(kVersionPath, Trickle(kOffer, 5000));
  const DWORD handles = HandlesOfThisProcess();
  for (int cycle = 0; cycle < 20; ++cycle) {
    AboutWindow window;
    Prepare(window);
    platform::Timer closer;
    closer.Create(window, 30, true);
    closer.on_tick = [&window] { window.Unload(); };
    const ULONGLONG start = GetTickCount64();
    window.OnActivate();
    ASSERT_TRUE(PumpUntil([&] { return !window.loaded(); }));
    EXPECT_LT(GetTickCount64() - start, 1000u) << "the window goes at once";
  }
  EXPECT_TRUE(PumpUntil([&] { return server.Requests(kVersionPath).size() == 20u; }));
  // WinHTTP lets go of a stalled connection at its next byte or time-out.
  EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 0; }));
  EXPECT_LE(HandlesOfThisProcess(), handles + 4) << "from " << handles;
}

// A program folder that cannot be written (not even root may create files in
// /proc, which Wine shows as Z:\proc) gives way to the local data folder.
TEST_F(AboutTest, VerifiedInstallerIsStartedAfterTheRunStopsAndTheProgramEnds) {
  about.program_folder = L"Z:\\proc";
  testing_support::MakeFolders(folder / L"local");
  about.before_install = [this] { shell_calls.push_back(L"run stopped"); };
  Offer();
  const std::wstring local = folder / L"local\\Tavrik Backup";
  EXPECT_EQ(ReadFile(local + L"\\TavrikBackup.upd"), kOffer);
  Press();
  EXPECT_EQ(shell_calls, (std::vector<std::wstring>{L"run stopped", local + L"/install.exe||"}));
  EXPECT_EQ(ReadFile(local + L"\\install.exe"), NewInstaller());
  EXPECT_TRUE(about.percents.back() == 100 && ended);
}

// What goes wrong after the offer, and whether the installer was downloaded
// (and is then removed) or not (an earlier install.exe stays).
struct FailedUpdate { const char* name; void (*arrange)(AboutTest&); bool downloaded; };
const FailedUpdate kFailedUpdates[] = {
    {"Tampered", [](AboutTest& t) { std::string i = NewInstaller(); i[i.size() / 2] ^= 1; t.server.Serve(kInstallerPath, R(i)); }, true},
    {"SignatureNotDer", [](AboutTest& t) { t.server.Serve(kSignaturePath, R(std::string(64, '\x11'))); }, true},
    {"SignatureWithBytesAfterIt", [](AboutTest& t) { t.server.Serve(kSignaturePath, R(NewSignature() + '\0')); }, true},
    {"OlderSignedInstaller", [](AboutTest& t) { t.Offer(OldInstaller(), OldSignature()); }, true},
    {"NoSignature", [](AboutTest& t) { t.server.Serve(kSignaturePath, R("not here", 404)); }, true},
    {"AnotherKey", [](AboutTest& t) { t.about.update_public_key[40] ^= 1; }, true},
    {"ShellCannotStart", [](AboutTest& t) { t.start_result = 2; }, true},
    {"InstallerCut", [](AboutTest& t) { t.server.Serve(kInstallerPath, Framed(std::string(5000, 'i'), false, true, 2000)); }, false},
};

class FailedUpdateTest : public AboutTest, public testing::WithParamInterface<FailedUpdate> {};

TEST_P(FailedUpdateTest, ShowsTheErrorAndLeavesNothingDownloadedToStart) {
  WriteFile(folder / L"install.exe", "earlier installer");
  Offer();
  GetParam().arrange(*this);
  Press();
  EXPECT_TRUE(about.status.text() == L"Error updating..." && about.button.text() == kTexts.close);
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
    about.OnActivate();  // no check during the update
    about.OnButtonClick();
  });
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_EQ(text_during_download, kTexts.cancel);
  EXPECT_EQ(about.percents, (std::vector<int>{20}));
  EXPECT_TRUE(about.status.text() == L"Update Canceled!" && about.button.text() == kTexts.close);
  EXPECT_TRUE(shell_calls.empty() && !platform::FileExists(folder / L"install.exe.part"));
  EXPECT_EQ(ReadFile(folder / L"install.exe"), "earlier installer");
  Activate();  // the cancelled update made way for a check
  EXPECT_TRUE(server.Requests(kVersionPath).size() == 2u && about.button.text() == kTexts.update);
}

TEST_F(AboutTest, ClosingTheWindowDuringTheDownloadStartsNothing) {
  DuringDownload([this] { about.Unload(); });
  EXPECT_TRUE(!about.loaded() && shell_calls.empty());
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe") || platform::FileExists(folder / L"install.exe.part"));
}

TEST_F(AboutTest, UpdatePressedDuringAStalledRecheckGoesOnWithItsOwnDownload) {
  Offer();
  server.Serve(kVersionPath, Framed(Padded(100), false, true, std::string::npos, 3));
  about.OnActivate();
  ASSERT_TRUE(PumpUntil([&] { return server.Requests(kVersionPath).size() == 2u; }));
  ASSERT_TRUE(about.checking());
  start_result = 2;  // the update's own end stays on screen
  Press();
  server.Release();
  EXPECT_FALSE(about.checking());
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{folder.path() + L"/install.exe||"});
  EXPECT_TRUE(about.status.text() == L"Error updating..." && about.latest_version.text() == L"0.2.0");
  EXPECT_FALSE(platform::FolderExists(folder / L"local"));
}

// The button first, then the home-page link (a link to a screen reader); Enter
// and Esc work, the focus goes back, the logo is named, the status spoken.
TEST(AboutKeyboardTest, ButtonFirstLinkNextEnterEscFocusBackStatusSpoken) {
  ForgetQuit();
  platform::Form owner;
  owner.CreateForm({L"Owner", 9000, 7000});
  platform::TextBox owner_box;
  owner_box.Create({&owner, {240, 240, 3000, 375}, {}}, L"");
  owner.Show();
  owner_box.focus();
  std::vector<std::wstring> opened;
  AboutWindow about;
  about.texts = app::TextsOf(app::Language::kEnglish).about;
  about.update_server = RefusingUrl();
  about.home_page = L"http://home.example/";
  about.shell_open = [&](const std::wstring& file, auto...) { return opened.push_back(file), 42; };
  about.Create(owner, IDR_LOGO);
  about.OnLoad();
  EXPECT_EQ(Hear(about.logo.handle()).name, L"Tavrik Backup");
  EventRecorder spoken(kLiveRegionChanged);
  about.status.set_text(about.texts.error_updating);
  RunPendingMessages();
  EXPECT_EQ(spoken.windows, std::vector<HWND>{about.status.handle()});
  std::vector<HWND> focus;
  Heard link;
  const auto key = [](WPARAM code) { PostMessageW(GetFocus(), WM_KEYDOWN, code, 0); };
  const std::function<void()> steps[] = {
      [&] { focus.push_back(GetFocus()), key(VK_TAB); },
      [&] { focus.push_back(GetFocus()), link = Hear(about.home_page_link.handle()), key(VK_RETURN); },
      [&] { key(VK_ESCAPE); }};
  platform::Timer user;  // a user pressing a key on each tick
  user.Create(about, 20, true);
  std::size_t next = 0;
  user.on_tick = [&] { if (next < std::size(steps)) steps[next++](); };
  about.ShowModal(owner);
  EXPECT_EQ(focus, (std::vector<HWND>{about.button.handle(), about.home_page_link.handle()}));
  EXPECT_TRUE(link.role == ROLE_SYSTEM_LINK && link.default_action == L"Open");
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://home.example/"});
  EXPECT_TRUE(!about.loaded() && owner_box.focused()) << "closed, the focus back where it was";
}

}  // namespace
}  // namespace update
