#!/usr/bin/env bash
# Configures and builds Brelvan into build/ (two jobs: the machine has two cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}
# clones in other folders share the cache
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRELVAN_WERROR=ON >/dev/null
cmake --build "$root/build" -j2 "$@"
