// The About window over the networks users have: HTTPS with certificates
// from a CA of the tests' own, the user's proxy, a list of routes whose
// first is down, a proxy that asks the user to authenticate, and servers
// too slow to wait for.
#include "update/about_fixture.h"

namespace update {
namespace {

// The update server over HTTPS: a TLS front before the tests' HTTP server,
// its certificate from a CA of the tests' own that this Wine prefix trusts
// while the tests run.
struct HttpsTest : AboutTest {
  static void SetUpTestSuite() { root = std::make_unique<TrustedRoot>(BuildPath(TAVRIK_TEST_CERTS "/ca.pem")); }
  static void TearDownTestSuite() { root.reset(); }
  static std::string Port(const std::wstring& url) { return std::to_string(NativeServer::PortOf(url)); }
  // "https://localhost:PORT" of a front with the named certificate.
  std::wstring Front(const std::string& cert, const std::string& protocol = "") {
    const std::string files = TAVRIK_TEST_CERTS "/" + cert + ".pem " TAVRIK_TEST_CERTS "/" + cert + "-key.pem ";
    fronts.push_back(std::make_unique<NativeServer>(
        "tls", files + std::to_string(NativeServer::PortOf(server.base_url())) + " " + protocol));
    return L"https://localhost:" + std::to_wstring(fronts.back()->port());
  }
  static inline std::unique_ptr<TrustedRoot> root;
  std::vector<std::unique_ptr<NativeServer>> fronts;
};

TEST_F(HttpsTest, OnlyATrustedCertificateForTheHostOverTls12OrLaterIsTakenThenTheInstallerStarts) {
  for (const auto& [cert, protocol] : std::vector<std::pair<std::string, std::string>>{
           {"untrusted", ""}, {"other-host", ""}, {"localhost", "TLSv1"}}) {
    about.update_server = Front(cert, protocol);
    Activate();
    EXPECT_EQ(about.latest_version.text(), L"-") << cert;
    EXPECT_EQ(about.status.text(), kTexts.no_version);
  }
  about.update_server = Front("localhost");
  Offer();
  const std::wstring trusted = about.update_server;
  about.update_server = Front("untrusted");
  Press();
  EXPECT_EQ(about.status.text(), L"Error updating...");
  // No refused connection got past its handshake to the server behind.
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_TRUE(server.Requests(kInstallerPath).empty() && shell_calls.empty());
  about.update_server = trusted;
  Activate();
  Press();
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
    Activate();
    EXPECT_EQ(server.Requests("/download/moved.upd").size(), before + followed) << location;
  }
}

// With "Automatically detect settings" too: Wine's lookup finds nothing
// (its resolver is a stub), as a network without WPAD does, and the named
// proxy serves.
TEST_F(HttpsTest, CheckAndDownloadGoThroughTheUsersProxy) {
  NativeServer proxy("proxy", UnixPath(folder.path()) + "/proxy.log");
  UserProxy settings("127.0.0.1:" + std::to_string(proxy.port()), true);
  Publish(kOffer);
  Activate();
  about.update_server = Front("localhost");
  Offer();
  Press();
  EXPECT_TRUE(ended);
  const std::string tunnel = "CONNECT localhost:" + Port(about.update_server) + " localhost:" + Port(about.update_server) + "\n";
  // The plain request, then the version file, the installer and its signature.
  EXPECT_EQ(ReadFile(folder / L"proxy.log"),
            "GET 127.0.0.1:" + Port(server.base_url()) + " /download/TavrikBackup.upd\n" + tunnel + tunnel + tunnel);
}

TEST_F(AboutTest, WhenEveryRouteIsDownTheCheckFails) {
  const std::wstring down = RefusingUrl();
  std::vector<std::wstring> asked;
  about.version_download.transfer.find_routes = [&](const std::wstring& url, auto found) {
    asked.push_back(url);
    found({platform::ProxyRoute{down.substr(down.rfind(L'/') + 1)}, platform::ProxyRoute{down.substr(down.rfind(L'/') + 1)}});
  };
  Publish(kOffer);
  Activate();
  EXPECT_EQ(asked, std::vector<std::wstring>{server.base_url() + platform::FromAnsi(kVersionPath)});
  EXPECT_EQ(about.latest_version.text(), L"-");
  EXPECT_TRUE(server.Requests(kVersionPath).empty());
}

// Two dead proxies (one silent, one whose request fails as it is sent)
// before the direct route: the limits leave each route its time.
TEST_F(AboutTest, TwoDeadProxiesThenTheDirectRouteServeTheCheckAndTheUpdate) {
  HttpServer dead;
  HttpReply silent;
  silent.silent = true;
  for (const char* path : {kVersionPath, kInstallerPath, kSignaturePath}) dead.Serve(path, silent);
  const std::wstring silent_proxy = dead.base_url().substr(7), failing_proxy = L"127.0.0.1:9";
  for (FileDownload* download : {&about.version_download, &about.installer_download}) {
    download->transfer.set_timeouts(1500, 1500);
    download->transfer.find_routes = [=](const std::wstring&, auto found) {
      found({platform::ProxyRoute{silent_proxy}, platform::ProxyRoute{failing_proxy}, platform::ProxyRoute{}});
    };
    download->transfer.send_fails_at_once = [=](const platform::ProxyRoute& route) { return route.proxy == failing_proxy; };
  }
  about.check_time_limit = std::chrono::seconds(1);
  about.slowest_download_window = std::chrono::seconds(1);
  Offer();
  Press();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{folder.path() + L"/install.exe||"});
  EXPECT_EQ(dead.Requests(kInstallerPath).size(), 1u);
}

