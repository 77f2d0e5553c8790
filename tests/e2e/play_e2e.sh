#!/usr/bin/env bash
# Plays the real program under Xvfb: START runs the years, STOP pauses them, a tool
# chosen in the menu paints squares, space steps a year, and Escape ends it with 0.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

e2e_start_x
e2e_start_app "$app"

click() { e2e_click "$1" "$2"; }
year_box() { e2e_shot "$E2E_TMP/$1.png"; e2e_crop "$E2E_TMP/$1.png" 495 352 125 32 "$E2E_TMP/$1-year.png"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
wait_until() {  # wait_until <seconds> <command...>
    local deadline=$(( $(date +%s) + $1 )); shift
    until "$@"; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

sleep 0.5
year_box before
click 550 440                       # START
changed() { year_box now; ! same "$E2E_TMP/before-year.png" "$E2E_TMP/now-year.png"; }
wait_until 10 changed || { echo "the year did not advance"; exit 1; }
click 550 440                       # STOP
sleep 0.3
year_box paused1
sleep 1.2
year_box paused2
same "$E2E_TMP/paused1-year.png" "$E2E_TMP/paused2-year.png" || { echo "the years ran on after STOP"; exit 1; }

# Vkladani -> Cerveny, then paint a short row and drag across three squares.
click 550 40
sleep 0.3
xdotool key Down Down Right Down Return
sleep 0.3
e2e_crop "$E2E_TMP/paused2.png" 40 90 70 20 "$E2E_TMP/board-before.png"
for x in 50 70 90; do click "$x" 100; done
sleep 0.3
e2e_shot "$E2E_TMP/painted.png"
e2e_crop "$E2E_TMP/painted.png" 40 90 70 20 "$E2E_TMP/board-after.png"
same "$E2E_TMP/board-before.png" "$E2E_TMP/board-after.png" && { echo "nothing was painted"; exit 1; }

xdotool key space
sleep 0.3
year_box stepped
same "$E2E_TMP/paused2-year.png" "$E2E_TMP/stepped-year.png" && { echo "space did not step a year"; exit 1; }

xdotool key Escape
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || { echo "exit status $APP_STATUS"; exit 1; }
echo "played and closed with status 0"
