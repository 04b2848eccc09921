#!/bin/sh
# Installs what building and testing need (MinGW-w64, Wine with i386, Xvfb, CMake, GoogleTest
# sources, lnkinfo, ImageMagick, a font with Japanese and Chinese characters). Returns at once
# when everything is there.
set -e

have_all() {
  command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 &&
  command -v wine >/dev/null 2>&1 &&
  command -v Xvfb >/dev/null 2>&1 &&
  command -v lnkinfo >/dev/null 2>&1 &&
  command -v cmake >/dev/null 2>&1 &&
  command -v import >/dev/null 2>&1 &&
  command -v xwd >/dev/null 2>&1 &&
  [ -f /usr/src/googletest/CMakeLists.txt ] &&
  dpkg -s fonts-wqy-microhei >/dev/null 2>&1 &&
  dpkg -s wine32:i386 >/dev/null 2>&1
}

if have_all; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
  g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
  wine wine32:i386 wine64 xvfb xauth x11-apps cmake make googletest liblnk-utils imagemagick fonts-wqy-microhei \
  >/dev/null
have_all
