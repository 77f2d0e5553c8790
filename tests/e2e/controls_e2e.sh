#!/usr/bin/env bash
# The open/save dialog's controls in the real program: a name with Czech and German letters
# typed through the window system reaches the disk as that UTF-8 name, the wheel scrolls
# the file list under the pointer, and the type box drops its list on a click.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

e2e_start_x
e2e_start_app "$app"

menu() { e2e_click 550 40; sleep 0.3; xdotool key "$@"; sleep 0.4; }
list() { e2e_shot "$E2E_TMP/shot.png"; e2e_crop "$E2E_TMP/shot.png" 136 142 350 158 "$E2E_TMP/$1.png"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

sleep 0.5
name="sv$(printf '\xc4\x9b')t-$(printf '\xc3\xbc')"
menu Down Down Down Down Down Right Down Return     # Soubor -> Uloz
xdotool type "$E2E_TMP/$name"
xdotool key Return
sleep 0.5
[ "$(stat -c %s "$E2E_TMP/$name.vrz" 2>/dev/null)" = "4853" ] || {
    echo "no 4,853-byte world under the typed UTF-8 name:"; ls "$E2E_TMP"; exit 1; }

mkdir "$E2E_TMP/many"
for i in $(seq 100 139); do cp "$E2E_TMP/$name.vrz" "$E2E_TMP/many/f$i.vrz"; done
menu Down Down Down Down Down Right Return          # Soubor -> Nacti
xdotool type "$E2E_TMP/many"
xdotool key Return
sleep 0.4
e2e_point 300 220                                   # over the list; the name field has the focus
sleep 0.2
list top
xdotool click 5
sleep 0.3
list down
same "$E2E_TMP/top.png" "$E2E_TMP/down.png" && { echo "the wheel did not scroll the list"; exit 1; }
xdotool click 4
sleep 0.3
list up
same "$E2E_TMP/top.png" "$E2E_TMP/up.png" || { echo "the wheel back up did not return"; exit 1; }

below() { e2e_shot "$E2E_TMP/shot.png"; e2e_crop "$E2E_TMP/shot.png" 214 370 200 24 "$E2E_TMP/$1.png"; }
below closed
e2e_click 300 357                                   # the type box
sleep 0.3
below dropped
same "$E2E_TMP/closed.png" "$E2E_TMP/dropped.png" && { echo "no list dropped under the type box"; exit 1; }
xdotool key Escape
sleep 0.3
below again
same "$E2E_TMP/closed.png" "$E2E_TMP/again.png" || { echo "Escape left the list open"; exit 1; }
xdotool key Escape                                  # the dialog
sleep 0.3
xdotool key Escape                                  # the program
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || { echo "exit status $APP_STATUS"; exit 1; }
echo "typed UTF-8 name saved; the wheel scrolled the list; the type list dropped and closed"
