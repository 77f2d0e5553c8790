#!/usr/bin/env bash
# Serves the built page from 127.0.0.1 and runs a script of this folder on it in headless
# Chromium, with puppeteer-core as package-lock.json pins it: page_e2e.mjs (the test) or
# idle_cpu.mjs (a measurement). What the script leaves (pictures, figures) is in
# <work folder>/artefacts.
#
#   chromium.sh <page folder> <work folder> <script> [arguments...]
set -u
page=$1
work=$2
script=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)

chromium=${CHROMIUM:-$(command -v chromium || true)}
if [ -z "$chromium" ]; then
    echo "skipped: no chromium (scripts/install-deps --web installs it)"
    exit 77
fi
if ! command -v npm >/dev/null; then
    echo "skipped: no npm (scripts/install-deps --web installs it)"
    exit 77
fi
for f in index.html vorla.js vorla.wasm; do
    [ -f "$page/$f" ] || { echo "no $f in $page"; exit 1; }
done

mkdir -p "$work"
# Installed once for each version of the lock file.
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" ||
    [ ! -d "$work/node_modules/puppeteer-core" ]; then
    rm -f "$work/package-lock.json"
    cp "$here/package.json" "$here/package-lock.json" "$work/"
    (cd "$work" && npm ci --no-audit --no-fund --loglevel=error) || { echo "npm ci failed"; exit 1; }
fi
cp "$here/$script" "$work/"

port_file="$work/port"
rm -f "$port_file"
python3 "$here/serve.py" "$page" "$port_file" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
for _ in $(seq 100); do
    [ -s "$port_file" ] && break
    kill -0 "$server" 2>/dev/null || { echo "the server did not start"; exit 1; }
    sleep 0.05
done
[ -s "$port_file" ] || { echo "the server named no port"; exit 1; }

rm -rf "$work/artefacts"
node "$work/$script" "http://127.0.0.1:$(cat "$port_file")/index.html" "$chromium" \
    "$work/artefacts" "$@"
