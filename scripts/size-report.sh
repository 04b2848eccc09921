#!/bin/bash
# Where the bytes of a built edition go: its sections (in memory and in the file), its
# resources by kind, its imports, and its largest functions and tables.
# Usage: scripts/size-report.sh [EXE]   (default build/setup.exe; its symbols are read from the
#        unstripped copy the build keeps beside it, NAME.symbols.exe)
set -eu
cd "$(dirname "$0")/.."
EXE="${1:-build/setup.exe}"
SYMBOLS="${EXE%.exe}.symbols.exe"
[ -f "$EXE" ] || { echo "size-report: $EXE not found; build first (scripts/build.sh)" >&2; exit 1; }
case "$(objdump -f "$EXE" 2>/dev/null | sed -n 's/.*file format //p')" in
  pei-i386) PREFIX=i686-w64-mingw32 ;;
  *) PREFIX=x86_64-w64-mingw32 ;;
esac

# awk without strtonum (mawk): hexadecimal text to a number, "0x" and a trailing comma allowed.
HEX='function hex(h,   s, i) { s = 0; h = tolower(h); sub(/^0x/, "", h); sub(/,$/, "", h)
  for (i = 1; i <= length(h); i++) s = s * 16 + index("0123456789abcdef", substr(h, i, 1)) - 1; return s }'

echo "$EXE: $(stat -c %s "$EXE") bytes"
echo
echo "Sections (bytes in memory, and in the file, where each is rounded up to 512):"
"$PREFIX-objdump" -h "$EXE" | awk -v total="$(stat -c %s "$EXE")" "$HEX"'
  /^ +[0-9]+ / { size = hex($3); file = ($2 == ".bss") ? 0 : int((size + 511) / 512) * 512
    printf "  %-8s %6d %6d\n", $2, size, file; used += file }
  END { printf "  %-8s %6s %6d\n", "headers", "", total - used }'
echo
echo "Resources by kind (bytes of data):"
"$PREFIX-objdump" -p "$EXE" | awk "$HEX"'
  /The .rsrc Resource Directory section/ { on = 1; next }
  on && /^[0-9a-f]+   Entry: ID:/ { kind = hex($4) }
  on && /Leaf: Addr:/ { bytes[kind] += hex($6); count[kind]++ }
  END {
    name[3] = "icon images"; name[5] = "dialog templates"; name[6] = "string tables"
    name[14] = "icon groups"; name[16] = "version"
    for (k in bytes) printf "  %6d  %-17s (%d)\n", bytes[k], (k in name ? name[k] : "kind " k), count[k]
  }' | sort -rn

echo
echo "Imports: $("$PREFIX-objdump" -p "$EXE" | grep -c '^	[0-9a-f]*	 *[0-9]' ) functions from $("$PREFIX-objdump" -p "$EXE" | grep -c 'DLL Name:') DLLs"

if [ -f "$SYMBOLS" ]; then
  echo
  echo "Largest functions and tables (bytes):"
  "$PREFIX-nm" --size-sort -S -C "$SYMBOLS" | grep -E ' [tTrRdD] ' | grep -v ' _[a-z_]*__$' | tail -20 | tac |
    while read -r _ size _ name; do printf "  %6d  %s\n" "$((16#$size))" "$name"; done
fi
