#!/usr/bin/env bash
# The real program given a world file on its command line: a good file shows its board
# once the program is up; a missing one shows a message box over the empty board, and the
# program goes on. --window starts in a window of the picture's size.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1
wm_close=$2
fail() { echo "$1"; exit 1; }

e2e_start_x

# A world of year 1234 with Blue creatures on every other square of the top rows.
world="$E2E_TMP/start.vrz"
{
    printf '\xff\x00\xff\x00\x17\x17\x00\x00MUXA\xd2\x04\x00\x00'
    head -c 76 /dev/zero
    for k in $(seq 0 528); do
        if [ "$k" -lt 115 ] && [ $((k % 2)) = 0 ]; then
            printf '\x02\x00\x00\x04\x02\x00\x00\x00\x00'
        else
            printf '\x00\x00\x00\x00\x00\x04\x00\x00\x00'
        fi
    done
} >"$world"

# start <name> <args...>: starts the program, waits for its first frame (the year box
# stops being a plain field), and keeps a screenshot as <name>.png.
start() {
    local name=$1
    shift
    e2e_start_app "$app" "$@"
    local deadline=$(( $(date +%s) + 10 ))
    while :; do
        e2e_shot "$E2E_TMP/$name.png"
        [ "$(e2e_colours "$E2E_TMP/$name.png" 495 352 125 32)" -gt 3 ] && break
        [ "$(date +%s)" -ge "$deadline" ] && fail "$name: no frame with a year"
        sleep 0.1
    done
    sleep 0.5
    xdotool mousemove 1101 81  # on MENU, away from the board
    sleep 0.3
    e2e_shot "$E2E_TMP/$name.png"
}
close() {
    "$wm_close" "$APP_WINDOW"
    e2e_wait_exit 10
    [ "$APP_STATUS" = "0" ] || fail "$1: exit status $APP_STATUS"
}
# region_differs <a> <b> <x> <y> <w> <h>: the two shots differ in that picture region.
region_differs() {
    local crop="$(( $5 * 2 ))x$(( $6 * 2 ))+$(( $3 * 2 ))+$(( $4 * 2 ))"
    convert "$E2E_TMP/$1.png" -crop "$crop" +repage "$E2E_TMP/crop-a.png"
    convert "$E2E_TMP/$2.png" -crop "$crop" +repage "$E2E_TMP/crop-b.png"
    local pixels
    pixels=$(compare -metric AE "$E2E_TMP/crop-a.png" "$E2E_TMP/crop-b.png" null: 2>&1)
    case "$pixels" in
        ''|*[!0-9]*) fail "compare: $pixels" ;;
    esac
    [ "$pixels" != 0 ]
}

start empty
close "without a file"

start loaded "$world"
region_differs empty loaded 10 10 460 120 || fail "the named world's creatures are not on the board"
region_differs empty loaded 495 352 125 32 || fail "the named world's year is not shown"
region_differs empty loaded 10 250 460 200 && fail "the lower board is not empty"
close "with a world"
echo "a named world is shown"

start missing "$E2E_TMP/missing.vrz"
region_differs empty missing 0 0 640 480 || fail "no message box for a missing file"
xdotool key Return
sleep 0.6
e2e_shot "$E2E_TMP/after.png"
region_differs empty after 0 0 640 480 && fail "the empty board did not come back after the box"
close "with a missing file"
echo "a missing world is reported and the program goes on"

e2e_start_app "$app" --window
sleep 1
geometry=$(xdotool getwindowgeometry "$APP_WINDOW" | sed -n 's/ *Geometry: //p')
[ "$geometry" = "640x480" ] || fail "--window gave a window of $geometry"
close "in a window"
echo "--window gives a 640x480 window"
