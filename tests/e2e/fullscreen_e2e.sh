#!/usr/bin/env bash
# Alt+Enter, back and forth, on a 1280 x 960 screen: full screen shows the whole picture at
# scale 2 over the screen without a frame, a framed window titled "Vorla - Symulation"
# shows it whole at scale 1, and after every switch MENU opens the menu and START runs the
# years. Then the window is resized (the picture keeps 4:3 inside it) and closed as a user
# would close it, which ends the program with status 0. Run with "wm" as the third
# argument under a small window manager, otherwise with none (where the full-screen request
# goes unanswered).
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1
wm_close=$2
mode=${3:-nowm}

e2e_start_x
if [ "$mode" = wm ]; then
    command -v evilwm >/dev/null || { echo "evilwm is not installed"; exit 77; }
    evilwm --bw 0 --fn fixed >/dev/null 2>&1 &
    WM_PID=$!
    trap 'kill "$WM_PID" 2>/dev/null; e2e_cleanup' EXIT
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi
e2e_start_app "$app"

same() { cmp -s "$1" "$2"; }

# Where the window is and at which scale it shows the picture: sets WX WY WW WH.
geometry() {
    local info
    info=$(xwininfo -id "$APP_WINDOW")
    WX=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    WY=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    WW=$(awk '/Width:/ {print $NF}' <<<"$info")
    WH=$(awk '/Height:/ {print $NF}' <<<"$info")
}

# picture <scale> <out>: what the window shows, brought back to 640 x 480 (as PPM, so that
# equal pictures are equal files).
picture() {
    import -silent -window root ppm:- |
        convert ppm:- -crop "$(( 640 * $1 ))x$(( 480 * $1 ))+$WX+$WY" +repage \
            -sample '640x480!' "ppm:$2"
}

# to_screen <scale> <x> <y>: a picture point as a screen point (the middle of its pixels).
to_screen() { echo "$(( WX + $2 * $1 + $1 / 2 )) $(( WY + $3 * $1 + $1 / 2 ))"; }
point() { xdotool mousemove $(to_screen "$1" "$2" "$3"); }
click() { point "$@"; xdotool click 1; }
park() { point "$1" 560 330; }  # panel background: no hover effect there

