// Digest, signature and version resource of a file, over CNG and the
// version functions.
#include "platform/file_checks.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>
#include <vector>

#include "platform/files.h"

namespace platform {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

class Algorithm {
 public:
  explicit Algorithm(const wchar_t* name) {
    if (!Succeeded(BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) handle_ = nullptr;
  }
  ~Algorithm() {
    if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  Algorithm(const Algorithm&) = delete;
  Algorithm& operator=(const Algorithm&) = delete;
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

}  // namespace

std::optional<std::string> FileSha256(const std::wstring& path) {
  Algorithm sha256(BCRYPT_SHA256_ALGORITHM);
  if (!sha256.get()) return std::nullopt;
  HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = Succeeded(BCryptCreateHash(sha256.get(), &hash, nullptr, 0, nullptr, 0, 0));
  std::vector<UCHAR> buffer(1 << 16);
  while (ok) {
    DWORD got = 0;
    ok = ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) != FALSE;
    if (!ok || got == 0) break;
    ok = Succeeded(BCryptHashData(hash, buffer.data(), got, 0));
  }
  std::string digest(32, '\0');
  ok = ok && Succeeded(BCryptFinishHash(hash, reinterpret_cast<PUCHAR>(&digest[0]), 32, 0));
  if (hash) BCryptDestroyHash(hash);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return digest;
}

bool VerifyP256Signature(const std::string& public_key, const std::string& digest,
                         const std::string& signature) {
  if (public_key.size() != 64 || signature.size() != 64 || digest.size() != 32) return false;
  Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!ecdsa.get()) return false;
  // The blob is its header followed by X and Y.
  std::string blob(sizeof(BCRYPT_ECCKEY_BLOB), '\0');
  BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  memcpy(&blob[0], &header, sizeof header);
  blob += public_key;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!Succeeded(BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &key,
                                     reinterpret_cast<PUCHAR>(&blob[0]),
                                     static_cast<ULONG>(blob.size()), 0))) {
    return false;
  }
  std::string hash = digest, raw = signature;
  const bool valid = Succeeded(BCryptVerifySignature(
      key, nullptr, reinterpret_cast<PUCHAR>(&hash[0]), static_cast<ULONG>(hash.size()),
      reinterpret_cast<PUCHAR>(&raw[0]), static_cast<ULONG>(raw.size()), 0));
  BCryptDestroyKey(key);
  return valid;
}

std::optional<std::array<std::uint16_t, 4>> FileProductVersion(const std::wstring& path) {
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD) {
    return std::nullopt;
  }
  return std::array<std::uint16_t, 4>{
      HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
      HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS)};
}

}  // namespace platform
