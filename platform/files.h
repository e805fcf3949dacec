// Files and folders: the file search, the progress-reporting copy, folder
// creation, and the few plain file operations the program needs. Paths are
// wide and may be longer than MAX_PATH.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;

// The form the file functions need for a path of any length: absolute paths
// past the old limit get the "\\?\" prefix.
std::wstring LongPath(const std::wstring& path);

struct FoundEntry {
  std::uint32_t attributes = 0;
  std::uint32_t size_high = 0;
  std::uint32_t size_low = 0;
  std::wstring name;
  std::uint64_t size() const { return (std::uint64_t{size_high} << 32) | size_low; }
  bool is_system() const { return (attributes & kAttributeSystem) != 0; }
  bool is_directory() const { return (attributes & kAttributeDirectory) != 0; }
};

// One search over a folder pattern ("C:\dir\*.*") or one exact path; the
// first entry is there as soon as the search is open.
class FileSearch {
 public:
  explicit FileSearch(const std::wstring& pattern);
  ~FileSearch();
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  bool found() const { return handle_ != nullptr; }
  const FoundEntry& entry() const { return entry_; }
  // Moves to the next entry; false when none is left.
  bool Next();
  void Close();

 private:
  void* handle_ = nullptr;
  FoundEntry entry_;
};

enum class CopyProgressReason { kChunkFinished, kStreamSwitch, kOther };
using CopyProgressRoutine =
    std::function<void(CopyProgressReason reason, std::uint64_t total_file_size,
                       std::uint64_t total_bytes_transferred)>;

// Copies one file, replacing an existing destination. The copy is abandoned
// as soon as *cancel becomes nonzero. progress may be empty.
bool CopyFileWithProgress(const std::wstring& source, const std::wstring& destination,
                          const CopyProgressRoutine& progress, const volatile std::int32_t* cancel);

// Creates one folder level; false when it could not be made (it may exist).
bool CreateFolder(const std::wstring& path);

// The name of a normal file at path (hidden, system and folders not found),
// as the file system spells it, or "" when there is none.
std::wstring NormalFileName(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
bool DeleteFileAt(const std::wstring& path);

// The folder the program runs from, without a trailing "\".
std::wstring ProgramFolder();
std::wstring CurrentFolder();
std::wstring EnvironmentValue(const std::wstring& name);

// A file written as raw bytes; Create empties an existing one. Others may
// read it meanwhile (a log can be looked at while a backup runs).
class ByteFileWriter {
 public:
  ByteFileWriter() = default;
  ~ByteFileWriter();
  ByteFileWriter(const ByteFileWriter&) = delete;
  ByteFileWriter& operator=(const ByteFileWriter&) = delete;

  bool Create(const std::wstring& path);
  bool is_open() const { return handle_ != nullptr; }
  bool Write(const std::string& bytes);
  void Close();

 private:
  void* handle_ = nullptr;
};

// Text files in the system's ANSI code page with CRLF line ends.
class AnsiTextWriter {
 public:
  // Creates the file or empties an existing one.
  bool Open(const std::wstring& path) { return file_.Create(path); }
  bool is_open() const { return file_.is_open(); }
  bool WriteLine(const std::wstring& line);
  void Close() { file_.Close(); }

 private:
  ByteFileWriter file_;
};

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Puts source in destination's place in one step, replacing it.
bool ReplaceFileWith(const std::wstring& destination, const std::wstring& source);

// Whether a and b are the same text the way the file system compares names,
// letter case ignored.
bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

// Wide text to the ANSI code page and back.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

}  // namespace platform
