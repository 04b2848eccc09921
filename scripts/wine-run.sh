#!/bin/sh
# Runs a cross-built program under Wine in the project's own prefix (never ~/.wine).
: "${WINEPREFIX:?WINEPREFIX must name the project's prefix (scripts/run-tests.sh sets it)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
