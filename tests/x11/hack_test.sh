#!/usr/bin/env bash
# vimra, the XScreenSaver hack, on a virtual screen of its own: run by the
# real xscreensaver daemon, drawing into another client's window, ended by
# SIGTERM, by that window's destruction and by the server's death; bad
# command lines refused; its discs' size on 1920x1080 and 3840x2160 screens;
# its copy (window_copy_test) with and without shared memory. The daemon
# starts no hacks as root: as root it runs as nobody, with a private HOME and
# a copy of vimra that nobody can run.
set -u
vimra=$1 copy_test=$2
work=$(mktemp -d) || exit 1
home=$(mktemp -d) || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# within MS COMMAND...: polls COMMAND until it succeeds; fails once MS milliseconds have passed.
within() {
  local end=$(($(date +%s%N) + $1 * 1000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$end" ] && sleep 0.01 || return 1
  done
}
# A process that has ended (a zombie counts: its parent may reap it later).
ended() { [ ! -e "/proc/$1" ] || [ "$(cut -d' ' -f3 "/proc/$1/stat")" = Z ]; }
# finish PID SECONDS: PID's exit status; a watchdog kills it (137) if it has not ended within SECONDS.
finish() {
  sleep "$2" && kill -9 "$1" 2>/dev/null &
  wait "$1"
}
# shot WINDOW NAME MODE [SCALE]: a screenshot of WINDOW, kept here as NAME.ppm, that picture_check.py accepts.
shot() {
  import -window "$1" -depth 8 "$2.ppm" && python3 "$(dirname "$0")/picture_check.py" "$2.ppm" "${@:3}" >"$work/why"
}

# Two screens: one that offers shared memory (and TCP), one that does not.
trap 'kill -9 "${pids[@]}" 2>/dev/null; rm -rf "$work" "$home"' EXIT
for screen in "display 1920x1080x24 -listen tcp" "big 3840x2160x24 -nolisten tcp -extension MIT-SHM"; do
  Xvfb -displayfd 3 -br -screen 0 ${screen#* } 3>"$work/${screen%% *}" & pids+=($!)
  within 10000 test -s "$work/${screen%% *}" || { echo "FAIL: Xvfb did not start"; exit 1; }
done
export DISPLAY=:$(cat "$work/display") big=:$(cat "$work/big")

# The copy against the back buffer's own picture: shared at 1:1 and scale 2;
# in a preview smaller than the picture over TCP and with no shared memory.
for row in "$DISPLAY 400x300 2 820x630" "localhost$DISPLAY 400x300 1 300x200" "$big 400x300 2 300x200"; do
  DISPLAY=${row%% *} timeout 60 "$copy_test" "${row#* }" >"$work/why" 2>&1 || fail "copy $row: $(cat "$work/why")"
done

# 3840x2160: discs twice as large, unless --scale 1 says otherwise.
for scale in 2 1; do
  DISPLAY=$big "$vimra" --root $([ "$scale" = 1 ] && echo --scale 1) &
  DISPLAY=$big within 15000 shot root "big$scale" exact "$scale" || fail "3840x2160, scale $scale: $(cat "$work/why")"
  kill "$!" && finish "$!" 1
done

while read -r display word args; do
  # shellcheck disable=SC2086
  DISPLAY=${display#-} timeout 5 "$vimra" $args >/dev/null 2>"$work/err"
  status=$?
  [ "$status" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 2 ] && head -n1 "$work/err" | grep -q -- "$word" &&
    tail -n1 "$work/err" | grep -q '^usage: vimra ' || fail "'$args' exited $status and said: $(cat "$work/err")"
done <<TABLE
$DISPLAY --bogus --bogus
$DISPLAY 12abc -window-id 12abc
$DISPLAY 0x1ffffff0 --window-id 0x1ffffff0
- display --root
TABLE

# A window of another client (ImageMagick's), white where vimra leaves it unpainted.
display -geometry +100+100 -size 320x120 xc:white 2>"$work/display.err" &
pids+=($!)
within 15000 xdotool search --name '^ImageMagick: ' >"$work/window" || fail "no window to draw in: $(cat "$work/display.err")"
"$vimra" --window-id "$(cat "$work/window")" &
hack=$!
within 10000 shot "$(cat "$work/window")" window scaled || fail "in a 320x120 window: $(cat "$work/why")"
kill "${pids[-1]}"
finish "$hack" 1 || fail "its window destroyed, vimra exited $?, not 0 within 1 s"

# Two at once: one ended by SIGTERM, one (over TCP, so without shared memory)
# left on the root window while the daemon covers it with its own, then ended
# by the server's death. In a
# sanitizer build the leak check at exit takes longer than the exit itself
# may: it is left to the other runs.
ASAN_OPTIONS=detect_leaks=0 "$vimra" --root &
hack=$!
DISPLAY=localhost$DISPLAY "$vimra" --root &
other=$!
within 10000 shot root root exact 1 || fail "--root: $(cat "$work/why")"
grep -q SYSV "/proc/$hack/maps" && ! grep -q SYSV "/proc/$other/maps" || fail "shared memory not where it should be"
start=${EPOCHREALTIME/./}
kill -TERM "$hack"
finish "$hack" 1
status=$? elapsed=$(((${EPOCHREALTIME/./} - start) / 1000))
[ "$status" -eq 0 ] && [ "$elapsed" -le 100 ] || fail "SIGTERM: exit $status after $elapsed ms, not 0 within 100 ms"

# The daemon, with only vimra in its settings, activated and deactivated.
cp "$vimra" "$home/vimra"
printf 'mode: one\nselected: 0\nsplash: False\nlock: False\nfade: False\nprograms: %s --root\n' "$home/vimra" >"$home/.xscreensaver"
# As root: the daemon as nobody, who owns its HOME.
[ "$(id -u)" -ne 0 ] || chown -R 65534:65534 "$home"
saver=($([ "$(id -u)" -ne 0 ] || echo setpriv --reuid=65534 --regid=65534 --clear-groups) env HOME="$home")
"${saver[@]}" xscreensaver --no-splash >"$work/daemon.log" 2>&1 &
pids+=($!)
within 10000 "${saver[@]}" xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon did not start"
within 15000 pgrep -o -f "^$home/vimra --root" >"$work/hack" || fail "-activate started no vimra"
within 10000 shot root daemon exact || fail "under the daemon: $(cat "$work/why")"
"${saver[@]}" xscreensaver-command -deactivate >/dev/null
within 1000 ended "$(cat "$work/hack")" || fail "vimra still runs 1 s after -deactivate"

kill "${pids[0]}"
finish "$other" 1
status=$?
[ "$status" -eq 1 ] || fail "the X server killed, vimra exited $status, not 1 within 1 s"
exit "$failures"
