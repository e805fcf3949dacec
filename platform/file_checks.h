// What the program checks in a downloaded file before it starts it, with the
// system's own means: its SHA-256 digest and an ECDSA P-256 signature over
// it (CNG), and the product version its version resource gives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The SHA-256 digest of a file's bytes, read in pieces; nothing when the
// file cannot be read.
std::optional<std::string> FileSha256(const std::wstring& path);

// Whether signature (r and s, 32 bytes each, big-endian) is a valid ECDSA
// P-256 signature of digest under the public key (its point's X and Y,
// 32 bytes each, big-endian).
bool VerifyP256Signature(const std::string& public_key, const std::string& digest,
                         const std::string& signature);

// The product version of a file's version resource, its four numbers from
// the most significant; nothing when the file has none.
std::optional<std::array<std::uint16_t, 4>> FileProductVersion(const std::wstring& path);

}  // namespace platform
