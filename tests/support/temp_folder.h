// Real folders and files for tests; a TempFolder goes with all it holds.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing "\".
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

void MakeFolders(const std::wstring& path);
// Creates the file's folders too.
void WriteFile(const std::wstring& path, const std::string& bytes);
inline std::string ReadFile(const std::wstring& path) {
  return platform::ReadFileBytes(path).value_or(std::string());
}
void SetAttributes(const std::wstring& path, std::uint32_t attributes);
void RemoveTree(const std::wstring& path);
// Runs a Linux shell command in folder, for what Windows calls cannot make
// (a symbolic link, names that differ only in letter case). False when not
// under Wine or it did not succeed within a few seconds.
bool RunInLinuxShell(const std::wstring& folder, const std::string& command);

}  // namespace testing_support
