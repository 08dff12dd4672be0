#!/usr/bin/env bash
# Builds what is needed and starts TALVOR.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
talvor_install_packages "${TALVOR_BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target talvor-sum
echo "run.sh: the main window is not built yet; running talvor-sum on your arguments." >&2
exec build/release/cli/talvor-sum "$@"
