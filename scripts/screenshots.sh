#!/usr/bin/env bash
# Takes the README's pictures of the main windows: builds, starts a simulated
# radio on port 1 and shows the windows one by one on a virtual screen (Xvfb,
# with a small window manager for the title bars), photographing each with
# ImageMagick's "import -window root". The pictures go to docs/, and the
# guide's own (data/guide/) are made from three of them.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing openbox
build_programs tarvane-screenshot-tour

if [ -z "${TARVANE_IN_XVFB:-}" ]; then
    # Again, inside a virtual screen of its own.
    TARVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

# Fresh placement and settings, so the pictures do not depend on earlier runs.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm_pid=$!
cleanup() {
    stop_simulator
    kill "$wm_pid" 2>/dev/null || true
    rm -rf "$XDG_CONFIG_HOME"
}
trap cleanup EXIT
sleep 1

start_simulator "${TMPDIR:-/tmp}/tarvane-shots-radio-$$"
# A sanitizer build would report the system libraries' own leaks at exit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
"$program_dir/tarvane-screenshot-tour" "$repo/docs"
# The getting-started guide shows three of them at three quarters of their size.
for picture in main-window channel-edit read-progress; do
    convert "$repo/docs/$picture.png" -resize 75% "$repo/data/guide/$picture.png"
done
