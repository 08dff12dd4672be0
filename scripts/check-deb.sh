#!/usr/bin/env bash
# Builds the Debian package with the release preset, installs it into this
# machine with apt-get, checks what it installed and that both programs run
# from there, and removes it again. Needs root; test.sh calls it when run as root.
#
# The installed program is started as the unprivileged user nobody, as a
# person would start it: it cannot write beside /usr/bin/talvor, so its
# settings must land in $XDG_CONFIG_HOME/talvor/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

log() { printf 'check-deb: %s\n' "$*" >&2; }
fail() {
  log "FAILED: $*"
  exit 1
}

if [ "$(id -u)" -ne 0 ]; then
  log "needs root: it installs the package into this machine"
  exit 1
fi
talvor_install_packages "${TALVOR_BUILD_PACKAGES[@]}" "${TALVOR_PACKAGE_PACKAGES[@]}"

if dpkg-query -W -f='${Status}' talvor 2>/dev/null | grep -q "install ok installed"; then
  fail "a package talvor is installed already; remove it first (dpkg -r talvor)"
fi

rm -f build/release/talvor_*.deb
cmake --workflow --preset release
cpack --preset release
deb=$(ls build/release/talvor_*_"$(dpkg --print-architecture)".deb)
log "built $deb ($(stat -c %s "$deb") bytes)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = talvor ] || fail "package name $(field Package)"
[ "$(field Section)" = utils ] || fail "section $(field Section)"
# The dependencies come from dpkg-shlibdeps: the Qt libraries must be among them.
field Depends | grep -q 'libqt6widgets6' || fail "no Qt in Depends: $(field Depends)"
field Recommends | grep -q 'fonts-ipafont-gothic' || fail "no Japanese font in Recommends"

work=$(mktemp -d)
installed=0 xvfb_pid="" app_pid="" home=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ "$installed" = 1 ]; then dpkg -r talvor >/dev/null || log "dpkg -r talvor failed"; fi
  rm -rf "$work" ${home:+"$home"}
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "./$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt-get install ./$deb"; }
installed=1
log "installed"

for path in /usr/bin/talvor /usr/bin/talvor-sum; do
  [ -x "$path" ] || fail "$path is not installed"
done
for path in /usr/share/applications/talvor.desktop \
  /usr/share/icons/hicolor/32x32/apps/talvor.png \
  /usr/share/icons/hicolor/256x256/apps/talvor.png \
  /usr/share/icons/hicolor/scalable/apps/talvor.svg \
  /usr/share/man/man1/talvor-sum.1.gz; do
  [ -f "$path" ] || fail "$path is not installed"
  dpkg -S "$path" >/dev/null 2>&1 || fail "$path does not belong to the package"
done
gzip -t /usr/share/man/man1/talvor-sum.1.gz || fail "the manual page is no gzip file"
zcat /usr/share/man/man1/talvor-sum.1.gz | grep -q '^\.TH TALVOR-SUM' || fail "the manual page has no title"

# The desktop entry: valid (a hint is fine), and what it starts and shows is there.
desktop-file-validate /usr/share/applications/talvor.desktop >"$work/validate.log" 2>&1 || true
if grep -E 'error:|warning:' "$work/validate.log" >&2; then fail "desktop-file-validate"; fi
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/talvor.desktop)
[ "$(command -v "${exec_line%% *}")" = /usr/bin/talvor ] || fail "Exec=$exec_line does not start /usr/bin/talvor"
grep -qx 'Icon=talvor' /usr/share/applications/talvor.desktop || fail "the entry does not show the icon talvor"

# talvor-sum from PATH: a sheet with each way of writing a duration, and a line it cannot read.
expected=$' 4,193\n 69:53\n 1:09:53'
actual=$(printf '3:45\n4:05 Second track\n1:02:03\n' | talvor-sum)
[ "$actual" = "$expected" ] || fail "talvor-sum printed '$actual', not '$expected'"
status=0
actual=$(printf '1:00\n:30\n' | talvor-sum 2>/dev/null) || status=$?
[ "$status" = 1 ] && [ "$actual" = $'Error\nError\nError' ] ||
  fail "talvor-sum on a line it cannot read: status $status, printed '$actual'"
log "talvor-sum runs"

# The program: a window under Xvfb, a sheet typed into it, END closes it.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
# A home of nobody's own, outside $work, which only root may enter.
home=$(mktemp -d)
chown nobody "$home"
run_as_nobody() {
  runuser -u nobody -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY=":$(head -n 1 "$work/display")" \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" "$@"
}
run_as_nobody talvor >"$work/talvor.log" 2>&1 &
app_pid=$!
window=$(run_as_nobody timeout 20 xdotool search --sync --onlyvisible --name '^TALVOR$' | head -n 1) ||
  true
if [ -z "$window" ]; then
  cat "$work/talvor.log" >&2
  fail "the installed talvor showed no window"
fi
run_as_nobody xdotool mousemove --window "$window" 40 40 click 1
run_as_nobody xdotool type --delay 10 '3:45'
run_as_nobody xdotool key Return
run_as_nobody xdotool type --delay 10 'END'
run_as_nobody xdotool key Return
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "talvor did not end on END"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" = 0 ] || { cat "$work/talvor.log" >&2; fail "talvor ended with status $status"; }
settings="$home/config/talvor/talvor.ini"
[ -f "$settings" ] || fail "no settings file in \$XDG_CONFIG_HOME/talvor after the close"
grep -qx '\[Setup\]' "$settings" && grep -q '^h=' "$settings" || fail "the settings file lacks its keys"
[ ! -e /usr/bin/talvor.ini ] || fail "the program wrote /usr/bin/talvor.ini"
log "talvor opened its window, closed on END and kept its settings in \$XDG_CONFIG_HOME"

dpkg -r talvor >/dev/null
installed=0
for path in /usr/bin/talvor /usr/bin/talvor-sum /usr/share/applications/talvor.desktop; do
  [ ! -e "$path" ] || fail "$path is left after dpkg -r"
done
log "removed; all checks passed"
