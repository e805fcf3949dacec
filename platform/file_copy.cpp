// Copying one file: the system's copy call with a progress routine, the
// same copy in chunks of our own, and the move that puts a copy in place.
#include "platform/file_copy.h"

#include <windows.h>

#include "platform/files.h"

namespace platform {
namespace {

struct ProgressContext {
  const CopyProgressRoutine* routine;
  const std::atomic<bool>* cancel;
  // The flag the system's copy watches: the caller's, as it stands after
  // each call of the routine (which may have set it).
  BOOL cancel_copy;
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
  context->cancel_copy = context->cancel->load();
  return PROGRESS_CONTINUE;
}

// ERROR_DISK_QUOTA_EXCEEDED, which older SDK headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

// What the last failed call's error says of its cause.
FileResult LastFailure() {
  switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileResult::kHeld;
    case ERROR_ACCESS_DENIED:
      return FileResult::kDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileResult::kExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
      return FileResult::kNoRoom;
    default:
      return FileResult::kFailed;
  }
}

TimeSpent* flushing = nullptr;

bool Flush(HANDLE file) {
  MeasuredScope measure(flushing);
  return FlushFileBuffers(file);
}

}  // namespace

void MeasureFlushingForTesting(TimeSpent* spent) { flushing = spent; }

// No COPY_FILE_RESTARTABLE: it records restart data in the target as it
// goes, which makes every copy markedly slower, and a copy is never resumed.
FileResult CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                                const CopyProgressRoutine& progress,
                                const std::atomic<bool>* cancel) {
  ProgressContext context{&progress, cancel, cancel->load()};
  // Without a routine the copy is not called back for each piece, which
  // costs a small file measurably; a cancel then waits for its end.
  if (CopyFileExW(LongPath(source).c_str(), LongPath(destination).c_str(),
                  progress ? CopyProgressThunk : nullptr, &context, &context.cancel_copy,
                  COPY_FILE_FAIL_IF_EXISTS))
    return FileResult::kDone;
  return LastFailure();
}

FileResult CopyFileInChunks(const std::wstring& source, const std::wstring& destination,
                            std::vector<char>& buffer, const CopyProgressRoutine& progress,
                            const std::atomic<bool>* cancel) {
  // The sharing the system's copy asks for, so the same files open.
  HANDLE in = CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return LastFailure();
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(in, &info)) {
    CloseHandle(in);
    return FileResult::kFailed;
  }
  const DWORD kCopied = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  HANDLE out = CreateFileW(LongPath(destination).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           (info.dwFileAttributes & kCopied) | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    const FileResult failure = LastFailure();
    CloseHandle(in);
    return failure;
  }
  const std::uint64_t total = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (progress) progress(CopyProgressReason::kStreamSwitch, total, 0);
  std::uint64_t done = 0;
  FileResult result = FileResult::kDone;
  while (result == FileResult::kDone) {
    if (cancel->load()) {
      result = FileResult::kFailed;
      break;
    }
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      result = LastFailure();
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(out, buffer.data(), got, &written, nullptr)) {
      result = LastFailure();
      break;
    }
    if (written != got) {
      result = FileResult::kFailed;
      break;
    }
    done += got;
    if (progress) progress(CopyProgressReason::kChunkFinished, total, done);
  }
  // A large file's data reaches the disk before the file takes its name: a
  // power cut must not leave a named file whose blocks were never written.
  if (result == FileResult::kDone &&
      (!SetFileTime(out, &info.ftCreationTime, &info.ftLastAccessTime, &info.ftLastWriteTime) ||
       !Flush(out)))
    result = FileResult::kFailed;
  if (!CloseHandle(out) && result == FileResult::kDone) result = FileResult::kFailed;
  CloseHandle(in);
  return result;
}

FileResult MoveFileOver(const std::wstring& source, const std::wstring& destination) {
  const std::wstring from = LongPath(source), to = LongPath(destination);
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return FileResult::kDone;
  const FileResult failure = LastFailure();
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
    return failure;
  SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return FileResult::kDone;
  const FileResult second = LastFailure();
  SetFileAttributesW(to.c_str(), attributes);
  return second;
}

FileResult MoveFileAside(const std::wstring& source, const std::wstring& destination) {
  if (MoveFileExW(LongPath(source).c_str(), LongPath(destination).c_str(), 0))
    return FileResult::kDone;
  return LastFailure();
}

std::optional<std::uint64_t> FreeBytes(const std::wstring& path) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(LongPath(path).c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
}

std::wstring FileSystemName(const std::wstring& path) {
  std::wstring volume(32768, L'\0');
  if (!GetVolumePathNameW(LongPath(path).c_str(), &volume[0], static_cast<DWORD>(volume.size())))
    return L"";
  volume.resize(wcslen(volume.c_str()));
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name,
                             MAX_PATH + 1))
    return L"";
  return name;
}

bool CreateDatedFile(const std::wstring& path, std::uint64_t last_write) {
  HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME time{static_cast<DWORD>(last_write), static_cast<DWORD>(last_write >> 32)};
  const bool dated = SetFileTime(file, nullptr, nullptr, &time);
  return CloseHandle(file) && dated;
}

}  // namespace platform
