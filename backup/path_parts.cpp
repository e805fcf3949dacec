// Path text helpers: trailing separators, path parts, blanks.
#include "backup/path_parts.h"

#include "platform/name_case.h"

namespace backup {

std::wstring AddBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') {
    path += L'\\';
  }
  return path;
}

std::wstring NextPathPart(std::wstring& path, wchar_t delim) {
  // The two backslashes of a network path are not parts of their own: the
  // first part is the server with its delimiter.
  const std::size_t start = path.compare(0, 2, L"\\\\") == 0 ? 2 : 0;
  const std::size_t pos = path.find(delim, start);
  if (pos == std::wstring::npos) {
    return std::wstring();
  }
  std::wstring part = path.substr(0, pos + 1);
  path.erase(0, pos + 1);
  return part;
}

std::wstring FolderOfFile(std::wstring_view path) {
  const std::size_t last = path.rfind(L'\\');
  return last == std::wstring_view::npos ? std::wstring()
                                         : std::wstring(path.substr(0, last + 1));
}

std::wstring TrimSpaces(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::wstring();
  return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

bool IsAbsolutePath(std::wstring_view path) {
  return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.substr(0, 2) == L"\\\\";
}

bool StartsWithPath(std::wstring_view target, std::wstring_view source_path) {
  // No separator check: "D:\Copias2" also begins with "D:\Copias" and is
  // refused with it.
  if (source_path.empty() || target.size() < source_path.size()) return false;
  return platform::SameTextIgnoringCase(target.substr(0, source_path.size()), source_path);
}

}  // namespace backup
