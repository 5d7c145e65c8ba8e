#!/usr/bin/env bash
# vimra-render as a user runs it: bad arguments write nothing and exit 2, an
# unwritable file exits 1, the draw log has one well-formed line per disc.
set -u
render=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for args in "--frames" "--frames -1" "--size 0x5" "--png $work/x.png" "--png $work/%d-%d.png" \
            "--time 1 --time 2" "--bogus" "--frames 2 --png $work/f%d.png --size 10"; do
  # shellcheck disable=SC2086
  "$render" $args >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq 2 ] || fail "'$args' exited $status, not 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$args' did not write one line on stderr"
  [ -s "$work/out" ] && fail "'$args' wrote to stdout"
  [ -n "$(ls "$work" | grep -v -e '^out$' -e '^err$')" ] && fail "'$args' wrote a file"
done

"$render" --frames 1 --png /nonexistent-dir/f%d.png 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "unwritable PNG exited $status, not 1"

"$render" --time 1 --frames 3 --size 640x480 --draw-log --png "$work/f-%03d.png" >"$work/log" || fail "good run failed"
[ "$(wc -l <"$work/log")" -eq 1800 ] || fail "draw log has $(wc -l <"$work/log") lines, not 1800"
grep -vqE '^[123] -?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+ [0-9]+$' "$work/log" && fail "malformed draw-log line"
[ "$(head -n1 "$work/log" | cut -d' ' -f6)" = 2815 ] || fail "first disc is not (255, 10, 0)"
for k in 001 002 003; do
  [ -s "$work/f-$k.png" ] || fail "frame $k PNG missing"
done

"$render" --time 5 --frames 0 --draw-log >"$work/none" || fail "--frames 0 failed"
[ -s "$work/none" ] && fail "--frames 0 drew something"

if [ "$failures" -eq 0 ]; then echo "render CLI: all checks passed"; fi
exit "$failures"
