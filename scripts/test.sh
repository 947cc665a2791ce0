#!/usr/bin/env bash
# Sets up, builds and runs every test headless, on SQLite and on a throwaway PostgreSQL
# server that lives only for this run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# shellcheck source=scripts/pgtest.sh
source "$root/scripts/pgtest.sh"
pg_start
trap pg_stop EXIT
cd "$root/build"
ctest --output-on-failure -j2 "$@"
