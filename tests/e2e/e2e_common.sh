# Shared by the end-to-end scripts: a private X server, the program, screenshots.
# Waiting here is for a real program on a real server, bounded by deadlines.

# The sanitizer build's leak check passes over the system libraries' lifetime allocations
# also when a script is run by hand rather than through CTest, so that a status of 0 means
# no leak of ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0}

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
        Xvfb ":$n" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
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

# e2e_pixel <file> <x> <y>: "r g b" of a picture pixel (picture coordinates; the picture
# is scaled by 2 on the 1280 x 960 screen).
e2e_pixel() {
    convert "$1" -format "%[fx:int(255*p{$(( $2 * 2 )),$(( $3 * 2 ))}.r)] %[fx:int(255*p{$(( $2 * 2 )),$(( $3 * 2 ))}.g)] %[fx:int(255*p{$(( $2 * 2 )),$(( $3 * 2 ))}.b)]" info:
}

# e2e_colours <file> <x> <y> <w> <h>: the number of distinct colours in a picture region.
e2e_colours() {
    convert "$1" -crop "$(( $4 * 2 ))x$(( $5 * 2 ))+$(( $2 * 2 ))+$(( $3 * 2 ))" +repage -unique-colors -format "%w" info:
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