// A proxy that asks for the user's own logon gets it without a prompt,
// where the system can give it; Wine may have none to give (no NTLM
// helper), and the status line then says what the proxy wants. One that
// wants a typed password always gets the status line.
TEST_F(AboutTest, AProxyThatAsksToAuthenticate) {
  Publish(kOffer);
  for (const std::string schemes : {"Negotiate,NTLM", "Basic"}) {
    const std::string log = schemes.substr(0, 5) + ".log";
    NativeServer proxy("proxy", UnixPath(folder.path()) + "/" + log + " " + schemes);
    UserProxy settings("127.0.0.1:" + std::to_string(proxy.port()));
    Activate();
    const bool logged_on = ReadFile(folder / platform::FromAnsi(log)).find("AUTH ") != std::string::npos;
    EXPECT_TRUE(logged_on && schemes != "Basic" ? about.latest_version.text() == L"0.2.0"
                                                : about.status.text() == kTexts.proxy_password) << schemes;
    if (!logged_on && schemes != "Basic") std::printf("Wine offered no logon to the proxy: status line shown\n");
  }
}

TEST_F(AboutTest, ADrippingServerEndsTheCheckAndAStarvedDownloadTheUpdate) {
  // The same rules as the named limits, over a shorter time; the drips
  // themselves would take minutes, each byte well within the time-out of a
  // single read.
  about.check_time_limit = std::chrono::seconds(2);
  about.slowest_download_window = std::chrono::seconds(2);
  server.Serve(kVersionPath, Trickle(kOffer, 300));
  const ULONGLONG start = GetTickCount64();
  Activate();
  EXPECT_LT(GetTickCount64() - start, 10000u);
  EXPECT_EQ(about.latest_version.text(), L"-");
  Offer();
  server.Serve(kInstallerPath, Trickle(NewInstaller(), 50));
  const ULONGLONG pressed = GetTickCount64();
  Press();
  EXPECT_LT(GetTickCount64() - pressed, 10000u);
  EXPECT_EQ(about.status.text(), L"Error updating...");
  EXPECT_FALSE(platform::FileExists(folder / L"install.exe.part"));
}

}  // namespace
}  // namespace update
