// Times FolderSize on a tree of 100,000 small files against a bare walk of
// the same tree with the system's search functions, in the same run. The
// tree is made once (argument 1, or a folder under the temporary folder) and
// kept for later runs. bench/run_folder_size.sh also times `du -sb` on it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "sources/folder_size.h"
#include "support/temp_folder.h"

namespace {

constexpr int kTopFolders = 100;
constexpr int kSubFolders = 10;
constexpr int kFilesPerFolder = 100;  // 100 x 10 x 100 = 100,000 files
constexpr int kRounds = 5;
const wchar_t kCompleteMark[] = L"tree-complete.txt";

// The same rules as FolderSize, with nothing around the system's calls.
std::uint64_t BareWalk(const std::wstring& path) {
  std::uint64_t total = 0;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileExW((path + L"*.*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) continue;
    if (data.cFileName[0] == L'.') continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      total += BareWalk(path + data.cFileName + L"\\");
    else
      total += (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return total;
}

void WriteSmallFile(const std::wstring& path, int bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string content(bytes, 'x');
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void MakeTree(const std::wstring& root) {
  if (GetFileAttributesW((root + L"\\" + kCompleteMark).c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::printf("reusing the tree\n");
    return;
  }
  std::printf("making the tree of %d files...\n", kTopFolders * kSubFolders * kFilesPerFolder);
  std::fflush(stdout);
  testing_support::MakeFolders(root);
  int n = 0;
  for (int top = 0; top < kTopFolders; ++top) {
    std::wstring top_path = root + L"\\folder " + std::to_wstring(top);
    CreateDirectoryW(top_path.c_str(), nullptr);
    for (int sub = 0; sub < kSubFolders; ++sub) {
      std::wstring sub_path = top_path + L"\\sub " + std::to_wstring(sub);
      CreateDirectoryW(sub_path.c_str(), nullptr);
      for (int file = 0; file < kFilesPerFolder; ++file, ++n)
        WriteSmallFile(sub_path + L"\\file " + std::to_wstring(file) + L".txt", 1 + n % 200);
    }
  }
  WriteSmallFile(root + L"\\" + kCompleteMark, 0);
}

template <typename Walk>
double Milliseconds(Walk walk) {
  auto start = std::chrono::steady_clock::now();
  walk();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring root;
  if (argc > 1) {
    root = argv[1];
  } else {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"tavrik-bench-folder-size";
  }
  std::printf("tree: %ls\n", root.c_str());
  MakeTree(root);
  const std::wstring path = root + L"\\";

  std::uint64_t bare_bytes = BareWalk(path);  // warms the caches for both
  double folder_size_bytes = 0;
  std::vector<double> bare, folder_size;
  for (int round = 0; round < kRounds; ++round) {
    bare.push_back(Milliseconds([&] { bare_bytes = BareWalk(path); }));
    folder_size.push_back(Milliseconds([&] { folder_size_bytes = sources::FolderSize(path); }));
  }
  std::printf("bytes: FolderSize %.0f, bare walk %llu\n", folder_size_bytes,
              static_cast<unsigned long long>(bare_bytes));
  double bare_ms = Median(bare), folder_size_ms = Median(folder_size);
  std::printf("bare walk ms: %.1f\n", bare_ms);
  std::printf("FolderSize ms: %.1f\n", folder_size_ms);
  std::printf("FolderSize / bare walk: %.3f (goal <= 1.1)\n", folder_size_ms / bare_ms);
  return folder_size_bytes == static_cast<double>(bare_bytes) ? 0 : 1;
}
