#!/bin/sh
# Installs what building and testing need (MinGW-w64 for both editions, Wine with i386, Xvfb,
# CMake, GoogleTest sources, lnkinfo, unzip, ImageMagick, Python (the manifest check), a font with
# Japanese and Chinese characters, the Japanese and Chinese locales, osslsigncode and openssl to
# sign the release bundle). Returns at once when everything is there; otherwise ends
# with one line naming what could not be installed.
set -e

PACKAGES="g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-apps cmake make googletest liblnk-utils imagemagick
  fonts-wqy-microhei fonts-dejavu-core locales unzip osslsigncode openssl python3"

# Wine creates files whose names are Japanese or Chinese only when the Linux locale exists.
LOCALES="ja_JP.UTF-8 zh_TW.UTF-8"

have_locales() {
  available=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  for name in $LOCALES; do
    wanted=$(echo "$name" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    echo "$available" | grep -qx "$wanted" || return 1
  done
}

have_all() {
  command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 &&
  command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 &&
  command -v wine >/dev/null 2>&1 &&
  [ -x /usr/lib/wine/wine64 ] &&
  command -v Xvfb >/dev/null 2>&1 &&
  command -v lnkinfo >/dev/null 2>&1 &&
  command -v unzip >/dev/null 2>&1 &&
  command -v python3 >/dev/null 2>&1 &&
  command -v cmake >/dev/null 2>&1 &&
  command -v import >/dev/null 2>&1 &&
  command -v xwd >/dev/null 2>&1 &&
  command -v osslsigncode >/dev/null 2>&1 &&
  command -v openssl >/dev/null 2>&1 &&
  [ -f /usr/src/googletest/CMakeLists.txt ] &&
  dpkg -s fonts-wqy-microhei >/dev/null 2>&1 &&
  dpkg -s fonts-dejavu-core >/dev/null 2>&1 &&
  dpkg -s wine32:i386 >/dev/null 2>&1 &&
  have_locales
}

fail() {
  echo "setup-machine: $*" >&2
  exit 1
}

if have_all; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || fail "not root and no sudo: run as root to install $PACKAGES"
  SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
$SUDO dpkg --add-architecture i386 || fail "dpkg --add-architecture i386 failed"
$SUDO apt-get update -qq >"$log" 2>&1 || fail "apt-get update failed: $(grep -m1 -E '^(E|Err):' "$log")"
# shellcheck disable=SC2086
if ! $SUDO apt-get install -y -qq --no-install-recommends $PACKAGES >"$log" 2>&1; then
  # One install for speed; on failure, one at a time to name the package at fault.
  for package in $PACKAGES; do
    if ! $SUDO apt-get install -y -qq --no-install-recommends "$package" >"$log" 2>&1; then
      fail "could not install the package $package: $(grep -m1 -E '^E:' "$log" || tail -n 1 "$log")"
    fi
  done
fi

if ! have_locales; then
  for name in $LOCALES; do
    $SUDO sed -i "s/^# *\($name UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$name UTF-8" /etc/locale.gen || echo "$name UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >"$log" 2>&1 || fail "locale-gen failed: $(tail -n 1 "$log")"
fi
rm -f "$log"

for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix wine Xvfb lnkinfo unzip cmake import xwd osslsigncode openssl; do
  command -v "$tool" >/dev/null 2>&1 || fail "installed, but $tool is still missing"
done
have_locales || fail "the locales $LOCALES were not generated"
have_all || fail "installed, but the check of what is needed still fails"
