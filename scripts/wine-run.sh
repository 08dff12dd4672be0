#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine environment (the
# CMake cross-compiling emulator of the win32 preset).
#
# When the environment is already up (test.sh brings it up once for a whole
# test run) the program just runs in it; otherwise it is brought up for this
# one program and taken down afterwards. Carriage returns that the C runtime
# adds to the program's text output are removed, so tools reading it (test
# discovery) see plain lines. The program's exit status is kept.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

own=0
if [ "${TALVOR_WINE_UP:-}" != "$TALVOR_WINE_ROOT" ]; then
  # One such run at a time: each takes the environment down when it ends.
  mkdir -p "$(dirname "$TALVOR_WINE_ROOT")"
  exec 9>"$TALVOR_WINE_ROOT.lock"
  flock 9
  talvor_wine_up || exit 1
  own=1
fi
# A test may ask for another locale (the Western code page run).
if [ -n "${TALVOR_WINE_LANG:-}" ]; then export LANG="$TALVOR_WINE_LANG"; fi

# Through a file rather than a pipe: a Wine process started along the way
# could keep a pipe open after the program has ended.
out=$(mktemp)
wine "$@" >"$out" 2>&1
status=$?
sed 's/\r$//' "$out"
rm -f "$out"
[ "$own" = 1 ] && talvor_wine_down
exit "$status"
