#!/usr/bin/env bash
# The picture's place on a screen of E2E_SCREEN's size for each VORLA_SCALE setting: sharp
# (and unset) fill the largest 4:3 rectangle, integer the largest whole multiple, centred
# on black; an unknown setting gives one warning line on stderr and the sharp picture.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

e2e_start_x
w=$E2E_SCREEN_W
h=$E2E_SCREEN_H
if [ $(( w * 480 )) -le $(( h * 640 )) ]; then sw=$w; sh=$(( w * 3 / 4 )); else sh=$h; sw=$(( h * 4 / 3 )); fi
f=$(( w / 640 < h / 480 ? w / 640 : h / 480 ))
sharp="${sw}x${sh}+$(( (w - sw) / 2 ))+$(( (h - sh) / 2 ))"
integer="$(( 640 * f ))x$(( 480 * f ))+$(( (w - 640 * f) / 2 ))+$(( (h - 480 * f) / 2 ))"

# check <setting> <expected rectangle> <expected stderr pattern or "">
check() {
    local err="$E2E_TMP/err" shown="" deadline
    (cd "$E2E_TMP" && exec env VORLA_SCALE="$1" "$app" 2>"$err") &
    APP_PID=$!
    APP_WINDOW=$(timeout 10 xdotool search --sync --onlyvisible --name "Vorla - Symulation" | head -n 1)
    [ -n "$APP_WINDOW" ] || { echo "VORLA_SCALE=$1: the window did not appear"; exit 1; }
    xdotool mousemove 0 0
    deadline=$(( $(date +%s) + 10 ))
    until [ "$shown" = "$2" ]; do
        [ "$(date +%s)" -ge "$deadline" ] && {
            echo "VORLA_SCALE=$1: the picture is at $shown, not $2"; exit 1; }
        sleep 0.2
        e2e_shot "$E2E_TMP/shot.png"
        shown=$(convert "$E2E_TMP/shot.png" -fuzz 1% -trim -format '%wx%h%O' info:)
    done
    xdotool key Escape
    e2e_wait_exit 10
    [ "$APP_STATUS" = "0" ] || { echo "VORLA_SCALE=$1: exit status $APP_STATUS"; exit 1; }
    if [ -n "$3" ]; then
        [ "$(wc -l <"$err")" = 1 ] && grep -q "$3" "$err" || {
            echo "VORLA_SCALE=$1: stderr is not the one warning:"; cat "$err"; exit 1; }
    elif [ -s "$err" ]; then
        echo "VORLA_SCALE=$1: unexpected stderr:"; cat "$err"; exit 1
    fi
    echo "VORLA_SCALE=$1 on ${w}x$h: picture at $shown"
}

check "" "$sharp" ""
check sharp "$sharp" ""
check integer "$integer" ""
check wide "$sharp" '^vorla: VORLA_SCALE=wide is neither sharp nor integer; using sharp$'
