#!/bin/bash
# How setupcheck scales: generates packages of 1,000, 20,000 and 100,000 file entries (with a
# few planted duplicates and other findings, a [Group] of one shortcut per hundred entries and a
# [Reg] value) and prints the check's wall time for each, beside Wine's start-up alone.
# Usage: bench/check-scale.sh [--program EXE] [--sizes "N ..."] [--timeout SECONDS]
#   --program EXE     time another build of setupcheck (a Linux path), e.g. an earlier one
#   --sizes "N ..."   the package sizes (default "1000 20000 100000")
#   --timeout SECONDS give up on a run after this long (default 600) and show "> SECONDS s"
# Builds only setupcheck, in BUILD_DIR (default build), and runs it in a Wine prefix of its own,
# BUILD_DIR/wineprefix-check-scale. These are figures, not tests: nothing fails on a time.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

PROGRAM=""
SIZES="1000 20000 100000"
TIMEOUT=600
while [ $# -gt 0 ]; do
  case "$1" in
    --program) PROGRAM=$(realpath "$2"); shift ;;
    --sizes) SIZES="$2"; shift ;;
    --timeout) TIMEOUT="$2"; shift ;;
    -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

. scripts/edition.sh
choose_edition
echo "$EDITION_SENTENCE"
BUILD_DIR="${BUILD_DIR:-build}"
if [ -z "$PROGRAM" ]; then
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$BUILD_DIR" --target setupcheck -- --no-print-directory >/dev/null
  if [ "$SETUP_EDITION" = 32 ]; then PROGRAM="$ROOT/$BUILD_DIR/setupcheck.exe"; else PROGRAM="$ROOT/$BUILD_DIR/setupcheck64.exe"; fi
fi

. scripts/wine-env.sh
make_prefix "$ROOT/$BUILD_DIR/wineprefix-check-scale"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT INT TERM
wineserver -p10
PACKAGES="$WINEPREFIX/drive_c/check-scale"
cp "$PROGRAM" "$WINEPREFIX/drive_c/setupcheck-under-test.exe"

# A package of N file entries. Sources are a hundred small files; every destination is its own
# (data\<thousand>\file<i>.dat) except five that repeat entry 1's in capitals. Planted besides:
# three sources that are not in the package, an unknown folder macro, a [Group] name given
# twice and a [Group] target that is not installed: 11 errors, 0 warnings.
make_package() {  # N
  dir="$PACKAGES/p$1"
  [ -f "$dir/SETUP.INF" ] && return 0
  rm -rf "$dir"
  mkdir -p "$dir/src"
  for k in $(seq 0 99); do printf 'file %s\r\n' "$k" >"$dir/src/f$k.dat"; done
  awk -v n="$1" 'BEGIN {
    ORS = "\r\n"
    print "[Install]"; print "Title=Scale " n; print "Folder=Scale\\Check"
    for (i = 1; i <= n; ++i) {
      source = "src\\f" (i % 100) ".dat"
      target = "data\\" int(i / 1000) "\\file" i ".dat"
      if (i % int(n / 5) == int(n / 10) && i > 1) target = "DATA\\0\\FILE1.DAT"
      if (i % int(n / 3) == 7) source = "src\\missing" i ".dat"
      if (i == n - 2) target = "q!" target
      print i "=" source "," target
    }
    print "[Group]"
    groups = int(n / 100)
    for (j = 1; j <= groups; ++j) {
      e = (j - 1) * 100 + 1
      print j "=Shortcut " j ",data\\" int(e / 1000) "\\file" e ".dat"
    }
    print (groups + 1) "=Shortcut 1,data\\0\\file2.dat"
    print (groups + 2) "=Ghost,GHOST.EXE"
    print "[Reg]"; print "1=HKEY_CURRENT_USER\\Software\\TinySetupTest\\Scale"
  }' >"$dir/SETUP.INF"
}

seconds() {  # start end
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'
}

echo "setupcheck: $PROGRAM"
# Wine's own start-up, measured on the usage message (after one run that starts the session).
wine "C:\\setupcheck-under-test.exe" >/dev/null 2>&1 || true
start=$(date +%s.%N)
wine "C:\\setupcheck-under-test.exe" >/dev/null 2>&1 || true
printf '%-10s %10s %10s  %s\n' entries "INF bytes" seconds "last line (exit code)"
printf '%-10s %10s %10s  %s\n' none - "$(seconds "$start" "$(date +%s.%N)")" "(Wine start-up and usage message)"
for n in $SIZES; do
  make_package "$n"
  bytes=$(stat -c %s "$PACKAGES/p$n/SETUP.INF")
  start=$(date +%s.%N)
  code=0
  timeout "$TIMEOUT" wine "C:\\setupcheck-under-test.exe" "C:\\check-scale\\p$n" >"$PACKAGES/p$n.report" 2>/dev/null || code=$?
  end=$(date +%s.%N)
  if [ "$code" = 124 ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p10
    printf '%-10s %10s %10s  %s\n' "$n" "$bytes" "> $TIMEOUT" "(gave up)"
  else
    printf '%-10s %10s %10s  %s\n' "$n" "$bytes" "$(seconds "$start" "$end")" \
      "$(tail -n 1 "$PACKAGES/p$n.report" | tr -d '\r') ($code)"
  fi
done
echo "Reports: $PACKAGES/p<entries>.report"
