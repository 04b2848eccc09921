#!/bin/sh
# Shows the installer at work on the sample package, in a Wine prefix of its own
# (build/wineprefix-demo) into which the package is copied as C:\Pondway-Sample.
#
#   scripts/run-demo.sh [--headless] [--lang en|ja|zh] [--dpi 96|192]
#
# With a display (DISPLAY set and reachable) the real wizard opens for you to click through.
# Without one, or with --headless, a private screen is started and the demo driver clicks
# through the whole cycle itself (install, every wizard page, the message boxes, uninstall with
# "/r" and the uninstall dialog), saving a picture of each step in build/demo-screenshots/.
# The language is the terminal's (LANG) unless --lang says otherwise. --dpi sets the prefix's
# screen resolution in dots per inch (96 unless told): at 192 the windows are drawn twice as large,
# on a private screen twice as large.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)

HEADLESS=0
CHOICE=""
DPI=96
while [ $# -gt 0 ]; do
  case "$1" in
    --headless) HEADLESS=1 ;;
    --lang) shift; CHOICE="${1:-}" ;;
    --lang=*) CHOICE="${1#--lang=}" ;;
    --dpi) shift; DPI="${1:-}" ;;
    --dpi=*) DPI="${1#--dpi=}" ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run-demo.sh: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
  shift
done

if [ -z "$CHOICE" ]; then
  case "${LC_ALL:-${LANG:-}}" in
    ja*) CHOICE=ja ;;
    zh_TW*|zh_HK*) CHOICE=zh ;;
    *) CHOICE=en ;;
  esac
fi
case "$CHOICE" in
  en) DEMO_LOCALE=C.UTF-8 ;;
  ja) DEMO_LOCALE=ja_JP.UTF-8 ;;
  zh) DEMO_LOCALE=zh_TW.UTF-8 ;;
  *) echo "run-demo.sh: --lang takes en, ja or zh" >&2; exit 2 ;;
esac
case "$DPI" in
  96) SCREEN_SIZE=1024x768 ;;
  192) SCREEN_SIZE=2048x1536 ;;
  *) echo "run-demo.sh: --dpi takes 96 or 192" >&2; exit 2 ;;
esac
export SCREEN_SIZE

if [ "$HEADLESS" -eq 0 ]; then
  if [ -z "${DISPLAY:-}" ]; then
    HEADLESS=1
  elif command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo >/dev/null 2>&1 || HEADLESS=1
  elif command -v xwd >/dev/null 2>&1; then
    xwd -root -silent >/dev/null 2>&1 || HEADLESS=1
  fi
fi

scripts/setup-machine.sh
. scripts/edition.sh
choose_edition
echo "$EDITION_SENTENCE"
export EDITION_ANNOUNCED=1
export BUILD_DIR="${BUILD_DIR:-build}"
mkdir -p "$BUILD_DIR"
# A configured build folder learns of test folders added since (tests/demo) only when
# configured again.
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake "$BUILD_DIR" >/dev/null
fi
if ! scripts/build.sh >"$BUILD_DIR/demo-build.log" 2>&1; then
  # The demo needs only the program, the package and its driver; a test that does not build
  # elsewhere must not keep it from running.
  echo "The full build failed (see $BUILD_DIR/demo-build.log); building what the demo needs."
  cmake --build "$BUILD_DIR" -j"$(nproc)" --target setup sample_package demo_driver -- --no-print-directory \
    >>"$BUILD_DIR/demo-build.log" 2>&1 || { tail -n 30 "$BUILD_DIR/demo-build.log"; exit 1; }
fi

. scripts/wine-env.sh
unset KEEP_DISPLAY
# A previous run may have left the prefix's wineserver bound to a screen that is gone.
export WINEPREFIX="$ROOT/$BUILD_DIR/wineprefix-demo"
wineserver -k >/dev/null 2>&1 || true
make_prefix "$ROOT/$BUILD_DIR/wineprefix-demo"
trap stop_wine_env EXIT
trap 'exit 130' INT TERM

# Wine takes the resolution from the user's "LogPixels" when a program starts. Set on every run, so
# that a run at 192 leaves nothing behind for the next one.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1 ||
    { echo "run-demo.sh: Wine could not set the resolution to $DPI dots per inch" >&2; exit 1; }
}

# A new prefix has Notepad's file type but names it for no extension: the README.TXT that the
# installer opens at the end would open nowhere.
ensure_text_files() {
  wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f >/dev/null 2>&1 || true
}

# Pictures show the windows as a user sees them, frame and caption included. Wine draws those
# itself only in a virtual desktop, as the private screen has no window manager; on your own
# screen your window manager draws them.
set_virtual_desktop() {
  if [ "$1" = on ]; then
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$SCREEN_SIZE" /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
}

PACKAGE="$WINEPREFIX/drive_c/Pondway-Sample"
rm -rf "$PACKAGE"
cp -r "$BUILD_DIR/sample-package" "$PACKAGE"
export LC_ALL="$DEMO_LOCALE"

if [ "$HEADLESS" -eq 0 ]; then
  wineserver -p5
  set_dpi
  set_virtual_desktop off
  # Shortcuts stay inside the prefix: winemenubuilder would copy them into your Linux menus.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
  ensure_text_files
  echo "Starting the installer on your screen ($CHOICE). Click through its three pages."
  wine 'C:\Pondway-Sample\SETUP.EXE' /go || true
  # The registry reaches system.reg when the prefix's wineserver ends.
  wineserver -w
  PROGRAM=$(sed -n '/Uninstall\\\\PondwayPuzzle\]/,/^$/s/^"UninstallString"="\\"\(.*\)\\" \/r"$/\1/p' \
    "$WINEPREFIX/system.reg" | sed 's/\\\\/\\/g' | head -n 1)
  echo
  if [ -n "$PROGRAM" ]; then
    echo "Pondway Puzzle is installed in the demo prefix $WINEPREFIX."
    echo "To uninstall it again, as Wine's list of programs (wine uninstaller) would:"
    echo "  WINEPREFIX=$WINEPREFIX LC_ALL=$DEMO_LOCALE wine '$PROGRAM' /r"
  else
    echo "Nothing is installed in the demo prefix (the wizard was cancelled)."
  fi
  echo "To watch the whole cycle without clicking:  scripts/run-demo.sh --headless --lang $CHOICE"
  exit 0
fi

start_display
wineserver -p5
# Before the keeper, which starts the desktop.
set_dpi
set_virtual_desktop on
start_wine_keeper
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
ensure_text_files

SHOTS="$ROOT/$BUILD_DIR/demo-screenshots"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
SHOTS_WINDOWS=$(printf 'Z:%s' "$SHOTS" | sed 's|/|\\|g')
echo "Running the whole cycle on a private screen ($CHOICE, $DPI dots per inch, $DISPLAY)."
STATUS=0
wine "$BUILD_DIR/tests/demo/demo_driver.exe" 'C:\Pondway-Sample\SETUP.EXE' "$SHOTS_WINDOWS" || STATUS=$?

for bmp in "$SHOTS"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo
echo "Screenshots in $SHOTS:"
ls -1 "$SHOTS" | sed 's/^/  /'
if [ "$STATUS" -ne 0 ]; then
  echo "The demo did not finish the cycle (exit code $STATUS); the last picture shows where it stopped."
fi
exit "$STATUS"
