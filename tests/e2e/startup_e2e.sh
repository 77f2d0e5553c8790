#!/usr/bin/env bash
# The real program under Xvfb: its first frame shows the board, the marker at 50 and the
# year, and the window manager's close ends it with status 0.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1
wm_close=$2

e2e_start_x
e2e_start_app "$app"

# Wait for the first presented frame: the year box stops being a plain field.
deadline=$(( $(date +%s) + 10 ))
while :; do
    e2e_shot "$E2E_TMP/shot.png"
    [ "$(e2e_colours "$E2E_TMP/shot.png" 495 352 125 32)" -gt 3 ] && break
    [ "$(date +%s)" -ge "$deadline" ] && { echo "no frame with a year"; exit 1; }
    sleep 0.1
done

# The marker at balance 50 stands at x = 546..567: its blade is not the gauge's colour.
marker=$(e2e_colours "$E2E_TMP/shot.png" 546 143 22 55)
left_of=$(e2e_pixel "$E2E_TMP/shot.png" 500 160)
[ "$marker" -gt 4 ] || { echo "no marker at 546: $marker colours"; exit 1; }
echo "marker colours: $marker; gauge at 500: $left_of"

"$wm_close" "$APP_WINDOW"
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || { echo "exit status $APP_STATUS"; exit 1; }
echo "closed with status 0"
