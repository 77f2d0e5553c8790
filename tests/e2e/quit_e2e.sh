#!/usr/bin/env bash
# Ends the real program by signal while a modal loop runs: SIGTERM with the settings
# dialog open, SIGTERM with the menu open, and SIGHUP with the "Please enter an integer."
# box over the settings. Each must end with status 0 and no sanitizer report.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

e2e_start_x

click() { e2e_click "$1" "$2"; }
crop() {  # crop <name> <x> <y> <w> <h>: a picture region of a fresh screenshot
    e2e_shot "$E2E_TMP/shot.png"
    e2e_crop "$E2E_TMP/shot.png" "$2" "$3" "$4" "$5" "$E2E_TMP/$1.png"
}
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
# mark <x> <y> <w> <h>, then wait_changed <x> <y> <w> <h>: until the region differs from
# what it showed when marked.
mark() { crop before "$@"; }
wait_changed() {
    local deadline=$(( $(date +%s) + 10 ))
    while :; do
        sleep 0.2
        crop now "$@"
        same "$E2E_TMP/before.png" "$E2E_TMP/now.png" || return 0
        [ "$(date +%s)" -ge "$deadline" ] && return 1
    done
}

# Starts the program with its standard error kept, and waits for its first frame (the
# year box stops being a plain field).
start() {
    (cd "$E2E_TMP" && exec "$app" 2>"$E2E_TMP/stderr.txt") &
    APP_PID=$!
    APP_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name "Vorla - Symulation" | head -n 1)
    [ -n "$APP_WINDOW" ] || { echo "the window did not appear"; exit 1; }
    local deadline=$(( $(date +%s) + 20 ))
    while :; do
        e2e_shot "$E2E_TMP/first.png"
        [ "$(e2e_colours "$E2E_TMP/first.png" 495 352 125 32)" -gt 3 ] && break
        [ "$(date +%s)" -ge "$deadline" ] && { echo "no first frame"; exit 1; }
        sleep 0.1
    done
}

# ends_cleanly <signal> <what was open>
ends_cleanly() {
    kill "-$1" "$APP_PID"
    e2e_wait_exit 30
    if [ "$APP_STATUS" != "0" ] || grep -q "Sanitizer" "$E2E_TMP/stderr.txt"; then
        cat "$E2E_TMP/stderr.txt"
        echo "$1 with $2 open: exit status $APP_STATUS"
        exit 1
    fi
    echo "$1 with $2 open: status 0, no sanitizer report"
}

# The settings dialog, centred on the picture.
start
click 550 40
sleep 0.3
xdotool key Down Down Down
mark 260 200 120 80
xdotool key Return
wait_changed 260 200 120 80 || { echo "the settings dialog did not open"; exit 1; }
ends_cleanly TERM "the settings dialog"

# The menu, below the MENU button.
start
mark 560 60 60 60
click 550 40
wait_changed 560 60 60 60 || { echo "the menu did not open"; exit 1; }
ends_cleanly TERM "the menu"

# The message box over the settings: an emptied field refused.
start
click 550 40
sleep 0.3
xdotool key Down Down Down Return
sleep 0.5
xdotool key Tab BackSpace
mark 200 190 240 100
xdotool key Return
wait_changed 200 190 240 100 || { echo "the message box did not open"; exit 1; }
ends_cleanly HUP "the message box over the settings"