# until_true <seconds> <command...>
until_true() {
    local deadline=$(( $(date +%s) + $1 )); shift
    until "$@"; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# The picture as it stands once nothing changes for a moment.
settled() {
    picture "$1" "$E2E_TMP/a.ppm"
    sleep 0.3
    picture "$1" "$E2E_TMP/b.ppm"
    same "$E2E_TMP/a.ppm" "$E2E_TMP/b.ppm" && cp "$E2E_TMP/b.ppm" "$2"
}

# In place: the window's size and place are as expected and it shows the whole picture.
# in_place <scale> <x y | any>
in_place() {
    geometry
    [ "$WW" = $(( 640 * $1 )) ] && [ "$WH" = $(( 480 * $1 )) ] || return 1
    if [ "$2" != any ]; then [ "$WX" = "$2" ] && [ "$WY" = "$3" ] || return 1; fi
    [ "$WX" -ge 0 ] && [ "$WY" -ge 0 ] || return 1
    [ $(( WX + WW )) -le 1280 ] && [ $(( WY + WH )) -le 960 ] || return 1
    picture "$1" "$E2E_TMP/now.ppm"
    same "$E2E_TMP/reference.ppm" "$E2E_TMP/now.ppm"
}

# framed <0|1>: whether the window asks the window manager for its frame (the hint's atom
# exists only where a window manager made it).
framed() {
    [ "$mode" = wm ] || return 0
    local hints
    hints=$(xprop -id "$APP_WINDOW" _MOTIF_WM_HINTS)
    [ "$(awk -F', ' '{print $3}' <<<"${hints#*= }")" = "0x$1" ] || {
        echo "frame asked: $hints, not decorations $1"; return 1; }
}

# The window is titled and can be resized: no fixed maximum size.
titled_and_resizable() {
    [ "$(xdotool getwindowname "$APP_WINDOW")" = "Vorla - Symulation" ] || {
        echo "title: $(xdotool getwindowname "$APP_WINDOW")"; return 1; }
    ! xprop -id "$APP_WINDOW" WM_NORMAL_HINTS | grep -q 'maximum size' || {
        echo "the window has a maximum size"; return 1; }
}

year_changed() {
    picture "$1" "$E2E_TMP/now.ppm"
    convert "$E2E_TMP/now.ppm" -crop 125x32+495+352 +repage "$E2E_TMP/now-year.ppm"
    ! same "$E2E_TMP/reference-year.ppm" "$E2E_TMP/now-year.ppm"
}
menu_shown() { picture "$1" "$E2E_TMP/now.ppm"; ! same "$E2E_TMP/reference.ppm" "$E2E_TMP/now.ppm"; }
menu_gone() { picture "$1" "$E2E_TMP/now.ppm"; same "$E2E_TMP/reference.ppm" "$E2E_TMP/now.ppm"; }

# rgb <picture> <x> <y>: "r g b" of a pixel.
rgb() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

# The picture is whole, not a part of it enlarged: MENU's face is blue at its place at the
# top of the panel, and START's is orange at the bottom.
looks_whole() {
    local r g b
    read -r r g b < <(rgb "$1" 495 30)
    [ "$b" -gt 150 ] && [ "$r" -lt 100 ] || { echo "no blue MENU at (495,30): $r $g $b"; return 1; }
    read -r r g b < <(rgb "$1" 495 425)
    [ "$r" -gt 180 ] && [ "$b" -lt 80 ] || { echo "no orange START at (495,425): $r $g $b"; return 1; }
}

# MENU opens the menu and Escape closes it; START runs the years and STOP pauses them.
# Starts from the reference picture, and leaves a fresh one.
check_buttons() {  # check_buttons <scale> <label>
    click "$1" 550 40
    until_true 5 menu_shown "$1" || { echo "$2: MENU did not open the menu"; exit 1; }
    xdotool key Escape
    park "$1"
    until_true 5 menu_gone "$1" || { echo "$2: the menu did not close"; exit 1; }
    convert "$E2E_TMP/reference.ppm" -crop 125x32+495+352 +repage "$E2E_TMP/reference-year.ppm"
    click "$1" 550 440
    until_true 10 year_changed "$1" || { echo "$2: START did not run the years"; exit 1; }
    click "$1" 550 440
    park "$1"
    until_true 5 settled "$1" "$E2E_TMP/reference.ppm" || { echo "$2: STOP did not pause the years"; exit 1; }
}

# The start: full screen, the whole picture at scale 2.
geometry
park 2
until_true 10 settled 2 "$E2E_TMP/reference.ppm" || { echo "no steady first picture"; exit 1; }
until_true 5 in_place 2 0 0 || { echo "start: not full screen: ${WW}x${WH}+$WX+$WY"; exit 1; }
looks_whole "$E2E_TMP/reference.ppm" || exit 1
check_buttons 2 "start"

for toggle in 1 2 3 4; do
    xdotool key alt+Return
    if [ $(( toggle % 2 )) = 1 ]; then
        until_true 5 in_place 1 any || {
            echo "toggle $toggle: not a whole picture in a 640x480 window: ${WW}x${WH}+$WX+$WY"
            exit 1; }
        looks_whole "$E2E_TMP/now.ppm" || exit 1
        framed 1 || exit 1
        titled_and_resizable || exit 1
        check_buttons 1 "toggle $toggle (window)"
    else
        until_true 5 in_place 2 0 0 || {
            echo "toggle $toggle: not a whole picture over the screen: ${WW}x${WH}+$WX+$WY"
            exit 1; }
        looks_whole "$E2E_TMP/now.ppm" || exit 1
        framed 0 || exit 1
        check_buttons 2 "toggle $toggle (full screen)"
    fi
    echo "toggle $toggle: ${WW}x${WH}+$WX+$WY, whole picture, MENU and START work"
done

# A window resized to 1000 x 500 shows the picture at 4:3 in its middle: 666 x 500 at 167.
xdotool key alt+Return
until_true 5 in_place 1 any || { echo "no window after the fifth switch"; exit 1; }
xdotool windowmove "$APP_WINDOW" 0 0 windowsize "$APP_WINDOW" 1000 500
resized() {
    geometry
    [ "$WW" = 1000 ] && [ "$WH" = 500 ] || return 1
    import -silent -window root ppm:- |
        convert ppm:- -crop "1000x500+$WX+$WY" +repage "$E2E_TMP/resized.ppm"
    [ "$(convert "$E2E_TMP/resized.ppm" -fuzz 1% -trim -format '%wx%h%O' info:)" = "666x500+167+0" ]
}
until_true 5 resized || {
    echo "resized to ${WW}x${WH}: picture at" \
        "$(convert "$E2E_TMP/resized.ppm" -fuzz 1% -trim -format '%wx%h%O' info:), not 666x500+167+0"
    exit 1; }
convert "$E2E_TMP/resized.ppm" -crop 666x500+167+0 +repage -resize '640x480!' "$E2E_TMP/resized-picture.ppm"
looks_whole "$E2E_TMP/resized-picture.ppm" || exit 1

"$wm_close" "$APP_WINDOW"
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || { echo "closing the window: exit status $APP_STATUS"; exit 1; }
echo "four switches ($mode), each with the whole picture; resized at 4:3; closed with status 0"
