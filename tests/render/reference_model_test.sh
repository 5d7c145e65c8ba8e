#!/usr/bin/env bash
# vimra-render's draw log, disc by disc, against the independent model, over
# runs long enough for several shape picks, whole morphs and the angles'
# wrap-around, at odd and even screen sizes.
set -u
render=$1
model=$(dirname "$0")/reference_model.py
failures=0
for run in "1 400 1024 768" "1234567 900 1023 767" "987654 1200 1920 1080"; do
  set -- $run
  if cmp <(python3 "$model" "$1" "$2" "$3" "$4") <("$render" --time "$1" --frames "$2" --size "$3x$4" --draw-log); then
    echo "seed $1, $2 frames at $3x$4: identical"
  else
    echo "FAIL: seed $1, $2 frames at $3x$4: draw logs differ"
    failures=$((failures + 1))
  fi
done
exit "$failures"
