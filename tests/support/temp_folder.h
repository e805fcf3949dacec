// Real folders and files for tests: a fresh folder under the temporary
// folder, removed with everything in it at the end of the test.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing "\".
  const std::wstring& path() const { return path_; }
  // path() + "\" + relative.
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

// Creates every folder of path.
void MakeFolders(const std::wstring& path);
// Writes bytes to a new file, creating its folders.
void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);
// A file of the given size that takes no disk space.
void MakeSparseFile(const std::wstring& path, std::uint64_t size);
void SetAttributes(const std::wstring& path, std::uint32_t attributes);
void RemoveTree(const std::wstring& path);

}  // namespace testing_support
