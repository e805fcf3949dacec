// Path text helpers of the backup run and the copy engine.
#pragma once

#include <string>
#include <string_view>

namespace backup {

// path with one "\" at its end; "" gives "\".
std::wstring AddBackslash(std::wstring path);

// Removes the first part of path up to and including the first delim and
// returns it: "C:\a\b\" gives "C:\" and leaves "a\b\". A network path
// "\\srv\share\" gives "\\srv\". With no delim, returns "" and leaves path
// as it was.
std::wstring NextPathPart(std::wstring& path, wchar_t delim);

// The folder part of a file path, up to and including its last "\"; "" when
// there is none.
std::wstring FolderOfFile(std::wstring_view path);

// text without its leading and trailing blanks (spaces only, not tabs).
std::wstring TrimSpaces(std::wstring_view text);

// Whether path names a place of its own: a drive ("D:\...") or a network
// ("\\srv\...") path, not one relative to the current folder.
bool IsAbsolutePath(std::wstring_view path);

// Whether target begins with source_path, letter case ignored as the file
// system ignores it: the way a backup target inside a checked source is
// refused. An empty source_path (a store whose file is unknown) is the start
// of no target.
bool StartsWithPath(std::wstring_view target, std::wstring_view source_path);

}  // namespace backup
