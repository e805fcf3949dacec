// Files and folders over the wide Win32 file functions.
#include "platform/files.h"

#include <windows.h>

#include <cassert>

namespace platform {
namespace {

bool IsDriveAbsolute(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

bool IsNetwork(const std::wstring& path) { return path.rfind(L"\\\\", 0) == 0; }

// "\\?\" paths take no "\\" inside them: the program builds paths such as
// "D:\\x" from a drive-root target.
std::wstring WithSingleSeparators(const std::wstring& path, size_t from) {
  std::wstring result = path.substr(0, from);
  for (size_t i = from; i < path.size(); ++i) {
    if (path[i] == L'\\' && !result.empty() && result.back() == L'\\') continue;
    result += path[i];
  }
  return result;
}

void Fill(FoundEntry& entry, const WIN32_FIND_DATAW& data) {
  entry.attributes = data.dwFileAttributes;
  entry.size_high = data.nFileSizeHigh;
  entry.size_low = data.nFileSizeLow;
  entry.name = data.cFileName;
}

struct ProgressContext {
  const CopyProgressRoutine* routine;
};

DWORD CALLBACK CopyProgressThunk(LARGE_INTEGER total_file_size, LARGE_INTEGER total_transferred,
                                 LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD reason, HANDLE,
                                 HANDLE, LPVOID data) {
  auto* context = static_cast<ProgressContext*>(data);
  CopyProgressReason kind = reason == CALLBACK_CHUNK_FINISHED ? CopyProgressReason::kChunkFinished
                            : reason == CALLBACK_STREAM_SWITCH ? CopyProgressReason::kStreamSwitch
                                                               : CopyProgressReason::kOther;
  (*context->routine)(kind, static_cast<std::uint64_t>(total_file_size.QuadPart),
                      static_cast<std::uint64_t>(total_transferred.QuadPart));
  return PROGRESS_CONTINUE;
}

}  // namespace

std::wstring LongPath(const std::wstring& path) {
  const size_t kShortEnough = 240;  // folders may be at most MAX_PATH - 12
  if (path.size() < kShortEnough || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (IsDriveAbsolute(path)) return L"\\\\?\\" + WithSingleSeparators(path, 3);
  if (IsNetwork(path)) return L"\\\\?\\UNC\\" + WithSingleSeparators(path.substr(2), 0);
  return path;
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
  if (!FindNextFileW(handle_, &data)) return false;
  Fill(entry_, data);
  return true;
}

void FileSearch::Close() {
  if (handle_) FindClose(handle_);
  handle_ = nullptr;
}

bool CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                          const CopyProgressRoutine& progress, const volatile std::int32_t* cancel) {
  ProgressContext context{&progress};
  BOOL done = CopyFileExW(LongPath(source).c_str(), LongPath(destination).c_str(),
                          progress ? CopyProgressThunk : nullptr, &context,
                          reinterpret_cast<LPBOOL>(const_cast<std::int32_t*>(cancel)),
                          COPY_FILE_RESTARTABLE);
  return done == TRUE;
}

bool CreateFolder(const std::wstring& path) {
  return CreateDirectoryW(LongPath(path).c_str(), nullptr) != FALSE;
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

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool DeleteFileAt(const std::wstring& path) { return DeleteFileW(LongPath(path).c_str()) != FALSE; }

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
  size_t last = path.find_last_of(L'\\');
  return last == std::wstring::npos ? path : path.substr(0, last);
}

std::wstring CurrentFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), &path[0]));
  return path;
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
