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

trap stop_simulator EXIT
trap "exit 130" INT TERM HUP
start_simulator "${TMPDIR:-/tmp}/tarvane-radio-$(id -u)"
echo "Simulated radio on port 1. Starting Tarvane CPS..."
"$program_dir/tarvane-cps"
