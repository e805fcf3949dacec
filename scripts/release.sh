#!/usr/bin/env bash
# Makes a release: builds the program (Release) and its installer, signs the
# installer, and writes them laid out as the vendor's web server publishes
# them:
#   OUTDIR/download/TavrikBackup.exe       the installer
#   OUTDIR/download/TavrikBackup.exe.sig   its ECDSA P-256 signature (DER, SHA-256)
#   OUTDIR/download/TavrikBackup.upd       first line: the version of that build
# Usage: scripts/release.sh --signing-key KEY.pem [--cert CERT --cert-key KEY]
#                           [OUTDIR] [-DNAME=VALUE ...]
# --signing-key is the vendor's update private key; the build's public key
# (TAVRIK_UPDATE_PUBLIC_KEY) must be its own. --cert and --cert-key, a
# code-signing certificate and its key, also Authenticode-sign the program,
# the uninstaller and the installer with osslsigncode. OUTDIR is build/release by default;
# the -D values go to CMake, e.g.
# -DTAVRIK_VERSION_OVERRIDE=0.2.0 -DTAVRIK_UPDATE_SERVER=http://127.0.0.1:8080
# The build folder is build/release-build, or TAVRIK_RELEASE_BUILD.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out=$ROOT/build/release
signing_key="" cert="" cert_key=""
cmake_values=()
while [ $# -gt 0 ]; do
  case $1 in
    --signing-key) signing_key=$2; shift 2 ;;
    --cert) cert=$2; shift 2 ;;
    --cert-key) cert_key=$2; shift 2 ;;
    -D*) cmake_values+=("$1"); shift ;;
    -*) echo "Unknown option $1" >&2; exit 2 ;;
    *) out=$1; shift ;;
  esac
done
[ -n "$signing_key" ] || { echo "A release is signed: give --signing-key KEY.pem" >&2; exit 2; }
[ -f "$signing_key" ] || { echo "No signing key $signing_key" >&2; exit 2; }
if [ -n "$cert$cert_key" ] && { [ ! -f "$cert" ] || [ ! -f "$cert_key" ]; }; then
  echo "--cert and --cert-key go together and must name files" >&2; exit 2
fi
BUILD=${TAVRIK_RELEASE_BUILD:-$ROOT/build/release-build}

ensure_packages
# Configured afresh each time, so that no cache value of an earlier release
# (another version, a test's server or key) slips into this one; the
# compiled objects stay and only what changed is built again.
rm -f "$BUILD/CMakeCache.txt"
TAVRIK_BUILD_TYPE=Release build_program -DTAVRIK_BUILD_TESTS=OFF "${cmake_values[@]}"

# The program must verify this release's signature: the public key built
# into it is the signing key's own.
public_key=$(sed -n 's/^TAVRIK_UPDATE_PUBLIC_KEY:FILEPATH=//p' "$BUILD/CMakeCache.txt")
if ! cmp -s <(openssl pkey -in "$signing_key" -pubout -outform DER) \
            <(openssl pkey -pubin -in "$public_key" -outform DER); then
  echo "The signing key $signing_key is not the one of the public key built in ($public_key)" >&2
  exit 1
fi

version=$(sed -n 's/^#define TAVRIK_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD/generated/version.h")
[ -n "$version" ] || { echo "No version text in $BUILD/generated/version.h" >&2; exit 1; }
installer=$BUILD/installer/TavrikBackup.exe
[ -f "$installer" ] || { echo "No installer was made (is makensis installed?)" >&2; exit 1; }

authenticode() {
  osslsigncode sign -certs "$cert" -key "$cert_key" -n "Tavrik Backup" -h sha256 \
               -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}
if [ -n "$cert" ]; then
  # The program inside the installer is signed first; the installer is made
  # again around it, its uninstaller signed as it is made.
  authenticode "$BUILD/TavrikBackup.exe"
  cat > "$BUILD/sign-uninstaller.sh" <<EOF
osslsigncode sign -certs '$(realpath "$cert")' -key '$(realpath "$cert_key")' -n "Tavrik Backup" -h sha256 \\
             -in "\$1" -out "\$1.signed" >/dev/null && mv "\$1.signed" "\$1"
EOF
  cmake -S "$ROOT" -B "$BUILD" -DTAVRIK_UNINSTALLER_SIGNER="$BUILD/sign-uninstaller.sh" >/dev/null
  rm -f "$installer"
  cmake --build "$BUILD" --target installer
  authenticode "$installer"
fi

rm -rf "$out/download"
mkdir -p "$out/download"
cp "$installer" "$out/download/TavrikBackup.exe"
openssl dgst -sha256 -sign "$signing_key" -out "$out/download/TavrikBackup.exe.sig" \
        "$out/download/TavrikBackup.exe"
# The program reads the first line up to CR: ANSI text, CR LF.
printf '%s\r\n' "$version" > "$out/download/TavrikBackup.upd"
echo "Release $version written to $out/download"
