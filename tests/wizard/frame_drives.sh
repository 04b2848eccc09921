#!/bin/sh
# Drives with a free space the wizard tests choose: tmpfs mounts, each mapped as a drive letter
# of the test prefix. "mount DIR" makes them, "unmount DIR" removes them again.
#   T: 1300 MB and U: 1200 MB around the full installation's 1250 MB,
#   V: 64 MB for installations measured by their files,
#   W: 8 PB, more megabytes than 32 bits hold.
# Needs root (mount) and WINEPREFIX (the prefix the tests run in).
set -e
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
action="$1"
base="$2"
drives="t:1300m u:1200m v:64m w:8p"

unmount_all() {
  for entry in $drives; do
    letter=${entry%%:*}
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    if mountpoint -q "$base/$letter"; then
      umount "$base/$letter"
    fi
  done
}

case "$action" in
mount)
  unmount_all
  for entry in $drives; do
    letter=${entry%%:*}
    size=${entry#*:}
    mkdir -p "$base/$letter"
    if ! mount -t tmpfs -o "size=$size" tmpfs "$base/$letter"; then
      echo "mounting a tmpfs of $size at $base/$letter was refused" >&2
      unmount_all
      exit 1
    fi
    ln -s "$base/$letter" "$WINEPREFIX/dosdevices/$letter:"
  done
  ;;
unmount)
  unmount_all
  ;;
*)
  echo "usage: $0 mount|unmount DIR" >&2
  exit 2
  ;;
esac
