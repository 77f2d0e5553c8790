#!/usr/bin/env bash
# Makes the tests' wine prefix once (wine's first start takes a while) and puts a face in
# its fonts folder, which a fresh prefix leaves empty.
#   wine_prefix.sh <prefix> [face files...]
set -eu
prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    wineboot --init >/dev/null 2>&1
    wineserver --wait
fi
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
for face in "$@"; do
    [ -f "$face" ] && cp -f "$face" "$fonts/"
done
echo "wine prefix ready: $prefix"
