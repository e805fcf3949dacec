// The size of a folder tree as the source rows show it.
#pragma once

#include <string>

namespace sources {

// The bytes of every file below path (which ends in "\"), hidden files
// included; entries with the system attribute, names beginning with "." and
// linked folders (symbolic links, junctions) are left out, and a folder that
// cannot be listed counts 0.
double FolderSize(const std::wstring& path);

}  // namespace sources
