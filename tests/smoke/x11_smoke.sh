#!/usr/bin/env bash
# The real program under a real X server on the simulated bus: the about message comes first
# and nothing is polled before it is dismissed; then the window polls; Quit exits with 0, and
# no settings were written, as none were asked to be kept.
set -euo pipefail
program=$1
simulator=$2
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

wait_for() { # polls until the command succeeds, for at most 20 s
    local deadline=$((SECONDS + 20))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "timed out: $*" >&2; return 1; }
        sleep 0.1
    done
}
width_of() { xwininfo -id "$1" | awk '/Width:/ {print $2}'; }
window_of_width() { # the visible "Icom Interface" window that is (or is not) 576 wide
    local id
    for id in $(xdotool search --onlyvisible --name '^Icom Interface$'); do
        if { [ "$1" = main ] && [ "$(width_of "$id")" = 576 ]; } ||
           { [ "$1" = about ] && [ "$(width_of "$id")" -lt 576 ]; }; then echo "$id"; return 0; fi
    done
    return 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for test -s "$work/display"
export DISPLAY=:$(head -n 1 "$work/display")
unset QT_QPA_PLATFORM
"$simulator" --log >"$work/sim.out" 2>"$work/sim.log" &
pids+=($!)
wait_for test -s "$work/sim.out"
cd "$work"
export XDG_CONFIG_HOME="$work/config"
"$program" --port "$(head -n 1 "$work/sim.out")" &
app=$!
pids+=($app)

wait_for window_of_width about
! grep -q ' 03 FD' "$work/sim.log" || { echo "polled before the about message was dismissed" >&2; exit 1; }
xdotool key --clearmodifiers Return
wait_for window_of_width main
wait_for grep -q 'FE FE EA 08 03 00 40 07 14 00 FD' "$work/sim.log"
eval "$(xdotool getwindowgeometry --shell "$(window_of_width main)")"
xdotool mousemove $((X + 300)) $((Y + 300)) click 1 key --clearmodifiers ctrl+q
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || { echo "Quit ended the program with $status" >&2; exit 1; }
[ ! -e "$XDG_CONFIG_HOME/icom-interface" ] || { echo "settings written unasked" >&2; exit 1; }
