#!/bin/sh
# Checks a built program from the Linux side: an executable of the given format (pei-i386 for
# setup.exe, pei-x86-64 for setup64.exe) and subsystem (2, Windows GUI, unless told 3, the
# console of setupcheck) of at most MAX_BYTES that imports nothing but the system's own DLLs.
# Usage: check-executable.sh OBJDUMP EXE FORMAT [MAX_BYTES] [SUBSYSTEM]
set -u
OBJDUMP="$1"
EXE="$2"
FORMAT="$3"
MAX_BYTES="${4:-}"
SUBSYSTEM="0000000${5:-2}"
# The system's known DLLs: any other imported DLL could be planted beside the program.
ALLOWED="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll"
status=0

if [ ! -f "$EXE" ]; then
  echo "FAIL: $EXE does not exist"
  exit 1
fi

headers=$("$OBJDUMP" -f "$EXE") || { echo "FAIL: objdump -f $EXE"; exit 1; }
private=$("$OBJDUMP" -p "$EXE") || { echo "FAIL: objdump -p $EXE"; exit 1; }

if echo "$headers" | grep -q "file format $FORMAT\$"; then
  echo "ok: file format $FORMAT"
else
  echo "FAIL: not a $FORMAT executable:"
  echo "$headers" | grep "file format"
  status=1
fi

if [ -n "$MAX_BYTES" ]; then
  bytes=$(stat -c %s "$EXE")
  if [ "$bytes" -le "$MAX_BYTES" ]; then
    echo "ok: $bytes bytes, at most $MAX_BYTES"
  else
    echo "FAIL: $bytes bytes, more than $MAX_BYTES"
    status=1
  fi
fi

subsystem=$(echo "$private" | awk '$1 == "Subsystem" { print $2 }')
if [ "$subsystem" = "$SUBSYSTEM" ]; then
  echo "ok: Subsystem $SUBSYSTEM"
else
  echo "FAIL: Subsystem is '$subsystem', expected $SUBSYSTEM"
  status=1
fi

dlls=$(echo "$private" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
if [ -z "$dlls" ]; then
  echo "FAIL: no imported DLL found (objdump output not understood)"
  status=1
fi
for dll in $dlls; do
  case " $ALLOWED " in
    *" $dll "*) echo "ok: imports $dll" ;;
    *) echo "FAIL: imports $dll, which is not one of: $ALLOWED"; status=1 ;;
  esac
done
exit $status
