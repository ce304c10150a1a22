#!/usr/bin/env bash
# Builds Tarvane CPS, starts a simulated radio on a pseudo-terminal, gives it
# serial port 1 and starts the program: Read from radio, Write to radio and
# Radio information then work without hardware. A real radio is used by
# choosing its port in Settings > Serial port.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing
build_programs

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<MSG
Built, but there is no display to show the program on.
On a machine without a screen, run it on a virtual one:
    sudo apt-get install xvfb && xvfb-run -a scripts/run.sh
(the window is then not visible; scripts/screenshots.sh takes pictures of it).
MSG
    exit 1
fi

# The value of KEY in [SECTION] of an INI file, and whether it is there at all.
ini_get() {
    awk -v s="[$2]" -v k="$3" '
        /^\[/ { in_s = ($0 == s) }
        in_s && index($0, k "=") == 1 { sub(/\r$/, ""); print substr($0, length(k) + 2); found = 1; exit }
        END { exit found ? 0 : 1 }' "$1"
}

ini_delete() {
    local file=$1 section=$2 key=$3 tmp
    tmp=$(mktemp)
    awk -v s="[$section]" -v k="$key" '
        /^\[/ { in_s = ($0 == s) }
        in_s && index($0, k "=") == 1 { next }
        { print }' "$file" >"$tmp"
    cat "$tmp" >"$file"
    rm -f "$tmp"
}

# Port 1 gets its previous device back at the end, so a cable plugged in later
# is not looked for at the vanished simulator's path. A device the user chose
# for port 1 meanwhile stays.
setup=$(setup_file)
had_port1=0
previous_port1=""
if previous_port1=$(ini_get "$setup" Ports Port1); then had_port1=1; fi
link="${TMPDIR:-/tmp}/tarvane-radio-$(id -u)"
give_back_port1() {
    stop_simulator
    [ -f "$setup" ] || return 0
    local now
    now=$(ini_get "$setup" Ports Port1) || return 0
    [ "$now" = "$link" ] || return 0
    if [ "$had_port1" = 1 ] && [ "$previous_port1" != "$link" ]; then
        ini_set "$setup" Ports Port1 "$previous_port1"
    else
        ini_delete "$setup" Ports Port1
    fi
}

trap give_back_port1 EXIT
trap "exit 130" INT TERM HUP
start_simulator "$link"
echo "Simulated radio on port 1. Starting Tarvane CPS..."
"$program_dir/tarvane-cps"
