// Walks a folder tree with one open search per level and sums its files.
#include "sources/folder_size.h"

#include "platform/files.h"
#include "sources/size_text.h"

namespace sources {
namespace {

// The sum is kept in the fixed-point form so that it stays exact.
TenThousandthBytes TreeBytes(const std::wstring& path) {
  TenThousandthBytes total = 0;
  platform::FileSearch search(path + L"*.*");
  if (!search.found()) return 0;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.is_system()) continue;
    if (entry.name.empty() || entry.name[0] == L'.') continue;
    // A linked folder may loop back or lie outside: the backup skips it too.
    if (entry.is_directory() && entry.is_link()) continue;
    if (entry.is_directory())
      total += TreeBytes(path + entry.name + L"\\");
    else
      total += TenThousandthBytesFromBytes(entry.size());
  } while (search.Next());
  return total;
}

}  // namespace

double FolderSize(const std::wstring& path) { return TenThousandthBytesToDouble(TreeBytes(path)); }

}  // namespace sources
