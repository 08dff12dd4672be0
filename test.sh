#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh

# Everything at once, so that a user without root gets one apt-get line.
packages=("${TALVOR_BUILD_PACKAGES[@]}" "${TALVOR_WIN32_PACKAGES[@]}")
[ "$(id -u)" -eq 0 ] && packages+=("${TALVOR_PACKAGE_PACKAGES[@]}")
talvor_install_packages "${packages[@]}"

step() { printf '\n==== %s ====\n' "$*"; }

step "dev: configure, build, test"
cmake --workflow --preset dev

step "asan: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --workflow --preset asan

step "win32: cross-build Talvor.exe, run its tests under Wine"
(
  . scripts/wine-env.sh
  talvor_wine_up
  trap talvor_wine_down EXIT
  cmake --workflow --preset win32
)

step "deb: build the Debian package, install it, run it, remove it"
if [ "$(id -u)" -eq 0 ]; then
  scripts/check-deb.sh
else
  echo "skipped: scripts/check-deb.sh installs the package into this machine and needs root"
fi

step "fuzz: every fuzz target for a short while"
fuzz/run.sh 15

echo
echo "test.sh: all tests passed"
