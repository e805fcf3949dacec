# Shared steps of the run and test commands: packages, build, Wine prefix,
# display. Sourced, not run.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TAVRIK_BUILD:-$ROOT/build}
PACKAGES=(cmake make g++ mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb googletest
          imagemagick x11-utils python3 nsis locales openssl osslsigncode
          fonts-wine)

# Installs the packages that are missing; with TAVRIK_NO_INSTALL set it
# only checks and fails, naming them.
ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ] && [ -n "${TAVRIK_NO_INSTALL:-}" ]; then
    echo "Missing packages (TAVRIK_NO_INSTALL is set, so none is installed): ${missing[*]}" >&2
    exit 1
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# The Windows-free rules, built with the host's compiler under the sanitizers
# and run at once: seconds, before anything starts under Wine.
run_native_rules() {
  cmake -S "$ROOT/tests/native" -B "$BUILD/native" -DCMAKE_CXX_COMPILER=g++ >/dev/null
  cmake --build "$BUILD/native" -j "$(nproc)" >/dev/null
  (cd "$BUILD/native" && ctest --output-on-failure)
}

build_program() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=${TAVRIK_BUILD_TYPE:-Release} "$@" >/dev/null
  # With TAVRIK_TARGET set only that target (and what it needs) is built.
  cmake --build "$BUILD" -j "$(nproc)" ${TAVRIK_TARGET:+--target "$TAVRIK_TARGET"}
}

# The build's own Wine prefix and home folder; the user's are never used.
wine_env() {
  export WINEPREFIX="$BUILD/wine" HOME="$BUILD/home" XDG_CONFIG_HOME="$BUILD/home/.config"
  export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

ensure_prefix() {
  (
    wine_env
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating the Wine prefix in $WINEPREFIX"
      mkdir -p "$HOME"/{Desktop,Documents,Pictures,Music,Videos}
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w
    fi
    # Windows left unmanaged: with no window manager on Xvfb, Wine would wait
    # two seconds for one at every hidden or destroyed window.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      wineserver -w
    fi
  )
}

# Wine takes the user's language from LANG; the locale must exist for it.
ensure_locale() {
  local wanted=${LANG:-C.UTF-8}
  case "$wanted" in C|C.*|POSIX) return ;; esac
  local short=${wanted%%.*}
  if ! locale -a 2>/dev/null | grep -qi "^$short\.utf-\?8$"; then
    local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo localedef -i "$short" -f UTF-8 "$short.UTF-8"
  fi
}

# Xvfb when there is no display; sets DISPLAY and XVFB_PID.
XVFB_PID=""
ensure_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=77
    while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

# Ends this build prefix's Wine server, if one runs.
stop_wine() {
  (wine_env; wineserver -k 2>/dev/null) || true
}

stop_display() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
