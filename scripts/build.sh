#!/bin/sh
# Configures and builds both editions of the program (build/setup.exe, 32-bit, and
# build/setup64.exe, 64-bit) and the tests, which are built for the edition this host runs
# (scripts/edition.sh).
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
. scripts/edition.sh
choose_edition
if [ -z "${EDITION_ANNOUNCED:-}" ]; then
  echo "$EDITION_SENTENCE"
fi
# A build folder made for the other edition is made anew: a configured compiler cannot change.
if [ -f "$BUILD_DIR/CMakeCache.txt" ] &&
   ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$TOOLCHAIN_FILE" "$BUILD_DIR/CMakeCache.txt"; then
  echo "build.sh: $BUILD_DIR was configured for the other edition; configuring it anew."
  rm -rf "$BUILD_DIR/CMakeCache.txt" "$BUILD_DIR/CMakeFiles"
fi
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" -- --no-print-directory
