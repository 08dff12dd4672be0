#!/usr/bin/env bash
# Makes the README's pictures of the program's windows:
#
#   docs/main-window.png          the main window with a track list and its totals
#   docs/split-dialog.png         the split dialog after two entries were dragged to Side B
#   docs/about-dialog.png         the About dialog
#   docs/windows-main-window.png  Talvor.exe under Wine, when build/win32/app/Talvor.exe exists
#
# The program runs from a copy in a temporary folder, so its settings file and
# report never land in the build tree, under a display of its own (Xvfb with
# a window manager for the frames); xdotool types the sheet and clicks the
# tool buttons as a person would. Builds talvor with the release preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
talvor_install_packages "${TALVOR_SCREENSHOT_PACKAGES[@]}"

log() { printf 'screenshots: %s\n' "$*" >&2; }

# A realistic track list: words around the durations, the three ways of
# writing one, and the one-hour live side that needs hours.
SHEET=(
  "Morning Tide 3:45"
  "Salt Road 4.05"
  "Lanterns 5:12"
  "Night Ferry 2:58"
  "Live at the Pier 1:02:03"
  "Glass Birds 3.30"
  "Coda 1:07"
  "Outro 95"
)
# Where the main window stands and how large it is (outer size, frame included).
MAIN_X=24 MAIN_Y=24 MAIN_W=330 MAIN_H=260
SCREEN=800x600x24

cmake --preset release >/dev/null
cmake --build --preset release --target talvor >/dev/null

work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid=""
wine_up=0
stop() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  if [ "$wine_up" = 1 ]; then talvor_wine_down || true; fi
  stop "$app_pid"
  stop "$wm_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/app"
