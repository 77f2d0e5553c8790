#!/usr/bin/env bash
# Failed saves and loads in the real program: each one shows a message box and leaves
# the old file byte for byte as it was, and a FIFO never freezes the program. The full
# disk and the read-only file system are tiny tmpfs mounts, made in a private mount
# namespace when root may; without them those parts are skipped, saying why.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" = 0 ] && [ -z "${VORLA_E2E_PRIVATE_MOUNTS:-}" ] && unshare -m true 2>/dev/null; then
    VORLA_E2E_PRIVATE_MOUNTS=1 exec unshare -m --propagation private "$0" "$@"
fi
. "$here/e2e_common.sh"
app=$1

mounts=()
cleanup() {
    for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done
    e2e_cleanup
}
trap cleanup EXIT

e2e_start_x
e2e_start_app "$app"

click() { e2e_click "$1" "$2"; }
shot() { e2e_shot "$E2E_TMP/$1.png"; }
same() { [ "$(compare -metric AE "$E2E_TMP/$1.png" "$E2E_TMP/$2.png" null: 2>&1)" = "0" ]; }
menu() { click 550 40; sleep 0.3; xdotool key "$@"; sleep 0.4; }
save_as() { menu Down Down Down Down Down Right Down Return; xdotool type "$1"; xdotool key Return; sleep 0.6; }
load() { menu Down Down Down Down Down Right Return; xdotool type "$1"; xdotool key Return; sleep 0.6; }
answer_replace() { xdotool key Return; sleep 0.6; }  # Yes is the default button
fail() { echo "$1"; exit 1; }

# expect_box <what>: a message box is up over the board; Return closes it and the board
# comes back, so the program did not freeze.
expect_box() {
    shot box
    same box board && fail "$1: no message box"
    xdotool key Return
    sleep 0.6
    shot after
    same after board || fail "$1: the board did not come back"
}
expect_no_box() {
    shot quiet
    same quiet board || fail "$1: something is shown over the board"
}
intact() { cmp -s "$1" "$2" || fail "$3: the old file changed"; }
only() {  # only <folder> <names...>: nothing else is in the folder (no temporary left)
    [ "$(ls -A "$1" | tr '\n' ' ')" = "$(printf '%s ' "${@:2}")" ] || fail "left in $1: $(ls -A "$1")"
}

sleep 0.5
e2e_point 550 40   # the pointer rests on MENU, away from the board
sleep 0.3
shot board

# A plain save: no box, a complete file.
save_as "$E2E_TMP/plain"
expect_no_box "a plain save"
[ "$(stat -c %s "$E2E_TMP/plain.vrz")" = "4853" ] || fail "no 4,853-byte plain.vrz"

# A read-only file is refused and kept.
head -c 3000 /dev/urandom > "$E2E_TMP/ro.vrz"
cp "$E2E_TMP/ro.vrz" "$E2E_TMP/ro.orig"
chmod 0444 "$E2E_TMP/ro.vrz"
save_as "$E2E_TMP/ro.vrz"; answer_replace
expect_box "saving over a read-only file"
intact "$E2E_TMP/ro.vrz" "$E2E_TMP/ro.orig" "read-only file"
[ "$(stat -c %a "$E2E_TMP/ro.vrz")" = "444" ] || fail "the read-only file's mode changed"

# A FIFO with no writer, and a file without the marker: refused at once, with a box.
mkfifo "$E2E_TMP/pipe.vrz"
load "$E2E_TMP/pipe.vrz"
expect_box "loading a FIFO"
head -c 4853 /dev/zero > "$E2E_TMP/zero.vrz"
load "$E2E_TMP/zero.vrz"
expect_box "loading a file without the marker"

# A full disk: the old file stays, nothing is left beside it.
mkdir -p "$E2E_TMP/full" "$E2E_TMP/ro"
if mount -t tmpfs -o size=8k,mode=0777 tmpfs "$E2E_TMP/full" 2>/dev/null; then
    mounts+=("$E2E_TMP/full")
    head -c 3000 /dev/urandom > "$E2E_TMP/full/keep.vrz"
    cp "$E2E_TMP/full/keep.vrz" "$E2E_TMP/keep.orig"
    save_as "$E2E_TMP/full/keep.vrz"; answer_replace
    expect_box "saving to a full disk"
    intact "$E2E_TMP/full/keep.vrz" "$E2E_TMP/keep.orig" "full disk"
    only "$E2E_TMP/full" keep.vrz
    full="full disk checked"
else
    full="full disk skipped: mounting a tmpfs was refused"
fi

# A read-only file system: nothing is made, and it is said.
if mount -t tmpfs -o size=64k,mode=0777 tmpfs "$E2E_TMP/ro" 2>/dev/null; then
    mounts+=("$E2E_TMP/ro")
    head -c 3000 /dev/urandom > "$E2E_TMP/ro/old.vrz"
    cp "$E2E_TMP/ro/old.vrz" "$E2E_TMP/old.orig"
    mount -o remount,ro "$E2E_TMP/ro" || fail "could not make the tmpfs read-only"
    save_as "$E2E_TMP/ro/new"
    expect_box "saving on a read-only file system"
    save_as "$E2E_TMP/ro/old.vrz"; answer_replace
    expect_box "replacing on a read-only file system"
    intact "$E2E_TMP/ro/old.vrz" "$E2E_TMP/old.orig" "read-only file system"
    only "$E2E_TMP/ro" old.vrz
    rofs="read-only file system checked"
else
    rofs="read-only file system skipped: mounting a tmpfs was refused"
fi

xdotool key Escape
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || fail "exit status $APP_STATUS"
echo "saved; read-only file kept; FIFO and markerless file refused; $full; $rofs; closed with 0"
