#!/usr/bin/env bash
# Talvor.exe under Wine with real input: xdotool types durations and Enter
# through the X server, as a person would; a probe program reads the result
# fields back, the result field is double-clicked for the clipboard, and an
# EXIT line ends the program, which leaves its settings file beside itself.
#
# Usage: real_input_test.sh Talvor.exe window_probe.exe
set -euo pipefail
exe=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
own=0
if [ "${TALVOR_WINE_UP:-}" != "$TALVOR_WINE_ROOT" ]; then
  talvor_wine_up
  own=1
fi

work=$(mktemp -d)
program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  rm -rf "$work"
  [ "$own" = 1 ] && talvor_wine_down
  return 0
}
trap cleanup EXIT
cp "$exe" "$work/Talvor.exe"

fail() {
  echo "real-input: $*" >&2
  exit 1
}
run_probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }

(cd "$work" && exec wine Talvor.exe) >/dev/null 2>&1 &
program=$!
run_probe wait >/dev/null || fail "the main window did not appear"

window=$(xdotool search --onlyvisible --name '^TALVOR$' | head -1)
[ -n "$window" ] || fail "no X window named TALVOR"
fields=$(run_probe fields)
read -r _ sheet_x sheet_y <<<"$(grep '^sheet ' <<<"$fields")"
# A click into the sheet gives the window the X input focus.
xdotool mousemove --sync "$sheet_x" "$sheet_y" click 1
sleep 0.3

xdotool type --delay 40 '1:30'
xdotool key Return
xdotool type --delay 40 '2:45'
xdotool key Return
sleep 0.5

fields=$(run_probe fields)
mapfile -t results < <(grep '^field ' <<<"$fields")
[ "${#results[@]}" = 3 ] || fail "expected three result fields, got: $fields"
expect() {
  local got=${1#field * * }
  [ "$got" = "$2" ] || fail "a result field shows '$got', not '$2'"
}
expect "${results[0]}" ' 255'
expect "${results[1]}" ' 4:15'
expect "${results[2]}" ' 0:04:15'

# A double-click copies the field, sign column included.
read -r _ field_x field_y _ <<<"${results[1]}"
xdotool mousemove --sync "$field_x" "$field_y" click --repeat 2 --delay 80 1
sleep 0.5
clipboard=$(run_probe clipboard)
[ "$clipboard" = "clipboard  4:15" ] || fail "the clipboard holds '$clipboard'"

# Back into the sheet: an EXIT line ends the program.
xdotool mousemove --sync "$sheet_x" "$sheet_y" click 1
xdotool key ctrl+End
xdotool type --delay 40 'EXIT'
xdotool key Return
run_probe gone >/dev/null || fail "EXIT did not close the main window"
for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program did not end"
program=
grep -q '^\[Setup\]' "$work/talvor.ini" || fail "no settings file beside the program"
echo "real-input: typed durations added up, copied and EXIT closed the program"
