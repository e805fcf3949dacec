// Files and folders: the file search, folder creation, and the few plain
// file operations the program needs. Paths are wide and may be longer than
// MAX_PATH. The copies that report progress are in platform/file_copy.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/name_case.h"

namespace platform {

constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;
// A symbolic link, a junction, a mount point, but also a cloud placeholder,
// a deduplicated or compressed file: the reparse tag tells which.
constexpr std::uint32_t kAttributeReparsePoint = 0x400;
// Reparse tags that stand for another place in the name space: symbolic
// links, junctions, mount points. Every other kind (cloud files on demand,
// deduplication, projected files) holds its data where it is.
constexpr std::uint32_t kReparseTagNameSurrogateBit = 0x20000000;

// The form given to the file functions: absolute drive and network paths
// get the "\\?\" prefix, so no length limit applies and names are taken as
// they are ("report." stays apart from "report"). "/" becomes "\", doubled
// separators and "." and ".." parts are resolved first, as the system would.
// Other paths are returned unchanged.
std::wstring LongPath(const std::wstring& path);

// path made absolute the way the system reads a typed path: "/", "." and
// "..", doubled separators and trailing dots and blanks resolved.
std::wstring FullPath(const std::wstring& path);

// One spelling for one place, to tell whether two paths are the same:
// the full path in long names, through the links of what exists, without
// the "\\?\" prefix or a trailing "\". Compare the results letter case
// ignored.
std::wstring CanonicalPath(const std::wstring& path);


struct FoundEntry {
  std::uint32_t attributes = 0;
  std::uint32_t size_high = 0;
  std::uint32_t size_low = 0;
  // The reparse point's tag, when attributes say it is one.
  std::uint32_t reparse_tag = 0;
  std::wstring name;
  // The last write, in 100-nanosecond steps since 1601 (UTC).
  std::uint64_t last_write = 0;
  std::uint64_t size() const { return (std::uint64_t{size_high} << 32) | size_low; }
  bool is_system() const { return (attributes & kAttributeSystem) != 0; }
  bool is_directory() const { return (attributes & kAttributeDirectory) != 0; }
  // Whether the entry leads elsewhere (a link, junction or mount point), so
  // that walking into it may loop or leave the tree. A reparse point whose
  // listing gave no tag is taken as one too.
  bool is_link() const {
    return (attributes & kAttributeReparsePoint) != 0 &&
           (reparse_tag == 0 || (reparse_tag & kReparseTagNameSurrogateBit) != 0);
  }
  // "." and "..", whatever attributes a listing gives them.
  bool is_dot_entry() const { return name == L"." || name == L".."; }
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
  // Moves to the next entry; false when none is left or the listing broke off.
  bool Next();
  // Whether the listing broke off before its last entry (a share gone away).
  bool failed() const { return failed_; }
  void Close();

 private:
  void* handle_ = nullptr;
  FoundEntry entry_;
  bool failed_ = false;
};

// Creates one folder level; false when it could not be made (it may exist).
bool CreateFolder(const std::wstring& path);
// Removes a folder only when it is empty; false otherwise.
bool RemoveEmptyFolder(const std::wstring& path);

// The name of a normal file at path (hidden, system and folders not found),
// as the file system spells it, or "" when there is none.
std::wstring NormalFileName(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Deletes a file, a read-only one too.
bool DeleteFileAt(const std::wstring& path);

// The folder the program runs from, without a trailing "\".
std::wstring ProgramFolder();
// The running program's own full path.
std::wstring ProgramPath();
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
  bool WriteLine(const std::wstring& line);
  void Close() { file_.Close(); }

 private:
  ByteFileWriter file_;
};

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Puts source in destination's place in one step, replacing it.
bool ReplaceFileWith(const std::wstring& destination, const std::wstring& source);


// Wide text to the ANSI code page and back.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

}  // namespace platform
