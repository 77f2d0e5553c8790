# Shared by the end-to-end scripts: a private X server, the program, screenshots.
# Waiting here is for a real program on a real server, bounded by deadlines.

# The sanitizer build's leak check passes over the system libraries' lifetime allocations
# also when a script is run by hand rather than through CTest, so that a status of 0 means
# no leak of ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0}

# The virtual screen's size; E2E_SCREEN=1366x768 runs a script on another one.
E2E_SCREEN=${E2E_SCREEN:-1280x960}
E2E_SCREEN_W=${E2E_SCREEN%x*}
E2E_SCREEN_H=${E2E_SCREEN#*x}

E2E_TMP=$(mktemp -d)
XVFB_PID=""
APP_PID=""

e2e_cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_start_x() {
    command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
    for n in $(seq 140 199); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${E2E_SCREEN}x24" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            sleep 0.05
        done
        kill "$XVFB_PID" 2>/dev/null
    done
    echo "could not start Xvfb"; exit 1
}

# e2e_start_app <binary> [args...]: starts it and waits for its window; sets APP_PID and
# APP_WINDOW.
e2e_start_app() {
    (cd "$E2E_TMP" && exec "$@") &
    APP_PID=$!
    APP_WINDOW=$(timeout 10 xdotool search --sync --onlyvisible --name "Vorla - Symulation" | head -n 1)
    [ -n "$APP_WINDOW" ] || { echo "the window did not appear"; exit 1; }
}

# e2e_shot <file>: the whole screen as PNG.
e2e_shot() { import -window root "$1"; }

# Where full screen shows the picture (VIEW_X VIEW_Y VIEW_W VIEW_H): the largest 4:3
# rectangle, or with VORLA_SCALE=integer the largest whole multiple, centred.
if [ "${VORLA_SCALE:-sharp}" = integer ]; then
    _f=$(( E2E_SCREEN_W / 640 < E2E_SCREEN_H / 480 ? E2E_SCREEN_W / 640 : E2E_SCREEN_H / 480 ))
    VIEW_W=$(( 640 * _f )); VIEW_H=$(( 480 * _f ))
elif [ $(( E2E_SCREEN_W * 480 )) -le $(( E2E_SCREEN_H * 640 )) ]; then
    VIEW_W=$E2E_SCREEN_W; VIEW_H=$(( E2E_SCREEN_W * 480 / 640 ))
else
    VIEW_H=$E2E_SCREEN_H; VIEW_W=$(( E2E_SCREEN_H * 640 / 480 ))
fi
VIEW_X=$(( (E2E_SCREEN_W - VIEW_W) / 2 ))
VIEW_Y=$(( (E2E_SCREEN_H - VIEW_H) / 2 ))

# e2e_sx <x>, e2e_sy <y>: the screen pixel at the middle of a picture pixel.
e2e_sx() { echo $(( VIEW_X + (2 * $1 + 1) * VIEW_W / 1280 )); }
e2e_sy() { echo $(( VIEW_Y + (2 * $1 + 1) * VIEW_H / 960 )); }

# e2e_point <x> <y>, e2e_click <x> <y>: the pointer to a picture pixel (and a left click).
e2e_point() { xdotool mousemove "$(e2e_sx "$1")" "$(e2e_sy "$2")"; }
e2e_click() { e2e_point "$1" "$2"; xdotool click 1; }

# e2e_region <x> <y> <w> <h>: a picture rectangle as a screen crop geometry (WxH+X+Y).
e2e_region() {
    local x0=$(( VIEW_X + $1 * VIEW_W / 640 )) y0=$(( VIEW_Y + $2 * VIEW_H / 480 ))
    local x1=$(( VIEW_X + ($1 + $3) * VIEW_W / 640 )) y1=$(( VIEW_Y + ($2 + $4) * VIEW_H / 480 ))
    echo "$(( x1 - x0 ))x$(( y1 - y0 ))+$x0+$y0"
}

# e2e_crop <shot> <x> <y> <w> <h> <out>: a picture rectangle of a screenshot.
e2e_crop() { convert "$1" -crop "$(e2e_region "$2" "$3" "$4" "$5")" +repage "$6"; }

# e2e_pixel <file> <x> <y>: "r g b" of a picture pixel (picture coordinates).
e2e_pixel() {
    local sx sy
    sx=$(e2e_sx "$2"); sy=$(e2e_sy "$3")
    convert "$1" -format "%[fx:int(255*p{$sx,$sy}.r)] %[fx:int(255*p{$sx,$sy}.g)] %[fx:int(255*p{$sx,$sy}.b)]" info:
}

# e2e_colours <file> <x> <y> <w> <h>: the number of distinct colours in a picture region.
e2e_colours() {
    convert "$1" -crop "$(e2e_region "$2" "$3" "$4" "$5")" +repage -unique-colors -format "%w" info:
}

# e2e_wait_exit <seconds>: waits for the program to end; sets APP_STATUS (or "timeout").
e2e_wait_exit() {
    local deadline=$(( $(date +%s) + $1 ))
    while kill -0 "$APP_PID" 2>/dev/null; do
        if [ "$(date +%s)" -ge "$deadline" ]; then APP_STATUS=timeout; return 1; fi
        sleep 0.05
    done
    wait "$APP_PID"
    APP_STATUS=$?
    APP_PID=""
}
