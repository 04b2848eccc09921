# Sourced by the build, test, demo and benchmark scripts: which edition of the program this
# host builds its tests for and runs, and a Wine that can run it.
#
# The shipped edition is setup.exe, a 32-bit program. Some Linux hosts run no 32-bit code at
# all (the kernel's IA-32 emulation is off: any i386 program fails with "Exec format error",
# Wine's 32-bit loader included). There everything runs on setup64.exe, the 64-bit edition, in
# a 64-bit prefix, through Wine's 64-bit loader.
#
# choose_edition sets and exports:
#   SETUP_EDITION   32 or 64 (set it beforehand to choose; 64 works on every host)
#   TOOLCHAIN_FILE  the cross toolchain of that edition
#   SETUP_EXE_NAME  setup.exe or setup64.exe
# and, for 64, puts `wine` and `wine-stable` scripts that start the 64-bit loader first on PATH
# (Debian's wine, wineboot and regedit scripts start the 32-bit loader whenever it is installed).
# On a host where Wine cannot start at all it stops the calling script with one line saying why.

WINE32_LOADER="${WINE32_LOADER:-/usr/lib/wine/wine}"
WINE64_LOADER="${WINE64_LOADER:-/usr/lib/wine/wine64}"

edition_fail() {
  echo "$*" >&2
  exit 1
}

# loader_error LOADER: empty when the loader starts, else the first line of what it said.
loader_error() {
  if [ ! -x "$1" ]; then
    echo "$1 is not installed"
    return
  fi
  said=$("$1" --version 2>&1) && return
  [ -n "$said" ] || said="it failed without a word"
  echo "$said" | head -n 1
}

choose_edition() {
  if [ -n "${SETUP_EDITION_CHOSEN:-}" ]; then
    wine64_path_setup
    return 0
  fi
  root_dir=$(pwd)
  wine64_error=$(loader_error "$WINE64_LOADER")
  wine32_error=$(loader_error "$WINE32_LOADER")
  case "${SETUP_EDITION:-}" in
    "")
      if [ -z "$wine32_error" ]; then
        SETUP_EDITION=32
      else
        SETUP_EDITION=64
      fi
      ;;
    32|64) ;;
    *) edition_fail "SETUP_EDITION must be 32 or 64, not '$SETUP_EDITION'" ;;
  esac
  if [ "$SETUP_EDITION" = 64 ] && [ -n "$wine64_error" ]; then
    edition_fail "Wine cannot start: its 64-bit loader says: $wine64_error"
  fi
  if [ "$SETUP_EDITION" = 32 ] && [ -n "$wine32_error" ]; then
    edition_fail "this host runs no 32-bit programs and SETUP_EDITION=32 asks for them (Wine's 32-bit loader says: $wine32_error); leave SETUP_EDITION unset"
  fi
  if [ "$SETUP_EDITION" = 32 ]; then
    TOOLCHAIN_FILE="$root_dir/cmake/mingw-i686.cmake"
    SETUP_EXE_NAME=setup.exe
    if [ -z "$wine64_error" ]; then
      EDITION_SENTENCE="Running on setup.exe, the 32-bit edition (this host runs 32-bit programs); the English life cycle runs on setup64.exe too."
    else
      EDITION_SENTENCE="Running on setup.exe, the 32-bit edition; Wine's 64-bit loader does not start here ($wine64_error)."
    fi
  else
    TOOLCHAIN_FILE="$root_dir/cmake/mingw-x86_64.cmake"
    SETUP_EXE_NAME=setup64.exe
    if [ -n "$wine32_error" ]; then
      EDITION_SENTENCE="This host runs no 32-bit programs ($wine32_error), so everything runs on setup64.exe, the 64-bit edition, in a 64-bit prefix; setup.exe is still built and checked from the Linux side."
    else
      EDITION_SENTENCE="Running on setup64.exe, the 64-bit edition, in a 64-bit prefix, as SETUP_EDITION=64 asks; setup.exe is still built and checked from the Linux side."
    fi
  fi
  SETUP_EDITION_CHOSEN=1
  export SETUP_EDITION SETUP_EDITION_CHOSEN TOOLCHAIN_FILE SETUP_EXE_NAME EDITION_SENTENCE
  wine64_path_setup
}

# With the 64-bit edition nothing may start Wine's 32-bit loader: `wine` and `wine-stable`
# (which wineboot, regedit and the other tool scripts call) exec the 64-bit loader.
wine64_path_setup() {
  [ "$SETUP_EDITION" = 64 ] || return 0
  # One folder per loader, so that runs with different loaders never rewrite each other's.
  wrappers="${TMPDIR:-/tmp}/pondway-setup-wine64-$(id -u)-$(echo "$WINE64_LOADER" | cksum | cut -d ' ' -f 1)"
  wrapper=$(printf '#!/bin/sh\nexec %s "$@"' "$WINE64_LOADER")
  mkdir -p "$wrappers"
  for name in wine wine-stable; do
    if [ "$(cat "$wrappers/$name" 2>/dev/null)" != "$wrapper" ]; then
      echo "$wrapper" >"$wrappers/$name.new.$$"
      chmod +x "$wrappers/$name.new.$$"
      mv -f "$wrappers/$name.new.$$" "$wrappers/$name"
    fi
  done
  case ":$PATH:" in
    *":$wrappers:"*) ;;
    *) PATH="$wrappers:$PATH" ;;
  esac
  WINELOADER="$WINE64_LOADER"
  WINEARCH=win64
  export PATH WINELOADER WINEARCH
}
