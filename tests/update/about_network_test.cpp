// The About window over the networks users have: HTTPS, the user's proxy,
// routes that are down, proxies that ask for a logon, servers too slow.
#include "update/about_fixture.h"

namespace update {
namespace {

// The update server over HTTPS: a TLS front before the tests' HTTP server, its
// certificate from a CA of the tests' own that the Wine prefix trusts meanwhile.
struct HttpsTest : AboutTest {
  static void SetUpTestSuite() { root = std::make_unique<TrustedRoot>(BuildPath(TAVRIK_TEST_CERTS "/ca.pem")); }
  static void TearDownTestSuite() { root.reset(); }
  static std::string Port(const std::wstring& url) { return std::to_string(NativeServer::PortOf(url)); }
  // "https://localhost:PORT" of a front with the named certificate.
  std::wstring Front(const std::string& cert, const std::string& protocol = "") {
    const std::string files = TAVRIK_TEST_CERTS "/" + cert + ".pem " TAVRIK_TEST_CERTS "/" + cert + "-key.pem ";
    fronts.push_back(std::make_unique<NativeServer>("tls", files + Port(server.base_url()) + " " + protocol));
    return L"https://localhost:" + std::to_wstring(fronts.back()->port());
  }
  static inline std::unique_ptr<TrustedRoot> root;
  std::vector<std::unique_ptr<NativeServer>> fronts;
};

TEST_F(HttpsTest, OnlyATrustedCertificateForTheHostOverTls12OrLaterIsTaken) {
  for (const auto& [cert, protocol] : std::vector<std::pair<std::string, std::string>>{
           {"untrusted", ""}, {"other-host", ""}, {"localhost", "TLSv1"}}) {
    about.update_server = Front(cert, protocol);
    Activate();
    EXPECT_EQ(about.latest_version.text(), L"-") << cert;
    EXPECT_EQ(about.status.text(), kTexts.no_version);
  }
  about.update_server = Front("localhost");
  Offer();
  about.update_server = Front("untrusted");
  Press();
  EXPECT_EQ(about.status.text(), L"Error updating...");
  // No refused connection got past its handshake to the server behind.
  EXPECT_EQ(server.Requests(kVersionPath).size(), 1u);
  EXPECT_TRUE(server.Requests(kInstallerPath).empty() && shell_calls.empty());
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

// The routes the system names are tried in turn, and only they: when each is
// down the check fails; two dead proxies (one silent, one whose request fails
// as it is sent) before the direct route leave it its time.
TEST_F(AboutTest, TheNamedRoutesAreTriedInTurnForTheCheckAndTheUpdate) {
  HttpServer dead;
  HttpReply silent;
  silent.silent = true;
  for (const char* path : {kVersionPath, kInstallerPath, kSignaturePath}) dead.Serve(path, silent);
  const std::wstring silent_proxy = dead.base_url().substr(7), failing_proxy = L"127.0.0.1:9";
  std::vector<platform::ProxyRoute> routes{{failing_proxy}, {failing_proxy}};
  std::vector<std::wstring> asked;
  for (FileDownload* download : {&about.version_download, &about.installer_download}) {
    download->transfer.set_timeouts(1500, 1500);
    download->transfer.find_routes = [&](const std::wstring& url, auto found) { asked.push_back(url), found(routes); };
    download->transfer.send_fails_at_once = [=](const platform::ProxyRoute& route) { return route.proxy == failing_proxy; };
  }
  about.check_time_limit = std::chrono::seconds(1);
  about.slowest_download_window = std::chrono::seconds(1);
  Publish(kOffer);
  Activate();
  EXPECT_EQ(asked, std::vector<std::wstring>{server.base_url() + platform::FromAnsi(kVersionPath)});
  EXPECT_TRUE(about.latest_version.text() == L"-" && server.Requests(kVersionPath).empty());
  routes = {{silent_proxy}, {failing_proxy}, {}};
  Offer();
  Press();
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{folder.path() + L"/install.exe||"});
  EXPECT_EQ(dead.Requests(kInstallerPath).size(), 1u) << "the silent proxy was tried";
}

// A proxy that asks for the user's own logon gets it without a prompt where
// the system can give it (Wine has no NTLM helper: then, as for one that wants
// a typed password, the status line says what the proxy wants).
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
  // The named limits' rules over a shorter time; each byte comes well within
  // the time-out of a single read.
  about.check_time_limit = std::chrono::seconds(2);
  about.slowest_download_window = std::chrono::seconds(2);
  server.Serve(kVersionPath, Trickle(kOffer, 300));
  Activate();
  EXPECT_EQ(about.latest_version.text(), L"-");
  Offer();
  server.Serve(kInstallerPath, Trickle(NewInstaller(), 50));
  Press();  // within the wait's own bound, where the whole drip would take minutes
  EXPECT_TRUE(about.status.text() == L"Error updating..." && !platform::FileExists(folder / L"install.exe.part"));
}

}  // namespace
}  // namespace update
