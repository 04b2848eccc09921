#!/bin/sh
# Builds everything and runs every test under Wine on a private Xvfb screen, on the edition
# this host runs (scripts/edition.sh says which, in the first line of output).
# Extra arguments go to ctest (for example -R Folder).
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
. scripts/edition.sh
choose_edition
echo "$EDITION_SENTENCE"
export EDITION_ANNOUNCED=1
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
echo "Testing $SETUP_EXE_NAME, the $SETUP_EDITION-bit edition."
ctest --output-on-failure --timeout 300 "$@"
