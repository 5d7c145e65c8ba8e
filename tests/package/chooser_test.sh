#!/usr/bin/env bash
# The installed package in both choosers, as a user meets them (the session:
# scripts/chooser-session); its manual page has an entry for every option --help lists.
# xscreensaver-settings finds vimra.xml and reads it without a complaint, and
# previews Vimra; ended, it leaves no vimra behind. mate-screensaver finds the
# theme through the desktop entry, runs it full screen on activation and ends
# it on deactivation.
set -u
. "$(dirname "$0")/../../scripts/chooser-session" "$1"

options=$(/usr/libexec/xscreensaver/vimra --help | grep -o -- '--[a-z-]*' | sort -u)
for option in $options; do
  zcat /usr/share/man/man6/vimra.6x.gz | o=${option//-/\\-} awk '$1 ~ /^\.BI?$/ && $2 == ENVIRON["o"] { found = 1 }
    END { exit !found }' || fail "the manual page has no entry for $option"
done
! grep -v ': reading ' "$work/settings.err" | grep -E '^vimra: |vimra\.xml' || fail "xscreensaver-settings complained"
cmdline=$(tr '\0' ' ' <"/proc/$preview/cmdline")
[[ $cmdline =~ ^vimra\ --root\ --window-id\ 0x[0-9A-F]+\ $ ]] &&
  tr '\0' '\n' <"/proc/$preview/environ" | grep -q -x "XSCREENSAVER_WINDOW=$preview_window" ||
  fail "the preview ran as '$cmdline' with $(grep -z XSCREENSAVER "/proc/$preview/environ")"
kill -TERM "$settings"
within 2000 ended "$preview" || fail "vimra still runs 2 s after SIGTERM to xscreensaver-settings"

"${nobody[@]}" sh -c "gsettings set org.mate.screensaver mode single && gsettings set org.mate.screensaver lock-enabled false &&
  gsettings set org.mate.screensaver themes \"['screensavers-vimra']\"" || fail "gsettings refused the theme"
"${nobody[@]}" mate-screensaver --no-daemon >/dev/null 2>&1 &
mate=$!
pids+=("$mate")
within 10000 "${nobody[@]}" mate-screensaver-command --activate >/dev/null 2>&1 || fail "mate-screensaver did not activate"
within 15000 pgrep -P "$mate" -x vimra >"$work/hack" || fail "activated, mate-screensaver ran no vimra"
hack=$(cat "$work/hack")
pids+=("$hack")
shows_cloud root "$work/shot" exact || fail "under mate-screensaver: $(cat "$work/why")"
"${nobody[@]}" mate-screensaver-command --deactivate >/dev/null
within 1000 ended "$hack" || fail "vimra still runs 1 s after --deactivate"
passed "the package: manual page entries for its $(wc -w <<<"$options") options, previewed by xscreensaver-settings as" \
  "'$cmdline', run and ended by mate-screensaver"
