// The operating system's name shown in the main window's header, decided
// from the platform's version record.
#pragma once

#include <cstdint>
#include <string>

namespace environment {

// call_succeeded is false when the version record could not be filled; the
// name is then "NONE", as for an unknown platform identifier. The record must
// be the system's true one: the version call tells a program without a
// compatibility manifest that any later system is Windows 8.
std::wstring OperatingSystemNameFor(bool call_succeeded, std::uint32_t platform_id,
                                    std::uint32_t major, std::uint32_t minor,
                                    std::uint32_t build);

}  // namespace environment
