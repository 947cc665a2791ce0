#!/usr/bin/env bash
# Sets up, builds and starts Brelvan; makes a demo data folder on the first run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
bin="$root/build/bin"
home=${BRELVAN_HOME:-$bin}
if [ ! -e "$home/Data/Brelvan.db" ]; then
    echo "run: no data folder in $home, making a demo one"
    "$bin/brelvan-data" create "$home/Data" --demo
    "$bin/brelvan-data" set-data-folder "$home" Data
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: there is no display here (DISPLAY is not set)."
    echo "run: Brelvan is a desktop program; start it on a desktop, or under a virtual"
    echo "run: display with:  xvfb-run -a $bin/brelvan"
    exit 1
fi
exec "$bin/brelvan"
