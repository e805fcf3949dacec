// The benchmark's tree and the copies a backup run is measured against:
// a bare sequential loop of the platform's copy call, the same loop through
// temporary names, and xcopy; and the change a repeated backup meets.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "backup/copy_engine.h"
#include "backup/path_parts.h"
#include "platform/file_copy.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace bench {

using Clock = std::chrono::steady_clock;

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr int kBigFiles = 3;
constexpr std::uint64_t kBigFileSize = 100u << 20;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline void MakeTree(const std::wstring& src) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int f = 0; f < kFolders; ++f) {
    std::wstring folder = src + L"\\folder" + std::to_wstring(f) + L"\\sub";
    testing_support::MakeFolders(folder);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      std::string bytes(500 + next() % 3500, '\0');
      for (char& c : bytes) c = static_cast<char>(next() >> 24);
      testing_support::WriteFile(folder + L"\\file" + std::to_wstring(i) + L".dat", bytes);
    }
  }
  std::string block(1 << 20, '\0');
  for (int b = 0; b < kBigFiles; ++b) {
    HANDLE file = CreateFileW((src + L"\\big" + std::to_wstring(b) + L".bin").c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    for (std::uint64_t done = 0; done < kBigFileSize; done += block.size()) {
      for (char& c : block) c = static_cast<char>(next() >> 24);
      DWORD written = 0;
      WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    CloseHandle(file);
  }
  testing_support::WriteFile(src + L"\\..\\tree-ready", "ok");
}

// Every folder and file of the tree, relative to its root, folders first
// within each level so that a copy can make them in order.
inline void ListTree(const std::wstring& root, const std::wstring& below,
              std::vector<std::wstring>& folders, std::vector<std::wstring>& files) {
  platform::FileSearch search(root + below + L"*.*");
  if (!search.found()) return;
  std::vector<std::wstring> subs;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.name == L"." || entry.name == L"..") continue;
    if (entry.is_directory())
      subs.push_back(below + entry.name + L"\\");
    else
      files.push_back(below + entry.name);
  } while (search.Next());
  for (const std::wstring& sub : subs) {
    folders.push_back(sub);
    ListTree(root, sub, folders, files);
  }
}

inline double BareLoop(const std::wstring& src, const std::wstring& dst,
                const std::vector<std::wstring>& folders, const std::vector<std::wstring>& files) {
  const Clock::time_point start = Clock::now();
  platform::CreateFolder(dst);
  for (const std::wstring& folder : folders) platform::CreateFolder(dst + L"\\" + folder);
  const std::atomic<bool> cancel{false};
  for (const std::wstring& file : files)
    platform::CopyFileWithProgress(src + L"\\" + file, dst + L"\\" + file, {}, &cancel);
  return Seconds(Clock::now() - start);
}

// The same loop with every file copied under a temporary name beside its
// destination and then moved to its name, as the run does: what that costs
// on its own, apart from the run's machinery.
inline double BareLoopViaTemporaryNames(const std::wstring& src, const std::wstring& dst,
                                 const std::vector<std::wstring>& folders,
                                 const std::vector<std::wstring>& files) {
  const Clock::time_point start = Clock::now();
  platform::CreateFolder(dst);
  for (const std::wstring& folder : folders) platform::CreateFolder(dst + L"\\" + folder);
  const std::atomic<bool> cancel{false};
  std::uint64_t number = 0;
  for (const std::wstring& file : files) {
    const std::wstring destination = dst + L"\\" + file;
    const std::wstring temporary =
        backup::FolderOfFile(destination) + backup::TemporaryName(++number);
    platform::CopyFileWithProgress(src + L"\\" + file, temporary, {}, &cancel);
    platform::MoveFileOver(temporary, destination);
  }
  return Seconds(Clock::now() - start);
}

// Every tenth file of the tree gets its first bytes written again, so its
// last-write time is newer than its copy's while its size stays.
inline void RewriteEveryTenth(const std::wstring& src, const std::vector<std::wstring>& files) {
  char bytes[4096];
  for (std::size_t i = 0; i < files.size(); i += 10) {
    HANDLE file = CreateFileW((src + L"\\" + files[i]).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0, written = 0;
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    WriteFile(file, bytes, got, &written, nullptr);
    CloseHandle(file);
  }
}

// xcopy with options, "/E /I /H /Y" for a whole copy; "/D" adds copying
// only files newer than their copy.
inline double Xcopy(const std::wstring& src, const std::wstring& dst,
                    const std::wstring& options = L"/E /I /H /Y") {
  std::wstring command = L"xcopy \"" + src + L"\" \"" + dst + L"\" " + options;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul;
  startup.hStdError = nul;
  startup.hStdInput = nul;
  PROCESS_INFORMATION process = {};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    CloseHandle(nul);
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Seconds(Clock::now() - start);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(nul);
  return seconds;
}

}  // namespace bench
