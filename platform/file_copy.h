// Copying one file with progress and cancel, by the system's copy call or
// in chunks of our own, and putting the copy in its place.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/time_spent.h"

namespace platform {

enum class CopyProgressReason { kChunkFinished, kStreamSwitch, kOther };
using CopyProgressRoutine =
    std::function<void(CopyProgressReason reason, std::uint64_t total_file_size,
                       std::uint64_t total_bytes_transferred)>;

// How a copy or a move ended.
enum class FileResult {
  kDone,
  kFailed,
  // Another program holds the file (a sharing or lock violation): often a
  // scanner or indexer that lets go a moment later.
  kHeld,
  // Access denied: mostly a file this user may not read or write, now and
  // later; sometimes one a moment from being deleted.
  kDenied,
  // The destination was there already and was left alone.
  kExists,
  // The target's disk (or the user's quota on it) is full.
  kNoRoom,
};

// Copies one file with the system's copy call to a destination that must
// not exist yet. The copy is abandoned at the next chunk once *cancel is set
// (by progress, or before the copy). progress may be empty; some systems
// never call it.
FileResult CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                                const CopyProgressRoutine& progress,
                                const std::atomic<bool>* cancel);

// The same copy done here, buffer.size() bytes at a time, with the
// attributes and times the system's copy gives, and the data flushed to the
// disk before it returns: progress is called after every chunk and *cancel
// is looked at before each one.
FileResult CopyFileInChunks(const std::wstring& source, const std::wstring& destination,
                            std::vector<char>& buffer, const CopyProgressRoutine& progress,
                            const std::atomic<bool>* cancel);

// Adds the time the chunked copies take to flush their data to spent
// (nothing when null); one large copy at a time.
void MeasureFlushingForTesting(TimeSpent* spent);

// Puts source in destination's place in one step, a read-only destination
// too; no write-through, for a backup of many files.
FileResult MoveFileOver(const std::wstring& source, const std::wstring& destination);

// Gives source the name destination on the same volume, never replacing a
// file of that name (kExists then).
FileResult MoveFileAside(const std::wstring& source, const std::wstring& destination);

// The bytes this user may still write on the volume that holds path;
// nothing when the system does not tell.
std::optional<std::uint64_t> FreeBytes(const std::wstring& path);

// The name of the file system that holds path ("NTFS", "FAT32"), or "" when
// the system does not tell.
std::wstring FileSystemName(const std::wstring& path);
// Makes a new empty file at path with that last-write time (100-nanosecond
// steps since 1601, UTC); false when it could not, or was there already.
bool CreateDatedFile(const std::wstring& path, std::uint64_t last_write);

}  // namespace platform
