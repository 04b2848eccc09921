#!/bin/sh
# Runs a cross-built program under Wine in the project's own prefix (never ~/.wine).
# The program's output goes through files, not straight to the caller: a program that is the
# first to need Wine's desktop or RPC process starts it, and that process would inherit the
# caller's pipe and keep it open long after the program ended (CTest then waits for it).
: "${WINEPREFIX:?WINEPREFIX must name the project's prefix (scripts/run-tests.sh sets it)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
out=$(mktemp)
err=$(mktemp)
wine "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
