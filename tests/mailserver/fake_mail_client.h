// What the tests share with the stand-in mail client (fake_mail_client.exe):
// where it reads what to report, and how to register, start and stop it.
// Test equipment only: the program never installs or starts it.
#pragma once

#include <string>
#include <vector>

namespace fake_mail_client {

// HKEY_CURRENT_USER key the stand-in reads at each creation: "Version"
// (text) and one subkey per store, "Stores\1", "Stores\2", ... each with
// "Name" and "StoreID".
inline constexpr wchar_t kConfigKey[] = L"Software\\Tavrik Tests\\Fake Mail Client";

struct Store {
  std::wstring name;
  std::wstring store_id;
};

// Writes the configuration, replacing any earlier one.
void Configure(const std::wstring& version, const std::vector<Store>& stores);
void RemoveConfiguration();

// A StoreID whose bytes hold path after a provider header, as 8-bit or as
// 16-bit characters.
std::wstring StoreIdForPath(const std::string& ansi_path, bool sixteen_bit = false);

// Registers (or removes) the stand-in as the mail client's automation
// server in this prefix; true when the tool ran.
bool Register();
bool Unregister();

// A running instance in the running object table while the object lives.
class RunningInstance {
 public:
  RunningInstance();
  ~RunningInstance();
  RunningInstance(const RunningInstance&) = delete;
  RunningInstance& operator=(const RunningInstance&) = delete;
  bool started() const { return started_; }
  // Ends the instance and waits until it is gone.
  void Stop();

 private:
  void* process_ = nullptr;
  void* stop_event_ = nullptr;
  bool started_ = false;
};

}  // namespace fake_mail_client
