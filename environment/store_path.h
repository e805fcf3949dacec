// The file path of a mail store, recovered from the store's StoreID.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace environment {

// store_id is the store's entry identifier as hexadecimal digits, two per
// byte. Returns the path found in the decoded bytes, as single-byte text in
// the system's ANSI code page: from the drive letter before the first ":\"
// to the end, or else from the first "\\" to the end, or else "". Zero bytes
// are dropped, so paths stored as 8-bit and as 16-bit characters come out
// alike. nullopt when the identifier holds something that is not a
// hexadecimal digit.
std::optional<std::string> AnsiStorePathFromStoreID(std::wstring_view store_id);

}  // namespace environment
