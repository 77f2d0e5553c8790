#!/usr/bin/env bash
# Saves and loads a world through the menu and the open/save dialog of the real program,
# and checks that a changed year length changes the pace of the years.
set -u
here=$(dirname "$0")
. "$here/e2e_common.sh"
app=$1

e2e_start_x
e2e_start_app "$app"

click() { e2e_click "$1" "$2"; }
board() { e2e_shot "$E2E_TMP/shot.png"; e2e_crop "$E2E_TMP/shot.png" 10 10 460 460 "$E2E_TMP/$1.png"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
menu() { click 550 40; sleep 0.3; xdotool key "$@"; sleep 0.4; }
year_of() { od -An -t d4 -j 12 -N 4 "$1" | tr -d ' '; }

sleep 0.5
board empty
menu Down Down Right Down Return        # Vkladani -> Cerveny
for x in 50 70 90 110; do click "$x" 200; done
sleep 0.3
board painted
same "$E2E_TMP/empty.png" "$E2E_TMP/painted.png" && { echo "nothing was painted"; exit 1; }

menu Down Down Down Down Down Right Down Return     # Soubor -> Uloz
xdotool type "$E2E_TMP/world"
xdotool key Return
sleep 0.5
[ "$(stat -c %s "$E2E_TMP/world.vrz" 2>/dev/null)" = "4853" ] || { echo "no 4,853-byte world.vrz"; exit 1; }

menu Down Down Down Down Return          # Reset
board reset
same "$E2E_TMP/empty.png" "$E2E_TMP/reset.png" || { echo "Reset left the board"; exit 1; }

menu Down Down Down Down Down Right Return   # Soubor -> Nacti
xdotool type "$E2E_TMP/world.vrz"
xdotool key Return
sleep 0.5
board loaded
same "$E2E_TMP/painted.png" "$E2E_TMP/loaded.png" || { echo "the loaded board differs"; exit 1; }

menu Down Down Down Return               # Nasatveni
xdotool key Tab
xdotool type 100
xdotool key Return
sleep 0.3
click 550 440                            # START
sleep 2
click 550 440                            # STOP
menu Down Down Down Down Down Right Down Return
xdotool type "$E2E_TMP/paced"
xdotool key Return
sleep 0.5
year=$(year_of "$E2E_TMP/paced.vrz")
# 2 s at 100 ms a year is about 20 years; the default 500 ms would give about 4.
[ -n "$year" ] && [ "$year" -ge 12 ] || { echo "years ran at the wrong pace: $year in 2 s"; exit 1; }

xdotool key Escape
e2e_wait_exit 10
[ "$APP_STATUS" = "0" ] || { echo "exit status $APP_STATUS"; exit 1; }
echo "saved, reset, loaded; $year years in 2 s at 100 ms; closed with 0"
