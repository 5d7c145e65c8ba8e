#!/usr/bin/env bash
# vimra.scr /s on several monitors, laid out with RandR on an Xorg server with
# the dummy driver (scripts/dummy-monitors): every screenshot must show each
# monitor's cloud centred on it, its discs 16k pixels across at its scale k,
# and nothing lit outside the monitors (tests/picture_check.py). A 1280x1024
# left of the primary (negative coordinates), where a 5-pixel mouse move ends
# the saver; a 3840x2160 primary (scale 2) with a 1920x1080, watched through a
# morph, then its secondary changed, switched off and on, each
# change followed by the WM_DISPLAYCHANGE Windows would send (Wine 8 sends
# none): the window covers the new desktop within a second, every monitor
# shows its cloud; one 1920x1080 monitor at 16 bits a pixel, where the saver
# draws with GDI brushes. Needs root (Xorg).
#   monitors_test.sh VIMRA_SCR DISPLAY_CHANGE_EXE WINE_PREFIX
set -uo pipefail
scr=$1 poster=$2
source "$(dirname "$0")/../../scripts/dummy-monitors"
source "$(dirname "$0")/../lib.sh"
work=$(mktemp -d)
export WINEPREFIX=$3 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d
# The last screenshot is kept here as monitors-failed.ppm.
fail() { echo "FAIL: $*"; mv "$work/shot.ppm" monitors-failed.ppm 2>/dev/null; exit 1; }
trap 'timeout 30 wineserver -k; stop_monitors; rm -rf "$work"' EXIT
"$(dirname "$0")/../../scripts/wine-prefix" "$WINEPREFIX" || exit 1
now() { date +%s%3N; }

# shows MODE MONITOR...: a screenshot that picture_check.py accepts; shot_at is
# when it was taken (ms).
shows() {
  import -window root -depth 8 "$work/shot.ppm" && shot_at=$(now) &&
    python3 "$(dirname "$0")/../picture_check.py" "$work/shot.ppm" "$@" >"$work/why"
}
# After a resize Wine 8 shows on X less than the saver drew into its window,
# for seconds: an expose of every window (xrefresh) makes it show all of it.
shows_drawn() { xrefresh && shows exact "${monitors[@]}"; }
# covers: the saver's window is the whole screen, which RandR makes the monitors' bounding box.
covers() {
  eval "$(xdotool getwindowgeometry --shell "$window")" &&
    [ "$X $Y $WIDTH $HEIGHT" = "$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { print 0, 0, w, $2 }')" ]
}
# start [MODE]: the saver, its window over every monitor, and a first
# screenshot that shows every monitor's cloud.
start() {
  wine "$scr" /s 2>"$work/wine.log" & saver=$!
  within 60000 shows "${1:-exact}" "${monitors[@]}" || fail "$(cat "$work/why") at the start"
  window=$(xdotool search --name '^Screen Saver$') && covers || fail "the window does not cover the monitors"
}
# ask [post]: into seen, the monitors Wine sees (after posting WM_DISPLAYCHANGE);
# a Windows program ends its lines with CR LF.
ask() { echo "${1:-}" >&"${post[1]}" && IFS=$' \r' read -r -t 30 -a seen <&"${post[0]}"; }
sees() { ask && [ "${seen[*]}" = "${monitors[*]}" ]; }
# layout MONITOR...: the monitors laid out, the primary first, and seen by Wine.
layout() { monitors=("$@") && set_monitors "$@" && within 30000 sees || fail "Wine sees ${seen[*]}, not $*"; }
# ends HOW: the saver ended within 15 s, with code 0.
ends() { within 15000 ended "$saver" && wait "$saver" || fail "the saver did not end after $1"; }

start_monitors "$work/x24" || exit 1
timeout 30 wineserver -k
coproc post { exec wine "$poster"; }
layout 1920x1080+1280+0 1280x1024+0+0
xdotool mousemove 640 512
start
xdotool mousemove_relative 5 0
ends "a 5-pixel move on the secondary monitor"

layout 3840x2160+0+0 1920x1080+3840+0
xdotool mousemove 100 100
start
# The first shape change comes 10-11 s after the start: every screenshot till
# then and into the morph shows whole clouds, no disc left behind.
for ((end = shot_at + 12000; shot_at < end;)); do shows exact "${monitors[@]}" || fail "$(cat "$work/why")"; done
# The secondary given another resolution and moved, the desktop's size kept
# (no resize: only the saver can wipe its old picture), switched off and on
# again. The pointer stays on the primary, whose mode stays: X moves the
# pointer off a monitor that xrandr reconfigures, which Windows would not,
# and that would end the saver.
for change in "3840x2160+0+0 1920x1200+3840+960" "3840x2160+0+0" "3840x2160+0+0 1920x1080+3840+0"; do
  layout $change
  sent=$(now) && ask post && [ "${seen[*]}" = "${monitors[*]}" ] || fail "WM_DISPLAYCHANGE not posted: ${seen[*]}"
  within 1000 covers || fail "the window does not cover $change a second after the change"
  resized=$(now)
  # The second the saver has to draw the new screens, then what it drew.
  while (($(now) < sent + 1000)); do sleep 0.05; done
  within 20000 shows_drawn || fail "$(cat "$work/why") after the change to $change"
  echo "$change: covered in $((resized - sent)) ms; its clouds in a screenshot that ended $((shot_at - sent)) ms after the change"
done
xdotool key a
ends "a key"

timeout 30 wineserver -k
stop_monitors
start_monitors "$work/x16" 16 || exit 1
monitors=(1920x1080+0+0) && set_monitors "${monitors[@]}" || fail "xrandr could not lay out ${monitors[*]}"
start exact16
echo "PASS: vimra.scr left of the primary, on a 3840x2160 (scale 2) beside a 1920x1080 through three changes, and at 16 bits"
