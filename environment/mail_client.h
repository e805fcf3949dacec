// Whether a mail client is set up for the user, and what the program needs
// to know about its message stores: the store file's path and its size.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation.h"

namespace environment {

// The class name the mail client registers its application object under.
extern const wchar_t kMailClientClass[];

// Starts (or reaches) the mail client and gives its application object.
platform::AutomationObject CreateMailClient();

// Whether an instance of the mail client runs now.
bool MailClientRunning();

// The profile keys under HKEY_CURRENT_USER that tell a mail client has been
// set up, in the order they are tested.
extern const std::array<const wchar_t*, 4> kProfileKeys;

// Whether at least one profile key exists; every key is tested.
bool MailProfilePresent();

// The store file's path from its StoreID, as wide text; "" when the StoreID
// holds no path, nullopt when it is not hexadecimal.
std::optional<std::wstring> StorePathFromStoreID(const std::wstring& store_id);

// The size in bytes of the file at path; 0 when there is no such file.
std::uint64_t FileSizeOf(const std::wstring& path);

}  // namespace environment
