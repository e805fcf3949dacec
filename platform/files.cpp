// Files and folders over the wide Win32 file functions.
#include "platform/files.h"

#include <windows.h>

#include <cassert>

namespace platform {
namespace {

// The parts of a path after its root (from), as the system resolves a path
// without the "\\?\" prefix: "/" is a separator, empty and "." parts go, ".."
// takes the part before it away. A trailing separator is kept.
std::wstring ResolvedParts(const std::wstring& path, size_t from) {
  std::wstring result = path.substr(0, from);
  const size_t root = result.size();
  size_t start = from;
  while (start <= path.size()) {
    size_t end = path.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring part = path.substr(start, end - start);
    if (part == L"..") {
      if (result.size() > root) {
        result.pop_back();
        result.erase(result.find_last_of(L'\\', result.size() - 1) + 1);
        if (result.size() < root) result.resize(root);
      }
    } else if (!part.empty() && part != L".") {
      result += part;
      if (end < path.size()) result += L'\\';
    }
    start = end + 1;
  }
  return result;
}

// "srv\share\..." resolved below its share: as on the system, ".." never
// climbs above "\\srv\share".
std::wstring ResolvedShare(std::wstring path) {
  const size_t server_end = path.find_first_of(L"\\/");
  size_t share_end = server_end == std::wstring::npos
                         ? std::wstring::npos
                         : path.find_first_of(L"\\/", server_end + 1);
  if (share_end == std::wstring::npos) share_end = path.size();
  for (size_t i = 0; i < share_end; ++i)
    if (path[i] == L'/') path[i] = L'\\';
  if (share_end < path.size()) {
    path[share_end] = L'\\';
    ++share_end;
  }
  return ResolvedParts(path, share_end);
}

bool IsDevicePath(const std::wstring& path) {
  return path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0;
}

// path without a "\\?\" or "\\?\UNC\" prefix, as a plain drive or network
// path.
std::wstring WithoutLongPrefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

void Fill(FoundEntry& entry, const WIN32_FIND_DATAW& data) {
  entry.attributes = data.dwFileAttributes;
  entry.size_high = data.nFileSizeHigh;
  entry.size_low = data.nFileSizeLow;
  entry.reparse_tag = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? data.dwReserved0 : 0;
  entry.name = data.cFileName;
  entry.last_write = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                     data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace

std::wstring LongPath(const std::wstring& path) {
  if (IsDevicePath(path)) return path;
  if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
    return L"\\\\?\\" + ResolvedParts(path.substr(0, 2) + L"\\" + path.substr(3), 3);
  if (path.size() > 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/'))
    return L"\\\\?\\UNC\\" + ResolvedShare(path.substr(2));
  return path;
}

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(32768, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  return full;
}

std::wstring CanonicalPath(const std::wstring& path) {
  std::wstring plain = WithoutLongPrefix(path);
  if (plain.empty()) return plain;
  plain = FullPath(plain);
  // "Docs.\x" and "Docs \x" name Docs\x wherever the system reads them.
  std::wstring trimmed;
  for (size_t i = 0; i < plain.size(); ++i) {
    const bool endOfPart = i + 1 == plain.size() || plain[i + 1] == L'\\';
    if (endOfPart && (plain[i] == L'.' || plain[i] == L' ') && !trimmed.empty() &&
        trimmed.back() != L'\\' && trimmed.back() != L'.') {
      size_t cut = trimmed.size();
      trimmed += plain[i];
      while (cut > 0 && (trimmed[cut - 1] == L'.' || trimmed[cut - 1] == L' ')) --cut;
      if (cut > 0 && trimmed[cut - 1] != L'\\') trimmed.resize(cut);
      continue;
    }
    trimmed += plain[i];
  }
  plain = trimmed;
  if (plain.size() > 3 && plain.back() == L'\\') plain.pop_back();
  // Only what exists has a long name and a final path: the rest of a path
  // not yet made (a new target) is taken as it is, below that.
  std::wstring rest;
  while (GetFileAttributesW(LongPath(plain).c_str()) == INVALID_FILE_ATTRIBUTES) {
    const size_t last = plain.find_last_of(L'\\');
    if (last == std::wstring::npos || last < 3 || last + 1 >= plain.size()) break;
    rest = plain.substr(last) + rest;
    plain.resize(last);
  }
  std::wstring result(32768, L'\0');
  DWORD length = GetLongPathNameW(plain.c_str(), &result[0], static_cast<DWORD>(result.size()));
  if (length > 0 && length < result.size()) plain.assign(result.c_str(), length);
  HANDLE handle = CreateFileW(LongPath(plain).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    length = GetFinalPathNameByHandleW(handle, &result[0], static_cast<DWORD>(result.size()),
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    if (length > 0 && length < result.size()) plain = WithoutLongPrefix(result.substr(0, length));
  }
  if (plain.size() > 3 && plain.back() == L'\\') plain.pop_back();
  return plain + rest;
}

FileSearch::FileSearch(const std::wstring& pattern) {
  WIN32_FIND_DATAW data;
  HANDLE handle = FindFirstFileExW(LongPath(pattern).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (handle == INVALID_HANDLE_VALUE) return;
  handle_ = handle;
  Fill(entry_, data);
}

FileSearch::~FileSearch() { Close(); }

bool FileSearch::Next() {
  assert(handle_);
  WIN32_FIND_DATAW data;
  if (!FindNextFileW(handle_, &data)) {
    failed_ = GetLastError() != ERROR_NO_MORE_FILES;
    return false;
  }
  Fill(entry_, data);
  return true;
}

void FileSearch::Close() {
  if (handle_) FindClose(handle_);
  handle_ = nullptr;
}

bool CreateFolder(const std::wstring& path) {
  return CreateDirectoryW(LongPath(path).c_str(), nullptr) != FALSE;
}

bool RemoveEmptyFolder(const std::wstring& path) {
  return RemoveDirectoryW(LongPath(path).c_str()) != FALSE;
}

std::wstring NormalFileName(const std::wstring& path) {
  FileSearch search(path);
  if (!search.found()) return L"";
  const std::uint32_t kNotNormal = kAttributeHidden | kAttributeSystem | kAttributeDirectory;
  if (search.entry().attributes & kNotNormal) return L"";
  return search.entry().name;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const std::wstring& path) {
  const std::wstring at = LongPath(path);
  if (DeleteFileW(at.c_str())) return true;
  SetFileAttributesW(at.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(at.c_str()) != FALSE;
}

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
  return path;
}

std::wstring ProgramFolder() {
  const std::wstring path = ProgramPath();
  size_t last = path.find_last_of(L'\\');
  return last == std::wstring::npos ? path : path.substr(0, last);
}

std::wstring EnvironmentValue(const std::wstring& name) {
  std::wstring value(32768, L'\0');
  DWORD length = GetEnvironmentVariableW(name.c_str(), &value[0], static_cast<DWORD>(value.size()));
  value.resize(length < value.size() ? length : 0);
  return value;
}

bool AnsiTextWriter::WriteLine(const std::wstring& line) {
  return file_.Write(ToAnsi(line) + "\r\n");
}

ByteFileWriter::~ByteFileWriter() { Close(); }

bool ByteFileWriter::Create(const std::wstring& path) {
  Close();
  HANDLE handle = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = handle;
  return true;
}

bool ByteFileWriter::Write(const std::string& bytes) {
  DWORD written = 0;
  return handle_ &&
         WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void ByteFileWriter::Close() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE handle = CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) && got > 0) bytes.append(buffer, got);
  CloseHandle(handle);
  if (!ok) return std::nullopt;
  return bytes;
}

bool ReplaceFileWith(const std::wstring& destination, const std::wstring& source) {
  return MoveFileExW(LongPath(source).c_str(), LongPath(destination).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
  return wide;
}

}  // namespace platform
