// GetDriveTypeW for a drive's root, GetFileAttributesW for a share's.
#include "platform/target_place.h"

#include <windows.h>

namespace platform {
namespace {

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool TargetPlaceAvailable(const std::wstring& path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
    return GetDriveTypeW(path.substr(0, 3).c_str()) != DRIVE_NO_ROOT_DIR;
  if (path.rfind(L"\\\\", 0) != 0 || path.rfind(L"\\\\?\\", 0) == 0) return true;
  // \\server\share\: the share's root.
  const std::size_t server_end = path.find(L'\\', 2);
  if (server_end == std::wstring::npos) return false;
  const std::size_t share_end = path.find(L'\\', server_end + 1);
  const std::wstring root = path.substr(0, share_end) + L"\\";
  if (GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  switch (GetLastError()) {
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_SEM_TIMEOUT:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_PATH_NOT_FOUND:
      return false;
    default:
      // Access denied and the like: the share answers; the folder checks
      // say what is wrong.
      return true;
  }
}

}  // namespace platform
