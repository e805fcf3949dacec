// Copying one file: the system's copy call with a progress routine, the
// same copy in chunks of our own, and the move that puts a copy in place.
#include "platform/file_copy.h"

#include <windows.h>

#include "platform/files.h"

namespace platform {
namespace {

struct ProgressContext {
  const CopyProgressRoutine* routine;
  const bool* cancel;
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
  context->cancel_copy = *context->cancel;
  return PROGRESS_CONTINUE;
}

}  // namespace

bool CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                          const CopyProgressRoutine& progress, const bool* cancel,
                          bool keep_existing) {
  ProgressContext context{&progress, cancel, *cancel};
  BOOL done = CopyFileExW(LongPath(source).c_str(), LongPath(destination).c_str(),
                          progress ? CopyProgressThunk : nullptr, &context, &context.cancel_copy,
                          COPY_FILE_RESTARTABLE | (keep_existing ? COPY_FILE_FAIL_IF_EXISTS : 0));
  return done == TRUE;
}

bool CopyFileInChunks(const std::wstring& source, const std::wstring& destination,
                      std::vector<char>& buffer, const CopyProgressRoutine& progress,
                      const bool* cancel, bool keep_existing) {
  // The sharing the system's copy asks for, so the same files open.
  HANDLE in = CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(in, &info)) {
    CloseHandle(in);
    return false;
  }
  const DWORD kCopied = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  HANDLE out = CreateFileW(LongPath(destination).c_str(), GENERIC_WRITE, 0, nullptr,
                           keep_existing ? CREATE_NEW : CREATE_ALWAYS,
                           (info.dwFileAttributes & kCopied) | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    CloseHandle(in);
    SetLastError(error);
    return false;
  }
  const std::uint64_t total = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (progress) progress(CopyProgressReason::kStreamSwitch, total, 0);
  std::uint64_t done = 0;
  bool ok = true;
  while (ok) {
    if (*cancel) {
      ok = false;
      break;
    }
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    ok = WriteFile(out, buffer.data(), got, &written, nullptr) && written == got;
    done += got;
    if (ok && progress) progress(CopyProgressReason::kChunkFinished, total, done);
  }
  ok = ok && SetFileTime(out, &info.ftCreationTime, &info.ftLastAccessTime,
                         &info.ftLastWriteTime);
  ok = CloseHandle(out) && ok;
  CloseHandle(in);
  return ok;
}

bool DestinationWasThere() {
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool MoveFileOver(const std::wstring& source, const std::wstring& destination) {
  const std::wstring from = LongPath(source), to = LongPath(destination);
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
    return false;
  SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  SetFileAttributesW(to.c_str(), attributes);
  return false;
}

}  // namespace platform
