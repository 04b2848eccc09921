#!/bin/sh
# Builds everything and runs every test under Wine on a private Xvfb screen.
# Extra arguments go to ctest (for example -R Folder).
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
BUILD_DIR="${BUILD_DIR:-build}"
ROOT=$(pwd)
. scripts/wine-env.sh
make_prefix "$ROOT/$BUILD_DIR/wineprefix"
trap stop_wine_env EXIT INT TERM
start_display
wineserver -k >/dev/null 2>&1 || true
wineserver -p5
start_wine_keeper
cd "$BUILD_DIR"
ctest --output-on-failure --timeout 300 "$@"
