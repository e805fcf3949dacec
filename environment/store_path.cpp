// Decoding of a mail store's StoreID into the store file's path.
#include "environment/store_path.h"

namespace environment {

namespace {

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> AnsiStorePathFromStoreID(std::wstring_view store_id) {
  std::string decoded;
  for (std::size_t i = 0; i < store_id.size(); i += 2) {
    // An odd length leaves a last digit that is read on its own.
    const std::wstring_view pair = store_id.substr(i, 2);
    if (pair == L"00") {
      continue;
    }
    int value = 0;
    for (wchar_t c : pair) {
      const int digit = HexDigitValue(c);
      if (digit < 0) {
        return std::nullopt;
      }
      value = value * 16 + digit;
    }
    decoded += static_cast<char>(static_cast<unsigned char>(value));
  }

  // The identifier carries more than the path (flags, provider data) ahead
  // of it, so the path is found by its start; whatever follows belongs to it.
  const std::size_t drive_colon = decoded.find(":\\");
  if (drive_colon != std::string::npos) {
    return decoded.substr(drive_colon == 0 ? 0 : drive_colon - 1);
  }
  const std::size_t share = decoded.find("\\\\");
  if (share != std::string::npos) {
    return decoded.substr(share);
  }
  return std::string();
}

}  // namespace environment
