#!/usr/bin/env bash
# The program's command line from outside: what each way of calling it prints, where, and
# with which exit status. Needs no display: nothing here opens a window.
set -u
app=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# run <args...>: sets status, out and err.
run() {
    "$app" "$@" >"$tmp/out" 2>"$tmp/err"
    status=$?
    out=$(cat "$tmp/out")
    err=$(cat "$tmp/err")
}

run --version
[ "$status" = 0 ] || fail "--version exit $status"
[ "$out" = "vorla $version" ] || fail "--version printed '$out'"
[ -z "$err" ] || fail "--version wrote to stderr: $err"

run --help
[ "$status" = 0 ] || fail "--help exit $status"
case "$out" in *"vorla simulate"*"--json"*) ;; *) fail "--help lacks simulate" ;; esac
[ -z "$err" ] || fail "--help wrote to stderr: $err"

# A usage error: status 2, nothing on stdout, the error and the hint on stderr.
for bad in "--frobnicate" "--scale=smooth" "--scale" "simulate --years=x in.vrz" "simulate"; do
    # shellcheck disable=SC2086
    run $bad
    [ "$status" = 2 ] || fail "'$bad' exit $status"
    [ -z "$out" ] || fail "'$bad' wrote to stdout"
    [ "$(wc -l <"$tmp/err")" = 2 ] || fail "'$bad' stderr is not two lines: $err"
    case "$err" in "vorla: "*"Try 'vorla --help'"*) ;; *) fail "'$bad' said: $err" ;; esac
done

# Output that cannot be written is not a success.
if [ -w /dev/full ]; then
    "$app" --help >/dev/full 2>/dev/null && fail "--help into a full device exit 0"
fi

# A world: the marker, the side 23, the magic, year 0, then 23 x 23 records of
# alternating Blue and Red creatures on every third square.
world="$tmp/world.vrz"
{
    printf '\xff\x00\xff\x00\x17\x17\x00\x00MUXA\x00\x00\x00\x00'
    head -c 76 /dev/zero
    for k in $(seq 0 528); do
        if [ $((k % 3)) = 0 ]; then
            if [ $((k % 2)) = 0 ]; then printf '\x02\x00\x00\x04\x02\x00\x00\x00\x00'
            else printf '\x02\x00\x00\x04\x02\x01\x00\x00\x00'; fi
        else
            printf '\x00\x00\x00\x00\x00\x04\x00\x00\x00'
        fi
    done
} >"$world"
[ "$(stat -c %s "$world")" = 4853 ] || fail "the test world is $(stat -c %s "$world") bytes"

run simulate --years=200 --seed=42 --out="$tmp/a.vrz" "$world"
[ "$status" = 0 ] || fail "simulate exit $status: $err"
first=$out
run simulate --years 200 --seed 42 --out "$tmp/b.vrz" "$world"
[ "$status" = 0 ] || fail "second simulate exit $status: $err"
[ "$out" = "$first" ] || fail "two runs printed different statistics"
cmp -s "$tmp/a.vrz" "$tmp/b.vrz" || fail "two runs wrote different files"
case "$first" in *"year     200"*) ;; *) fail "the year is not 200: $first" ;; esac

run simulate --json --years=3 --seed=1 "$world"
[ "$status" = 0 ] || fail "simulate --json exit $status"
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "the JSON is not one line"
case "$out" in '{"blue":{"population":'*'"year":3,"balance":'*'}') ;; *) fail "JSON: $out" ;; esac

run simulate "$tmp/missing.vrz"
[ "$status" = 1 ] || fail "a missing file exit $status"
[ "$(wc -l <"$tmp/err")" = 1 ] || fail "a missing file gives more than one line: $err"
case "$err" in *"$tmp/missing.vrz was not found."*) ;; *) fail "a missing file: $err" ;; esac

if [ "$failures" = 0 ]; then echo "all command-line checks passed"; fi
exit $((failures > 0))
