// What the program checks in a downloaded file before it starts it, with the
// system's own means: its SHA-256 digest and an ECDSA P-256 signature over
// it (crypt32 reads the key and the signature, CNG checks them), and the
// product version its version resource gives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The SHA-256 digest of a file's bytes, read in pieces; nothing when the
// file cannot be read.
std::optional<std::string> FileSha256(const std::wstring& path);

// Whether signature, as openssl writes it (DER), is a valid ECDSA P-256
// signature of digest under public_key, a P-256 public key as
// `openssl pkey -pubout` writes it (PEM, or its DER).
bool VerifyP256Signature(const std::string& public_key, const std::string& digest,
                         const std::string& signature);

// The product version of a file's version resource, its four numbers from
// the most significant; nothing when the file has none.
std::optional<std::array<std::uint16_t, 4>> FileProductVersion(const std::wstring& path);

}  // namespace platform
