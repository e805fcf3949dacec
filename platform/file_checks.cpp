// Digest, signature and version resource of a file, over crypt32, CNG and
// the version functions.
#include "platform/file_checks.h"

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

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

// A structure crypt32 decoded from DER, in memory it allocated.
template <typename T>
class Decoded {
 public:
  Decoded(LPCSTR type, const std::string& der) {
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, type, reinterpret_cast<const BYTE*>(der.data()),
                             static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                             &value_, &size)) {
      value_ = nullptr;
    }
  }
  ~Decoded() {
    if (value_) LocalFree(value_);
  }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;
  T* get() const { return value_; }

 private:
  T* value_ = nullptr;
};

// The DER of a PEM text; der itself when it is no PEM.
std::string DerOf(const std::string& text) {
  if (text.compare(0, 10, "-----BEGIN") != 0) return text;
  DWORD size = 0;
  if (!CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER,
                            nullptr, &size, nullptr, nullptr)) {
    return "";
  }
  std::string der(size, '\0');
  if (!CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER,
                            reinterpret_cast<BYTE*>(&der[0]), &size, nullptr, nullptr)) {
    return "";
  }
  der.resize(size);
  return der;
}

// A P-256 public key made ready for CNG; nullptr for any other key.
BCRYPT_KEY_HANDLE ImportP256PublicKey(const std::string& public_key) {
  // The curve's name as the key's algorithm parameters: the OID 1.2.840.10045.3.1.7.
  static const BYTE kP256[] = {0x06, 0x08, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
  const Decoded<CERT_PUBLIC_KEY_INFO> info(X509_PUBLIC_KEY_INFO, DerOf(public_key));
  if (!info.get() || strcmp(info.get()->Algorithm.pszObjId, szOID_ECC_PUBLIC_KEY) != 0) return nullptr;
  const CRYPT_OBJID_BLOB& curve = info.get()->Algorithm.Parameters;
  if (curve.cbData != sizeof kP256 || memcmp(curve.pbData, kP256, sizeof kP256) != 0) return nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!CryptImportPublicKeyInfoEx2(X509_ASN_ENCODING, info.get(), 0, nullptr, &key)) return nullptr;
  return key;
}

// A number crypt32 gives little-endian, as the 32 big-endian bytes CNG
// takes; false when it does not fit.
bool AppendCoordinate(const CRYPT_UINT_BLOB& number, std::string& out) {
  DWORD length = number.cbData;
  while (length > 0 && number.pbData[length - 1] == 0) --length;
  if (length > 32) return false;
  std::string bytes(32, '\0');
  for (DWORD i = 0; i < length; ++i) bytes[31 - i] = static_cast<char>(number.pbData[i]);
  out += bytes;
  return true;
}

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
  // Nothing may follow the signature's DER (short-form length: a P-256
  // signature is at most 72 bytes).
  if (digest.size() != 32 || signature.size() < 2 || static_cast<unsigned char>(signature[1]) + 2u != signature.size()) {
    return false;
  }
  const Decoded<CERT_ECC_SIGNATURE> decoded(X509_ECC_SIGNATURE, signature);
  std::string raw;
  if (!decoded.get() || !AppendCoordinate(decoded.get()->r, raw) ||
      !AppendCoordinate(decoded.get()->s, raw)) {
    return false;
  }
  BCRYPT_KEY_HANDLE key = ImportP256PublicKey(public_key);
  if (!key) return false;
  std::string hash = digest;
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
