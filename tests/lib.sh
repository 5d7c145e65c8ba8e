# Shared by the test scripts (sourced): waits that poll with a bound, failures
# counted, virtual X servers and screenshots of vimra's cloud. A script that
# sources it keeps its scratch files in $work and the processes it starts in
# pids: at its end they are ended and $work goes, unless it sets a trap of its own.
tests=$(dirname "${BASH_SOURCE[0]}")
failures=0
pids=()
trap '{ kill -9 "${pids[@]}"; wait "${pids[@]}"; } 2>/dev/null; rm -rf "$work"' EXIT

# within MS COMMAND...: polls COMMAND until it succeeds; fails once MS milliseconds have passed.
# Every 50 ms: a poll often starts a program (an X client, a screenshot), dear on a busy machine.
within() {
  local end=$(($(date +%s%N) + $1 * 1000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$end" ] && sleep 0.05 || return 1
  done
}

# ended PID: the process has ended (a zombie counts: its parent may reap it later).
ended() { [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null || echo Z)" = Z ]; }

fail() { echo "FAIL: $*" && failures=$((failures + 1)); }

# passed WHAT: the script's last line and status: WHAT it saw, or how many checks failed.
passed() { [ "$failures" -eq 0 ] && echo "$*" || echo "$failures checks failed"; exit $((failures > 0)); }

# xvfb NAME ARGS...: an X server with those arguments on a display it picks itself,
# set in the variable NAME (":N"); the script ends if it has not started within 10 s.
# It never resets (by default it does each time its last client leaves).
xvfb() {
  Xvfb -displayfd 3 -noreset "${@:2}" 3>"$work/$1" 2>"$work/$1.log" & pids+=($!)
  within 10000 test -s "$work/$1" && printf -v "$1" ':%s' "$(cat "$work/$1")" || { echo "FAIL: Xvfb $*: $(cat "$work/$1.log")"; exit 1; }
}

# shows_cloud WINDOW FILE MODE...: within 30 s (a busy machine can take that
# long to start vimra and read a 3840x2160 screen), WINDOW's picture, kept as
# FILE.ppm, passes picture_check.py in MODE; what it saw, or why not, in
# $work/why. The server reads it between two requests: a frame copied in one
# is never seen in part. The root window of $in_memory (a server started
# with -fbdir $work) is read from the screen's memory instead, at once (a
# copy while the server draws may catch parts of two frames), so the reads
# never grow the server's memory. Without a window import would wait for a click.
shows_cloud() { within 30000 shot "$@"; }
shot() {
  if [ "$1" = root ] && [ "$DISPLAY" = "${in_memory:-}" ]; then
    cp "$work/Xvfb_screen0" "$work/screen.xwd" && convert "xwd:$work/screen.xwd" +set comment -depth 8 "$2.ppm"
  else
    [ -n "$1" ] && import -window "$1" -depth 8 "$2.ppm"
  fi && python3 "$tests/picture_check.py" "$2.ppm" "${@:3}" >"$work/why"
}
