#!/usr/bin/env bash
# The real program under a real X server, on the simulated bus: the about message comes first,
# then the window, whose polls reach the radio; Quit ends it with exit code 0.
set -euo pipefail
program=$1
simulator=$2

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Polls until the command succeeds; fails after 20 s.
wait_for() {
    local deadline=$((SECONDS + 20))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "timed out: $*" >&2; return 1; }
        sleep 0.1
    done
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for test -s "$work/display"
export DISPLAY=:$(head -n 1 "$work/display")
unset QT_QPA_PLATFORM

"$simulator" --log >"$work/sim.out" 2>"$work/sim.log" &
pids+=($!)
wait_for test -s "$work/sim.out"
port=$(head -n 1 "$work/sim.out")

cd "$work"
"$program" --port "$port" &
app=$!
pids+=($app)

visible_windows() { xdotool search --onlyvisible --name '^Icom Interface$'; }
wait_for visible_windows
about=$(visible_windows | head -n 1)
width=$(xwininfo -id "$about" | awk '/Width:/ {print $2}')
[ "$width" -lt 576 ] || { echo "the first window is not the about message" >&2; exit 1; }
if grep -q ' 03 FD' "$work/sim.log"; then
    echo "the radio was polled before the about message was dismissed" >&2
    exit 1
fi
xdotool key --clearmodifiers Return

main_window() {
    for id in $(visible_windows); do
        [ "$(xwininfo -id "$id" | awk '/Width:/ {print $2}')" = 576 ] && { echo "$id"; return 0; }
    done
    return 1
}
wait_for main_window
wait_for grep -q 'FE FE 08 EA 03 FD' "$work/sim.log"
wait_for grep -q 'FE FE EA 08 03 00 40 07 14 00 FD' "$work/sim.log"

window=$(main_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 300)) $((Y + 300)) click 1
xdotool key --clearmodifiers ctrl+q
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || { echo "Quit ended the program with $status" >&2; exit 1; }
echo "about message, window, poll answered, Quit: exit 0"
