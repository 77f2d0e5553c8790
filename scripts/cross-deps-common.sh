# shellcheck shell=bash
# Shared by scripts/windows-deps and scripts/web-deps (sourced, not run).
#
# Each library is built from Debian's own source package into a prefix in the cache, and a
# stamp in the prefix names what was built and with which recipe, so a second run does
# nothing.

script_name="$(basename "$0")"
cache_root="${VORLA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vorla-deps}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

say() { echo "${script_name}: $*"; }
die() {
    echo "${script_name}: $*" >&2
    exit 1
}

# Debian's source packages come from a deb-src entry of our own, so the machine's other
# lists stay as they are.
debsrc_list=/etc/apt/sources.list.d/vorla-deb-src.sources

write_debsrc_list() {
    say "adding the bookworm deb-src entry in ${debsrc_list}"
    $sudo tee "$debsrc_list" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
}

have_sources() {
    local p
    for p in "$@"; do
        case "$(apt-cache showsrc --only-source "$p" 2>/dev/null)" in
        *"Package: $p"*) ;;
        *) return 1 ;;
        esac
    done
}

# Installs the missing packages and makes the named source packages fetchable; runs
# apt-get update only when something was missing.
ensure_packages_and_sources() {
    local -a packages=() sources=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        packages+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    sources=("$@")

    local -a missing=()
    local p
    for p in "${packages[@]}"; do
        if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
            missing+=("$p")
        fi
    done

    local update=0
    if ! have_sources "${sources[@]}"; then
        [ -f "$debsrc_list" ] || write_debsrc_list
        update=1
    fi
    [ ${#missing[@]} -gt 0 ] && update=1
    [ "$update" -eq 0 ] && return 0

    export DEBIAN_FRONTEND=noninteractive
    say "apt-get update"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        say "installing ${missing[*]}"
        $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
    have_sources "${sources[@]}" || die "no source package for ${sources[*]} after apt-get update"
}

# set_target NAME: the target's install prefix and work folder under the cache. One run at
# a time per target: a second waits rather than building into the same folders.
set_target() {
    prefix="$cache_root/$1"
    work="$cache_root/work/$1"
    mkdir -p "$cache_root"
    exec 9>"$cache_root/.lock-$1"
    if ! flock -n 9; then
        say "waiting for another run to finish with $prefix"
        flock 9
    fi
}

# The newest version of source package $1 that apt knows.
source_version() {
    local best="" v
    while read -r v; do
        if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best="$v"; fi
    done < <(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p')
    [ -n "$best" ] || die "apt knows no source package $1"
    echo "$best"
}

# Unpacks version $2 of Debian's source package $1 (with Debian's patches applied) into a
# fresh folder $3 and prints the path of the unpacked tree.
fetch_source() {
    local package="$1" version="$2" dir="$3"
    rm -rf "$dir"
    mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$package=$version" >"$dir/apt-get-source.log" 2>&1) ||
        die "apt-get source $package=$version failed; see $dir/apt-get-source.log"
    local tree
    tree="$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
    [ -n "$tree" ] || die "apt-get source $package unpacked nothing in $dir"
    echo "$tree"
}

# The stamp holds the source version and a fingerprint of the recipe (the build function's
# text, the helpers named in recipe_helpers, and any extra input files), so a new Debian
# version or a changed recipe rebuilds that library and nothing else does.
recipe_helpers=()
recipe_fingerprint() {
    local fn="$1"
    shift
    {
        declare -f "$fn" "${recipe_helpers[@]}"
        local f
        for f in "$@"; do cat "$f"; done
    } | sha256sum | cut -d' ' -f1
}

# build_one NAME SOURCE BUILD_FUNCTION [EXTRA_INPUT_FILES...]
# SOURCE is a Debian source package name, or the absolute path of a source tree that an
# installed package ships (such as /usr/src/googletest). BUILD_FUNCTION is called with the
# source tree and an empty build folder, and installs into $prefix.
build_one() {
    local name="$1" source="$2" fn="$3"
    shift 3
    local version fingerprint stamp
    if [ "${source#/}" != "$source" ]; then
        local owner
        owner="$(dpkg-query -S "$source" | head -n 1 | cut -d: -f1)"
        version="$(dpkg-query -W -f='${Version}' "$owner")"
    else
        version="$(source_version "$source")"
    fi
    fingerprint="$(recipe_fingerprint "$fn" "$@")"
    stamp="$prefix/.stamps/$name"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(printf 'version %s\nrecipe %s' "$version" "$fingerprint")" ]; then
        say "$name $version: already built"
        return 0
    fi
    rm -f "$stamp"

    local start=$SECONDS tree
    mkdir -p "$work"
    if [ "${source#/}" != "$source" ]; then
        tree="$source"
    else
        say "$name: fetching Debian source package $source $version"
        tree="$(fetch_source "$source" "$version" "$work/$name")"
    fi
    local log="$work/$name-build.log"
    say "$name $version: building (log: $log)"
    rm -rf "${work:?}/$name-build"
    mkdir -p "$work/$name-build"
    if ! "$fn" "$tree" "$work/$name-build" >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        die "$name: build failed; see $log"
    fi
    mkdir -p "$prefix/.stamps"
    printf 'version %s\nrecipe %s\n' "$version" "$fingerprint" >"$stamp"
    # The unpacked source and the build tree are hundreds of megabytes; the log stays.
    rm -rf "${work:?}/$name" "${work:?}/$name-build"
    say "$name $version: installed in $prefix ($((SECONDS - start)) s)"
}
