# Sourced by test.sh and run.sh: installs the Debian packages the project needs.
# Usage: talvor_install_packages pkg...   (installs only what is missing)

talvor_missing_packages() {
  local pkg missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

talvor_install_packages() {
  local missing
  missing=$(talvor_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo apt-get update && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
      return
    fi
    echo "Missing packages. Run this once as root, then start again:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends $missing" >&2
    return 1
  fi
  if [ -z "${TALVOR_APT_UPDATED:-}" ]; then
    apt-get update || return 1
    export TALVOR_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

# What building and testing the Linux program needs.
TALVOR_BUILD_PACKAGES=(
  build-essential cmake git pkg-config
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  xvfb xauth fonts-ipafont-gothic
  clang libclang-rt-14-dev  # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
)

# What cross-building Talvor.exe and testing it under Wine needs: mingw-w64
# (the posix thread model), GoogleTest's sources, Wine, a virtual display,
# the locale sources for a Japanese locale of our own (localedef), and
# xdotool for the real-input test.
TALVOR_WIN32_PACKAGES=(cmake g++-mingw-w64-x86-64-posix googletest wine wine64
  xvfb xauth locales xdotool fonts-ipafont-gothic)

# What building and running the program needs: the compiler and Qt, the
# Japanese fonts, xdg-open for the split report, and a virtual display for a
# machine without one.
TALVOR_RUN_PACKAGES=(build-essential cmake pkg-config qt6-base-dev libgl-dev
  fonts-ipafont-gothic xdg-utils xvfb xauth)

# What making and checking the Debian package needs on top: dpkg-shlibdeps
# (dpkg-dev, which uses file) for the dependencies, desktop-file-validate, and
# xdotool to close the installed program's window.
TALVOR_PACKAGE_PACKAGES=(dpkg-dev file desktop-file-utils xvfb xauth xdotool)

# What scripts/screenshots.sh needs: a display with a window manager, so the
# windows have their frames and captions, the tools that type and take
# pictures, and Wine's own fonts for the glyphs of its caption buttons.
TALVOR_SCREENSHOT_PACKAGES=(xvfb xauth xdotool imagemagick openbox fonts-ipafont-gothic fonts-wine)
