# Shared by run.sh and screenshots.sh: packages, build, simulated radio, port 1.
# shellcheck shell=bash

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TARVANE_BUILD_DIR:-$repo/build-run}
program_dir=$build/stage/V100

# Installs what the programs need and is missing (and any packages named).
install_missing() {
    "$repo/scripts/install-deps.sh" "$@"
}

build_programs() {
    # A build folder made before keeps its own settings.
    if [ -f "$build/CMakeCache.txt" ]; then
        cmake -S "$repo" -B "$build" >/dev/null
    else
        cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$build" -j"$(nproc)" --target tarvane-cps tarvane-cli "$@"
}

# Sets KEY=VALUE in [SECTION] of an INI file, adding the section or key when missing.
ini_set() {
    local file=$1 section=$2 key=$3 value=$4 tmp
    tmp=$(mktemp)
    awk -v s="[$section]" -v k="$key" -v v="$value" '
        BEGIN { in_s = 0; done = 0 }
        /^\[/ { if (in_s && !done) { print k "=" v; done = 1 } in_s = ($0 == s) }
        in_s && index($0, k "=") == 1 { if (!done) { print k "=" v; done = 1 } next }
        { print }
        END { if (!done) { if (!in_s) print s; print k "=" v } }' "$file" >"$tmp"
    cat "$tmp" >"$file"
    rm -f "$tmp"
}

# The user setup file the programs use: the install root's when writable, else the user's copy.
setup_file() {
    local root=$build/stage
    if [ -w "$root/language" ]; then
        echo "$root/language/mysetup.ini"
    else
        local own=${XDG_CONFIG_HOME:-$HOME/.config}/tarvane-cps/mysetup.ini
        mkdir -p "$(dirname "$own")"
        [ -f "$own" ] || cp "$root/language/mysetup.ini" "$own"
        echo "$own"
    fi
}

sim_pid=""
stop_simulator() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=""
    fi
}

# Starts a simulated radio on a pseudo-terminal linked at $1 and gives that path port 1.
start_simulator() {
    local link=$1
    shift
    rm -f "$link"
    "$program_dir/tarvane-cli" simulate --link "$link" "$@" &
    sim_pid=$!
    for _ in $(seq 1 100); do
        [ -e "$link" ] && break
        sleep 0.05
    done
    if [ ! -e "$link" ]; then
        echo "The simulated radio did not start." >&2
        return 1
    fi
    local setup
    setup=$(setup_file)
    ini_set "$setup" Ports Port1 "$link"
    ini_set "$setup" language comPort 1
}
