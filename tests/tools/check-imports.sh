#!/bin/sh
# Checks that the 32-bit edition can load on the first Windows 95 and on NT 4.0: it imports
# only the functions of the reviewed list, and those only from the system's known DLLs, has no
# TLS directory, and asks for subsystem 4.0.
# Usage: check-imports.sh OBJDUMP EXE LIST
set -u
OBJDUMP="$1"
EXE="$2"
LIST="$3"
status=0

private=$("$OBJDUMP" -p "$EXE") || { echo "FAIL: objdump -p $EXE"; exit 1; }
imports=$(echo "$private" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  /^$/ { dll = "" }
  /^\t[0-9a-f]+\t/ && dll != "" { print dll, $NF }' | sort -u)
if [ -z "$imports" ]; then
  echo "FAIL: no imported function found (objdump output not understood)"
  exit 1
fi
for dll in $(echo "$imports" | cut -d' ' -f1 | sort -u); do
  case " kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll " in *" $dll "*) ;;
    *) echo "FAIL: imports from $dll, which is not one of the system's known DLLs"; status=1 ;; esac
done
allowed=$(grep -v '^#' "$LIST" | grep -v '^[[:space:]]*$')
missing=$(echo "$imports" | while read -r dll function; do
  echo "$allowed" | grep -qxF "$dll $function" ||
    echo "FAIL: imports $function from $dll, which is not in $(basename "$LIST")"
done)
if [ -n "$missing" ]; then
  echo "$missing"
  status=1
fi
echo "$(echo "$imports" | wc -l) imported functions checked"

if echo "$private" | awk '/^Entry 9 / && $3 != "00000000" { found = 1 } END { exit !found }'; then
  echo "FAIL: the program has a TLS directory"
  status=1
else
  echo "ok: no TLS directory"
fi

major=$(echo "$private" | awk '$1 == "MajorSubsystemVersion" { print $2 }')
minor=$(echo "$private" | awk '$1 == "MinorSubsystemVersion" { print $2 }')
if [ "$major.$minor" = "4.0" ]; then
  echo "ok: subsystem version 4.0"
else
  echo "FAIL: subsystem version $major.$minor, expected 4.0"
  status=1
fi
exit $status
