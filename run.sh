#!/usr/bin/env bash
# Builds what is needed and starts TALVOR.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
talvor_install_packages "${TALVOR_RUN_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target talvor
# Without a display the program itself says so and names the xvfb-run command.
exec build/release/app/talvor "$@"
