# Shared by the test scripts (sourced): waits that poll with a bound.

# within MS COMMAND...: polls COMMAND until it succeeds; fails once MS milliseconds have passed.
within() {
  local end=$(($(date +%s%N) + $1 * 1000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$end" ] && sleep 0.01 || return 1
  done
}

# ended PID: the process has ended (a zombie counts: its parent may reap it later).
ended() { [ ! -e "/proc/$1" ] || [ "$(cut -d' ' -f3 "/proc/$1/stat")" = Z ]; }
