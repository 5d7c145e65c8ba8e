#!/usr/bin/env bash
# vimra --root --fps on the bare root window of a multi-monitor screen (Xorg
# with the dummy driver; needs root): a cloud centred on each monitor at its
# scale, the overlay on the primary's only, each back buffer in a shared
# memory segment of its own. The layout then changes under the running hack
# (the second monitor moved from right to left, other modes, switched off and
# on, mirrored): within a second it has new back buffers, one per monitor,
# and the clouds follow; at its end no segment is left. Last, a window that straddles
# two monitors shows one picture fitted into it.
set -u
vimra=$1 work=$(mktemp -d) || exit 1
. "$(dirname "$0")/../lib.sh" && . "$(dirname "$0")/../../scripts/dummy-monitors" || exit 1
trap 'kill -9 ${hack:-} ${holder:-} 2>/dev/null; stop_monitors; rm -rf "$work"' EXIT
start_monitors "$work" || exit 1
segments() { awk '/SYSV/ { print $5 }' "/proc/$hack/maps" | sort | paste -sd' '; }
no_segments_of() { ! ipcs -m -p | awk -v pid="$1" '$3 == pid' | grep -q .; }
# renewed OLD N: the hack's segments are N, none of them one of OLD.
renewed() { local now=" $(segments) " id && [ "$(wc -w <<<"$now")" -eq "$2" ] && for id in $1; do [[ $now != *" $id "* ]] || return 1; done; }

# A layout (set_monitors' arguments), then the monitors that show a cloud
# as picture_check.py takes them (the primary first, its scale if not 1).
# The hack starts on the first; a mirrored monitor shows the primary's.
while read -r layout monitors; do
  old=$([ -n "${hack:-}" ] && segments)
  set_monitors ${layout//,/ } >/dev/null || fail "xrandr refused $layout"
  [ -n "${hack:-}" ] || { "$vimra" --root --fps & hack=$!; }
  within $([ -n "$old" ] && echo 1000 || echo 10000) renewed "$old" "$(wc -w <<<"$monitors")" ||
    fail "$layout: the segments $(segments), before $old"
  shows_cloud root "$work/shot" exact fps $monitors || fail "$layout: $(cat "$work/why"); $(xrandr --listmonitors | paste -sd' ')"
done <<'TABLE'
1920x1080+0+0,1280x1024+1920+0 1920x1080+0+0 1280x1024+1920+0
1920x1080+1280+0,1280x1024+0+0 1920x1080+1280+0 1280x1024+0+0
3840x2160+0+0,1920x1080+3840+0 3840x2160+0+0*2 1920x1080+3840+0
1920x1080+0+0 1920x1080+0+0
1920x1080+0+0,1280x1024+0+0 1920x1080+0+0
1920x1080+0+0,1280x1024+1920+0 1920x1080+0+0 1280x1024+1920+0
TABLE
kill "$hack" && within 2000 ended "$hack" && within 2000 no_segments_of "$hack" ||
  fail "vimra not ended 2 s after SIGTERM, or its shared memory left: $(ipcs -m -p)"

# A window over the primary's right part and the left of the 1280x1024.
python3 -c 'import ctypes as c, time; x = c.CDLL("libX11.so.6"); x.XOpenDisplay.restype = c.c_void_p
d = c.c_void_p(x.XOpenDisplay(None)); x.XCreateSimpleWindow.restype = x.XDefaultRootWindow.restype = c.c_ulong
w = c.c_ulong(x.XCreateSimpleWindow(d, c.c_ulong(x.XDefaultRootWindow(d)), 1520, 100, 800, 600, 0, 0, 0))
x.XMapWindow(d, w), x.XSync(d, 0), print(w.value, flush=True), time.sleep(60)' >"$work/window" & holder=$!
within 5000 test -s "$work/window" || fail "no window to draw in"
"$vimra" --window-id "$(cat "$work/window")" & hack=$!
shows_cloud "$(cat "$work/window")" "$work/shot" scaled || fail "a window over two monitors: $(cat "$work/why")"
passed "vimra --root: a cloud on each monitor through 6 layouts, a segment each, none left; one fitted picture over two"
