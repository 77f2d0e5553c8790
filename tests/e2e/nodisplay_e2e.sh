#!/usr/bin/env bash
# Without a display the program must not run on unseen: within 2 s it says on one line of
# stderr that it cannot open a display, and ends with status 1. Cases: no DISPLAY at all,
# DISPLAY naming a server that is not there or has died, and the x11 driver asked for by
# name with no DISPLAY.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

failures=0

# expect_refusal <what> <env arguments...>
expect_refusal() {
    local what=$1; shift
    local out="$E2E_TMP/out" err="$E2E_TMP/err" status
    (cd "$E2E_TMP" && exec env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" \
        timeout -k 1 2 "$app" >"$out" 2>"$err" </dev/null)
    status=$?
    local lines
    lines=$(wc -l <"$err")
    if [ "$status" = 124 ] || [ "$status" = 137 ]; then
        echo "FAIL $what: still running after 2 s"
    elif [ "$status" != 1 ]; then
        echo "FAIL $what: exit status $status, not 1"
    elif [ "$lines" != 1 ] || ! grep -q '^vorla: cannot open a display: .' "$err"; then
        echo "FAIL $what: stderr is not one clear line:"; cat "$err"
    elif [ -s "$out" ]; then
        echo "FAIL $what: wrote to stdout:"; cat "$out"
    else
        echo "ok $what: $(cat "$err")"
        return 0
    fi
    failures=$((failures + 1))
}

# A display number with no server, and one whose server was killed and left its socket.
free_display() {
    for n in $(seq 200 260); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return 0; }
    done
    return 1
}
absent=$(free_display) || { echo "no free display number"; exit 1; }

expect_refusal "no DISPLAY" -u DISPLAY
expect_refusal "no DISPLAY, no runtime folder" -u DISPLAY -u XDG_RUNTIME_DIR
expect_refusal "DISPLAY=:$absent, no server" DISPLAY=":$absent"
expect_refusal "x11 named, no DISPLAY" -u DISPLAY SDL_VIDEODRIVER=x11

if command -v Xvfb >/dev/null; then
    dead=$(free_display) || { echo "no free display number"; exit 1; }
    Xvfb ":$dead" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$dead" ] && break; sleep 0.05; done
    kill -9 "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
    expect_refusal "DISPLAY=:$dead, server killed" DISPLAY=":$dead"
    rm -f "/tmp/.X11-unix/X$dead" "/tmp/.X$dead-lock"
else
    echo "skipped the killed server: Xvfb is not installed"
fi

[ "$failures" = 0 ] || exit 1
echo "every case refused with one line and status 1"
