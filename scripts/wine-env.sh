# Sourced by the run scripts: a Wine prefix under the build folder and a private Xvfb screen.
# Sets WINEPREFIX and DISPLAY (a screen of SCREEN_SIZE, 1024x768 unless set); stop_wine_env stops the wineserver and the Xvfb started here.
# The Wine that runs is the one of the edition under test (scripts/edition.sh).
# Sourced from the repository's root folder, as the scripts run.
. scripts/edition.sh
choose_edition

export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko downloads, and no Linux-side menu entries for the links the tests make
# (winemenubuilder would write them into the Linux user's own menus).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"

# make_prefix DIR: a fresh 64-bit prefix whose user folders are real, empty folders inside it.
# A new prefix links Desktop, Documents and the like to $HOME; a shortcut made "on the desktop"
# would land there and a removal that empties "the desktop" would empty $HOME.
# A prefix counts as made only when it booted (its user folders and registry files exist); one
# that did not is made anew on the next run. When Wine cannot make it, the calling script stops
# with one line saying what Wine said.
# The ready mark names the settings the prefix was made with; a prefix made with older settings
# is made anew.
PREFIX_SETTINGS="settings 3: real user folders, fallback-font links, no crash dialog, P: on the profile"
make_prefix() {
  export WINEPREFIX="$1"
  if [ "$(cat "$WINEPREFIX/.prefix-ready" 2>/dev/null)" = "$PREFIX_SETTINGS" ] && prefix_booted; then
    return 0
  fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  boot_log="$WINEPREFIX/.boot.log"
  boot_status=0
  wineboot -i >"$boot_log" 2>&1 || boot_status=$?
  wineserver -w >/dev/null 2>&1 || true
  if [ "$boot_status" -ne 0 ] || ! prefix_booted; then
    said=$(grep -v '^[[:space:]]*$' "$boot_log" | head -n 1)
    rm -rf "$WINEPREFIX"
    echo "Wine could not make its prefix $WINEPREFIX (wineboot exit $boot_status): ${said:-it said nothing}" >&2
    exit 1
  fi
  rm -f "$boot_log"
  prefix_settings
  echo "$PREFIX_SETTINGS" >"$WINEPREFIX/.prefix-ready"
}

prefix_booted() {
  [ -d "$WINEPREFIX/drive_c/users" ] && [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/user.reg" ]
}

prefix_settings() {
  find "$WINEPREFIX/drive_c/users" -type l | while read -r link; do
    rm "$link"
    mkdir -p "$link"
  done
  # Japanese and Chinese texts shown under another language's interface (the fixed Japanese
  # questions, their captions) are drawn through font linking, as on Windows. No interface
  # font (Tahoma, "MS Sans Serif" for "Helv") is installed, so Wine draws them all with its
  # fallback font, DejaVu Sans (its bold is a family of its own to Wine): that font is linked
  # to the CJK font that the machine set-up installs. A link on an interface font would make
  # the CJK font that name's font, Latin letters included; a property sheet ("MS Shell Dlg",
  # Tahoma) would then size its pages ("Helv") with another font than theirs and cut their
  # controls off. (Wine also rewrites the links of Tahoma and "Microsoft Sans Serif" whenever
  # the prefix is started in another code page; those of DejaVu Sans it leaves alone.)
  for font in "DejaVu Sans" "DejaVu Sans Bold"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$font" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
  done
  # P: names the user's profile folder, as subst or a mapped drive would: the tests reach the
  # user's folders through another drive letter as well.
  ln -sfn "../drive_c/users/$(id -un)" "$WINEPREFIX/dosdevices/p:"
  # A program that crashes ends at once instead of waiting in Wine's crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  wineserver -w
}

XVFB_PID=""
start_display() {
  if [ -n "${KEEP_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE:-1024x768}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# Wine starts its system processes (services, explorer) with the first program of a session,
# and they inherit that program's output. Under CTest that output is a pipe, which then stays
# open until they exit, two seconds after the program: every test would wait for it. A first
# program that lives for the whole run (a command prompt reading a pipe that this shell holds
# open) keeps them attached to itself.
start_wine_keeper() {
  keeper_fifo=$(mktemp -u)
  mkfifo "$keeper_fifo"
  wine cmd.exe <"$keeper_fifo" >/dev/null 2>&1 &
  exec 9>"$keeper_fifo"
  rm -f "$keeper_fifo"
  # Wait until the keeper has the system processes up, and start the desktop and RPC processes
  # too (the first program with a window would): otherwise the first test program may be the
  # one that starts them, and the prefix changes under the tests that compare it.
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

stop_wine_env() {
  exec 9>&- 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
