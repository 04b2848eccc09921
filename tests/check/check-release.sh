#!/bin/sh
# Builds the release bundle with the build's own command and lists it: the zip is named after
# the version resource's version and holds both editions of setup and setupcheck (the very
# files the build made), the packager's guide with the check in it, and the sample package.
# Usage: check-release.sh CMAKE BUILD_DIR VERSION_HEADER
set -u
CMAKE="$1"
BUILD="$2"
HEADER="$3"
status=0

version=$(sed -n 's/^#define FILE_VERSION_TEXT "\(.*\)"$/\1/p' "$HEADER")
[ -n "$version" ] || { echo "FAIL: no FILE_VERSION_TEXT in $HEADER"; exit 1; }
zip="$BUILD/pondway-setup-$version.zip"
rm -f "$zip"
"$CMAKE" --build "$BUILD" --target package >"$BUILD/release-bundle.log" 2>&1 ||
  { echo "FAIL: cmake --build --target package (see $BUILD/release-bundle.log)"; tail -n 20 "$BUILD/release-bundle.log"; exit 1; }
[ -f "$zip" ] || { echo "FAIL: $zip was not made"; ls "$BUILD"/*.zip 2>/dev/null; exit 1; }

listing=$(unzip -l "$zip") || { echo "FAIL: unzip -l $zip"; exit 1; }
top="pondway-setup-$version"
for member in setup.exe setup64.exe setupcheck.exe setupcheck64.exe PACKAGERS-GUIDE.txt \
    sample-package/SETUP.EXE sample-package/SETUP.INF sample-package/PUZZLE.EXE sample-package/README.TXT \
    sample-package/data/level1.dat sample-package/data/level2.dat; do
  if echo "$listing" | awk '{ print $4 }' | grep -qx "$top/$member"; then
    echo "ok: $top/$member"
  else
    echo "FAIL: $top/$member is not in the bundle"
    status=1
  fi
done

# The programs are the build's own, and the sample ships the 32-bit edition.
for program in setup.exe setup64.exe setupcheck.exe setupcheck64.exe; do
  if unzip -p "$zip" "$top/$program" | cmp -s - "$BUILD/$program"; then
    echo "ok: $program is the built one"
  else
    echo "FAIL: $program in the bundle differs from $BUILD/$program"
    status=1
  fi
done
if unzip -p "$zip" "$top/sample-package/SETUP.EXE" | cmp -s - "$BUILD/setup.exe"; then
  echo "ok: the sample package carries setup.exe"
else
  echo "FAIL: the sample package's SETUP.EXE is not setup.exe"
  status=1
fi

# The guide is the README's packager sections, the check first.
guide=$(unzip -p "$zip" "$top/PACKAGERS-GUIDE.txt")
for text in "wine setupcheck.exe" "### Section [Group]" "### Section [Reg]" "## Shipping an application"; do
  if echo "$guide" | grep -qF "$text"; then
    echo "ok: the guide holds \"$text\""
  else
    echo "FAIL: the guide lacks \"$text\""
    status=1
  fi
done
if echo "$guide" | grep -q "^## Benchmarks"; then
  echo "FAIL: the guide holds the README's other sections"
  status=1
fi
exit $status