cp build/release/app/talvor "$work/app/"
printf '[Setup]\nx=%d\ny=%d\nw=%d\nh=%d\n' "$MAIN_X" "$MAIN_Y" "$MAIN_W" "$MAIN_H" >"$work/app/talvor.ini"

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 "$SCREEN" -dpi 96 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
display_number=$(head -n 1 "$work/display")
[ -n "$display_number" ] || { log "Xvfb did not start"; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display_number"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is up once it names the current desktop.
for _ in $(seq 100); do
  xdotool get_desktop >/dev/null 2>&1 && break
  sleep 0.1
done

# The window that has the focus once it differs from $1 (a dialog that opened).
wait_active_other_than() {
  local previous=$1 id
  for _ in $(seq 100); do
    id=$(xdotool getactivewindow 2>/dev/null || true)
    if [ -n "$id" ] && [ "$id" != "$previous" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  log "no new window took the focus"
  return 1
}

# Takes the window with its frame; the pointer is parked outside it first,
# so no hint shows. A blinking caret would make every run's picture differ:
# of four pictures over a blink period the darkest, caret shown, is kept.
shoot() {
  local id=$1 out=$2 shot mean best="" best_mean=""
  # A window manager's frame is a window of its own around ours.
  local frame=()
  [ -n "$wm_pid" ] && frame=(-frame)
  xdotool mousemove 790 590
  sleep 0.6
  for shot in 1 2 3 4; do
    # Without dates or a tIME chunk, the same picture gives the same file.
    import -silent -window "$id" "${frame[@]}" -strip -define png:exclude-chunks=date,time \
      "$work/shot$shot.png"
    mean=$(identify -format '%[fx:mean]' "$work/shot$shot.png")
    if [ -z "$best" ] || awk -v a="$mean" -v b="$best_mean" 'BEGIN { exit !(a < b) }'; then
      best=$work/shot$shot.png best_mean=$mean
    fi
    sleep 0.27
  done
  mkdir -p "$(dirname "$out")"
  cp "$best" "$out"
  log "wrote $out ($(identify -format '%wx%h' "$out"))"
}

# Waits up to 5 s for the program to end after its window was closed.
wait_exit() {
  local pid=$1 name=$2
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  log "$name did not end after its window was closed; stopping it"
}

# Drags row $2 of Side A onto Side B at height $3, in steps as a hand would,
# so the drag starts past its threshold.
ITEM_H=12
drag_to_side_b() {
  local id=$1 row=$2 y=$3 from_y step
  from_y=$((6 + ITEM_H * row + ITEM_H / 2))
  xdotool mousemove --window "$id" 60 "$from_y" mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --window "$id" 60 $((from_y + (y - from_y) * step / 8))
    sleep 0.03
  done
  xdotool mouseup 1
  sleep 0.2
}

"$work/app/talvor" >"$work/talvor.log" 2>&1 &
app_pid=$!
main=$(xdotool search --sync --onlyvisible --name '^TALVOR$' | head -n 1)
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.3

for line in "${SHEET[@]}"; do
  xdotool type --delay 8 "$line"
  xdotool key Return
done
shoot "$main" docs/main-window.png

# The tool buttons stand on the right panel, 90 pixels wide: the disc at
# 32..55, the question mark at 60..83, both at 6..29 from the top.
eval "$(xdotool getwindowgeometry --shell "$main")"
panel_x=$((WIDTH - 90))

xdotool mousemove --window "$main" $((panel_x + 43)) 17 click 1
split=$(wait_active_other_than "$main")
sleep 0.3
# Side A holds the sheet's lines, one per 12-pixel row from y = 6 of the
# dialog; Side B's list starts at y = 108. The live side and the outro go over.
drag_to_side_b "$split" 4 150
drag_to_side_b "$split" 6 180
shoot "$split" docs/split-dialog.png
xdotool key Escape
sleep 0.3

xdotool mousemove --window "$main" $((panel_x + 71)) 17 click 1
about=$(wait_active_other_than "$main")
sleep 0.3
shoot "$about" docs/about-dialog.png
# OK is the About dialog's default button.
xdotool key Return
sleep 0.3

# Alt+F4 asks the window manager to close the window, as a person would.
xdotool key alt+F4
wait_exit "$app_pid" talvor

stop "$app_pid"
stop "$wm_pid"
stop "$xvfb_pid"
app_pid="" wm_pid="" xvfb_pid=""

# The Windows build under Wine, in a Wine environment of its own (made anew
# in the temporary folder: about 15 s), whose frames Wine draws itself.
exe=build/win32/app/Talvor.exe
if [ ! -f "$exe" ]; then
  log "no $exe (cmake --workflow --preset win32 builds it): docs/windows-main-window.png left as it is"
  exit 0
fi
if ! command -v wine >/dev/null 2>&1; then
  log "wine is not installed: docs/windows-main-window.png left as it is"
  exit 0
fi
export TALVOR_WINE_ROOT="$work/wine"
. scripts/wine-env.sh
wine_up=1
talvor_wine_up
# A new prefix holds none of Wine's own fonts (package fonts-wine): without
# Marlett the caption buttons show letters, without Tahoma the caption is in
# a stand-in. Copied into this private prefix only.
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
  if [ -f "/usr/share/wine/fonts/$font" ]; then
    cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
done
mkdir -p "$work/win"
cp "$exe" "$work/win/"
printf '[Setup]\r\nx=%d\r\ny=%d\r\nw=%d\r\nh=%d\r\n' "$MAIN_X" "$MAIN_Y" "$MAIN_W" "$MAIN_H" \
  >"$work/win/talvor.ini"
(cd "$work/win" && exec wine Talvor.exe) >"$work/wine.log" 2>&1 &
app_pid=$!
main=$(xdotool search --sync --onlyvisible --name '^TALVOR$' | head -n 1)
sleep 0.5
# No window manager here: a click into the sheet gives it the focus.
xdotool mousemove --window "$main" 40 80 click 1
sleep 0.2
for line in "${SHEET[@]}"; do
  xdotool type --delay 8 "$line"
  xdotool key Return
done
shoot "$main" docs/windows-main-window.png
xdotool key ctrl+e
xdotool type "END"
xdotool key Return
wait_exit "$app_pid" Talvor.exe
