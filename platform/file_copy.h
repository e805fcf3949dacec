// Copying one file with progress and cancel, by the system's copy call or
// in chunks of our own, and putting the copy in its place.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class CopyProgressReason { kChunkFinished, kStreamSwitch, kOther };
using CopyProgressRoutine =
    std::function<void(CopyProgressReason reason, std::uint64_t total_file_size,
                       std::uint64_t total_bytes_transferred)>;

// Copies one file with the system's copy call, replacing an existing
// destination. The copy is abandoned at the next chunk once *cancel is set
// (by progress, or before the copy). progress may be empty; some systems
// never call it.
// keep_existing: fail, touching nothing, when the destination is there
// already (DestinationWasThere() then tells so).
bool CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                          const CopyProgressRoutine& progress, const bool* cancel,
                          bool keep_existing = false);

// The same copy done here, buffer.size() bytes at a time, with the
// attributes and times the system's copy gives: progress is called after
// every chunk and *cancel is looked at before each one. A read-only
// destination is not replaced.
bool CopyFileInChunks(const std::wstring& source, const std::wstring& destination,
                      std::vector<char>& buffer, const CopyProgressRoutine& progress,
                      const bool* cancel, bool keep_existing = false);

// Whether the copy just failed for the reason that its destination was
// there already (keep_existing).
bool DestinationWasThere();

// Puts source in destination's place in one step, a read-only destination
// too; no write-through, for a backup of many files.
bool MoveFileOver(const std::wstring& source, const std::wstring& destination);

}  // namespace platform
