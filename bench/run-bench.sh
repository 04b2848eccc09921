#!/bin/bash
# Benchmarks of setup.exe under Wine on a private Xvfb screen. Prints a table of:
#  - install and uninstall throughput for three generated packages, against the platform's own
#    limit (bare CopyFileA / DeleteFileA loops under the same prefix), against cp -r / rm -rf,
#    and against an NSIS 3 installer of the same files (Debian's nsis package);
#  - start-up to the first visible window, against an empty dialog;
#  - size and imported DLLs of setup.exe, beside the NSIS stub;
#  - peak working set during the large install; the longest block of the wizard's and the
#    uninstall dialog's loops, in runs of their own (the probe's messages cost the program time,
#    so the timed runs go without it), also while one 2 GiB file is copied and removed, and
#    after Next on the folder page of the 20,000-entry package;
#  - unattended install and removal, whole process against whole process: setup.exe /quiet and
#    "/r /quiet" against the NSIS installer's /S and its uninstaller's /S _?=, for packages (a),
#    (b), (c) and (s), a package of one file (summary: quiet_install_<p>_s, quiet_uninstall_<p>_s,
#    nsis_install_<p>_process_s, nsis_uninstall_<p>_process_s, and the same in ms); a setup.exe
#    run that ends with another exit code than 0 is shown as failed, with the exit code and its
#    log's last lines.
# Writes build-bench/bench-summary.txt, one key=value a line, for tools.
# Usage: bench/run-bench.sh [--quick] [--runs N] [--keep]
#   --quick  one run with small packages (a fast check that everything works)
#   --runs N measured runs of each figure (default 3; the table shows medians)
#   --keep   leave the generated packages in the prefix afterwards
# Everything lives in build-bench/ (its own build and Wine prefix). These are figures, not
# tests: nothing here passes or fails on a time.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

RUNS=3
QUICK=0
KEEP=0
RUNS_GIVEN=0
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) QUICK=1 ;;
    --runs) RUNS="$2"; RUNS_GIVEN=1; shift ;;
    --keep) KEEP=1 ;;
    -h|--help) sed -n '2,24p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

# Package sizes: (a) many small files, (b) a few large ones, (c) very many tiny ones, (d) one
# huge file, only for how long the windows go without answering.
A_FOLDERS=20
A_PER_FOLDER=100          # 2,000 files
A_FILE_BYTES=65536        # 64 KiB
B_FILES=4
B_FILE_BYTES=268435456    # 256 MiB
C_FOLDERS=100
C_PER_FOLDER=200          # 20,000 files
C_FILE_BYTES=4096         # 4 KiB
D_FILE_BYTES=2147483648   # 2 GiB
STARTUP_RUNS=5
if [ "$QUICK" = 1 ]; then
  A_PER_FOLDER=10
  B_FILE_BYTES=16777216
  C_PER_FOLDER=20
  D_FILE_BYTES=67108864
  STARTUP_RUNS=2
  [ "$RUNS_GIVEN" = 1 ] || RUNS=1
fi
A_FILES=$((A_FOLDERS * A_PER_FOLDER))
C_FILES=$((C_FOLDERS * C_PER_FOLDER))

# ---------------------------------------------------------------------------------------------
# Build: the program and the benchmark's own Win32 programs, with the same cross toolchain.
scripts/setup-machine.sh
# The shipped 32-bit edition where the host runs 32-bit programs, else the 64-bit one.
. scripts/edition.sh
choose_edition
echo "$EDITION_SENTENCE"
BUILD_DIR=build-bench
if ! grep -q '^BUILD_BENCH:BOOL=ON' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null ||
   ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$TOOLCHAIN_FILE" "$BUILD_DIR/CMakeCache.txt"; then
  rm -rf "$BUILD_DIR/CMakeCache.txt" "$BUILD_DIR/CMakeFiles"
  cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCH:BOOL=ON -DBUILD_OTHER_EDITION:BOOL=OFF >/dev/null
fi
if ! cmake --build "$BUILD_DIR" -j"$(nproc)" --target bench_programs -- --no-print-directory \
    >"$BUILD_DIR/bench-build.log" 2>&1; then
  tail -n 40 "$BUILD_DIR/bench-build.log" >&2
  echo "bench: the build failed (whole log: $BUILD_DIR/bench-build.log)" >&2
  exit 1
fi
SETUP_EXE="$ROOT/$BUILD_DIR/$SETUP_EXE_NAME"
TOOLS_BUILT="$ROOT/$BUILD_DIR/bench"

# The peer: makensis and the stubs from Debian's nsis package. The 32-bit Unicode stub where the
# shipped edition runs, the 64-bit one where the host runs no 32-bit code.
NSIS_TARGET=x86-unicode
[ "$SETUP_EDITION" = 64 ] && NSIS_TARGET=amd64-unicode
NSIS_STUB=/usr/share/nsis/Stubs/zlib-$NSIS_TARGET
if ! command -v makensis >/dev/null 2>&1 || [ ! -f "$NSIS_STUB" ]; then
  if ! DEBIAN_FRONTEND=noninteractive apt-get install -y nsis >"$BUILD_DIR/nsis-install.log" 2>&1 ||
     [ ! -f "$NSIS_STUB" ]; then
    echo "bench: cannot install Debian's nsis package (makensis and its $NSIS_TARGET stub), which the NSIS peer needs (log: $BUILD_DIR/nsis-install.log)" >&2
    exit 1
  fi
fi

. scripts/wine-env.sh
make_prefix "$ROOT/$BUILD_DIR/wineprefix"
trap 'stop_wine_env' EXIT INT TERM
start_display
wineserver -k >/dev/null 2>&1 || true
# One Wine session for the whole run: a server that stopped while a large copy was written back
# would start the next program with a new session, whose start-up deletes the files the
# uninstall worker left for the next restart, among them the worker copy about to be started.
wineserver -p

# Everything the timed parts touch lies on C: (never Z:).
BENCH="$WINEPREFIX/drive_c/bench"
WBENCH='C:\bench'
OUT="$BENCH/out"
RAW="$ROOT/$BUILD_DIR/bench-raw.txt"
TABLE="$ROOT/$BUILD_DIR/bench-results.txt"
QUIET_FAILURES="$ROOT/$BUILD_DIR/bench-unattended-failures.txt"
rm -rf "$BENCH" "$ROOT/$BUILD_DIR/screenshots/bench-failure.bmp" "$ROOT/$BUILD_DIR/screenshots/bench-unattended-failure.bmp"
mkdir -p "$BENCH/tools" "$BENCH/worker" "$OUT"
cp "$TOOLS_BUILT/bare_copy.exe" "$TOOLS_BUILT/empty_dialog.exe" "$TOOLS_BUILT/bench_driver.exe" "$BENCH/tools/"
: >"$RAW"
: >"$QUIET_FAILURES"

note() { printf '%s\n' "$*" >&2; }

# Runs a program of the prefix; its key=value output on stdout (CR removed).
win() { wine "$@" 2>/dev/null | tr -d '\r'; }
value() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | head -n 1; }

fail() {
  note "bench: $*"
  if [ -f "$ROOT/$BUILD_DIR/screenshots/bench-failure.bmp" ]; then
    note "screen at the failure: $BUILD_DIR/screenshots/bench-failure.bmp"
  fi
  exit 1
}

# Runs the driver or a loop program; stops the bench when it reports an error.
measure() {
  local output
  output=$(win "$@") || true
  if [ -n "$(value "$output" error)" ] || [ -z "$output" ]; then
    fail "$* failed: ${output:-no output}"
  fi
  printf '%s\n' "$output"
}

record() { printf '%s %s %s %s\n' "$1" "$2" "$3" "$4" >>"$RAW"; }  # run key metric value

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", b - a }'; }

# "files bytes" of a folder tree, to check every copy is whole.
tree_signature() { find "$1" -type f -printf '%s\n' 2>/dev/null | awk '{ n++; s += $1 } END { print n + 0, s + 0 }'; }
# The same of an installed copy, without the install record that setup.exe writes beside its
# setup file (SETUP.REC: not a file of the package).
installed_signature() { find "$1" -type f ! -path "$1/SETUP.REC" -printf '%s\n' 2>/dev/null | awk '{ n++; s += $1 } END { print n + 0, s + 0 }'; }

# A package folder: SETUP.EXE, SETUP.INF naming every data file with a destination that keeps
# its sub folder, the data files, and beside it a list of every file for the bare loops.
write_package() {  # name title folder key -- then data file paths (relative, "/" separated)
  local name=$1 title=$2 folder=$3 key=$4
  shift 4
  local dir="$BENCH/$name" list="$BENCH/$name.list" i=0 file windows
  cp "$SETUP_EXE" "$dir/SETUP.EXE"
  {
    printf '[Install]\r\nTitle=%s\r\nFolder=%s\r\nInstallKey=%s\r\n' "$title" "$folder" "$key"
    for file in "$@"; do
      i=$((i + 1))
      windows=${file//\//\\}
      printf '%d=%s,%s\r\n' "$i" "$windows" "$windows"
    done
  } >"$dir/SETUP.INF"
  {
    printf 'SETUP.EXE\r\nSETUP.INF\r\n'
    for file in "$@"; do printf '%s\r\n' "${file//\//\\}"; done
  } >"$list"
}

# The data files of a package: every *.bin, except in the one-file package (s).
data_glob() { if [ "$1" = s ]; then echo readme.txt; else echo '*.bin'; fi; }

# An NSIS script that installs the data files of a package into the same folders, without
# compression, and an uninstaller that deletes them and then the folders.
write_nsis() {  # name (a, b, c, s or empty)
  local p=$1 src="$BENCH/pkg-$1" script="$BENCH/nsis-$1.nsi" folder file glob
  glob=$(data_glob "$1")
  {
    # Without SetDatablockOptimize off, makensis compares each file with every earlier one of
    # its size, which for 20,000 files of 4 KiB takes longer than the whole benchmark.
    printf 'Unicode true\nTarget %s\nSetCompress off\nSetDatablockOptimize off\nName "Bench NSIS %s"\n' "$NSIS_TARGET" "$p"
    printf 'OutFile "%s"\nInstallDir "%s"\nRequestExecutionLevel user\n' "$BENCH/nsis-$p.exe" "$WBENCH\\out\\nsis-$p"
    printf 'Section\n'
    if [ "$p" != empty ]; then
      while IFS= read -r folder; do
        folder=${folder#"$src"}
        printf '  SetOutPath "$INSTDIR%s"\n  File "%s/%s"\n' "${folder//\//\\}" "$src$folder" "$glob"
      done < <(find "$src" -name "$glob" -printf '%h\n' | sort -u)
      printf '  WriteUninstaller "$INSTDIR\\uninstall.exe"\n'
    fi
    printf 'SectionEnd\nSection "Uninstall"\n'
    if [ "$p" != empty ]; then
      # One wildcard a folder, which NSIS deletes file by file: 20,000 single names would take
      # makensis many minutes to compile.
      while IFS= read -r folder; do
        folder=${folder#"$src"}
        printf '  Delete "$INSTDIR%s\\%s"\n' "${folder//\//\\}" "$glob"
      done < <(find "$src" -name "$glob" -printf '%h\n' | sort -u)
      while IFS= read -r folder; do printf '  RMDir "$INSTDIR\\%s"\n' "${folder//\//\\}"; done \
        < <(cd "$src" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r)
      printf '  Delete "$INSTDIR\\uninstall.exe"\n  RMDir "$INSTDIR"\n'
    fi
    printf 'SectionEnd\n'
  } >"$script"
  makensis -V1 "$script" >"$BENCH/nsis-$p.log" 2>&1 || fail "makensis failed for package ($p): see $BENCH/nsis-$p.log"
}

# A package of many small files: NAME FOLDERS PER_FOLDER FILE_BYTES, then write_package's title,
# folder and key.
make_small_files_package() {
  local name="$1" folders="$2" per_folder="$3" bytes="$4" d file files=()
  shift 4
  mkdir -p "$BENCH/$name"
  for d in $(seq -w 0 $((folders - 1))); do
    mkdir -p "$BENCH/$name/d$d"
    head -c $((per_folder * bytes)) /dev/urandom |
      split -b "$bytes" -a 3 -d --additional-suffix=.bin - "$BENCH/$name/d$d/f"
  done
  while IFS= read -r file; do files+=("${file#"$BENCH/$name/"}"); done \
    < <(find "$BENCH/$name" -type f -name '*.bin' | sort)
  write_package "$name" "$@" "${files[@]}"
}

make_packages() {
  local d files=()
  make_small_files_package pkg-a "$A_FOLDERS" "$A_PER_FOLDER" "$A_FILE_BYTES" "Bench Package A" BenchA TinySetupBenchA

  files=()
  mkdir -p "$BENCH/pkg-b"
  for d in $(seq 0 $((B_FILES - 1))); do
    head -c "$B_FILE_BYTES" /dev/urandom >"$BENCH/pkg-b/big$d.bin"
    files+=("big$d.bin")
  done
  write_package pkg-b "Bench Package B" BenchB TinySetupBenchB "${files[@]}"

  make_small_files_package pkg-c "$C_FOLDERS" "$C_PER_FOLDER" "$C_FILE_BYTES" "Bench Package C" BenchC TinySetupBenchC

  mkdir -p "$BENCH/pkg-d"
  head -c "$D_FILE_BYTES" /dev/urandom >"$BENCH/pkg-d/huge.bin"
  write_package pkg-d "Bench Package D" BenchD TinySetupBenchD huge.bin

  mkdir -p "$BENCH/pkg-s"
  printf 'one small file\r\n' >"$BENCH/pkg-s/readme.txt"
  write_package pkg-s "Bench Start-up" BenchS TinySetupBenchS readme.txt

  local p
  for p in a b c s empty; do write_nsis "$p"; done
}

# "files bytes" of a package's data files (*.bin, or the pattern given) in a folder tree.
data_signature() { find "$1" -type f -name "${2:-*.bin}" -printf '%s\n' 2>/dev/null | awk '{ n++; s += $1 } END { print n + 0, s + 0 }'; }

# Shortcuts the installer made in the program menu; the uninstaller should have removed them.
remove_leftover_shortcuts() {
  find "$WINEPREFIX/drive_c/users" -name 'Bench Package *.lnk' -print -delete 2>/dev/null | sed 's/^/leftover shortcut: /' >&2 || true
}

check_copy() {  # what package folder
  local got want
  got=$(installed_signature "$2")
  want=$(tree_signature "$BENCH/pkg-$3")
  [ "$got" = "$want" ] || fail "$1 left $got (files bytes) in $2, expected $want"
  if [ "$4" = 1 ]; then
    diff -rq -x SETUP.REC "$BENCH/pkg-$3" "$2" >/dev/null || fail "$1: the copy in $2 differs from the package"
  fi
}

# One method, one package, one run: copy, then delete, each from a clean, written-back state.
# Timed without the responsiveness probe (its messages cost the program time); with "probe",
# the run measures the windows' longest blocks instead, and its times are kept apart.
measure_installer() {  # run package full-check [probe]
  local run=$1 p=$2 dest="$OUT/inst-$2" output probe=${4:-} suffix=
  [ -z "$probe" ] || suffix=_probed
  rm -rf "$dest"
  remove_leftover_shortcuts
  sync
  output=$(measure "$BENCH/tools/bench_driver.exe" install "$WBENCH\\pkg-$p\\SETUP.EXE" "$WBENCH\\out\\inst-$p\\" $probe)
  record "$run" "$p" "install_installer$suffix" "$(value "$output" install_seconds)"
  record "$run" "$p" peak_kib "$(value "$output" peak_working_set_kib)"
  [ -z "$probe" ] || record "$run" "$p" longest_block_ms "$(value "$output" longest_block_ms)"
  check_copy "the installer" "$dest" "$p" "$3"
  cp "$SETUP_EXE" "$BENCH/worker/SETUP.EXE"
  sync
  output=$(measure "$BENCH/tools/bench_driver.exe" uninstall "$WBENCH\\worker\\SETUP.EXE" "$WBENCH\\out\\inst-$p\\SETUP.EXE" $probe)
  record "$run" "$p" "uninstall_installer$suffix" "$(value "$output" uninstall_seconds)"
  record "$run" "$p" uninstall_visible300 "$(value "$output" uninstall_from_visible_plus_300ms_seconds)"
  record "$run" "$p" uninstall_boxes "$(value "$output" message_boxes)"
  [ -z "$probe" ] || record "$run" "$p" uninstall_block_ms "$(value "$output" longest_block_ms)"
  [ "$(value "$output" message_boxes)" = 0 ] || note "uninstall ($p) raised: $(value "$output" first_message_box)"
  local left
  left=$(find "$dest" -type f 2>/dev/null | wc -l)
  record "$run" "$p" uninstall_files_left "$left"
  [ "$left" = 0 ] || note "uninstall ($p) left $left files in $dest"
  record "$run" "$p" uninstall_folders_left "$(find "$dest" -type d 2>/dev/null | wc -l)"
  rm -rf "$dest"
  remove_leftover_shortcuts
}

# The longest blocks of the wizard and the uninstall dialog, in runs of their own.
measure_blocks() { measure_installer "$1" "$2" 0 probe; }

# Next on the folder page of the largest package: the free-space sum over all its entries.
measure_foldernext() {  # run package
  local output
  output=$(measure "$BENCH/tools/bench_driver.exe" foldernext "$WBENCH\\pkg-$2\\SETUP.EXE" "$WBENCH\\out\\next-$2\\")
  record "$1" "$2" folder_next_s "$(value "$output" folder_next_seconds)"
  record "$1" "$2" folder_next_block_ms "$(value "$output" longest_block_ms)"
  rm -rf "$OUT/next-$2"
}

measure_bare() {
  local run=$1 p=$2 dest="$OUT/bare-$2" output
  rm -rf "$dest"
  sync
  output=$(measure "$BENCH/tools/bare_copy.exe" copy "$WBENCH\\pkg-$p" "$WBENCH\\out\\bare-$p" "$WBENCH\\pkg-$p.list")
  [ "$(value "$output" failures)" = 0 ] || fail "bare copy: $output"
  record "$run" "$p" install_bare "$(value "$output" seconds)"
  check_copy "the CopyFileA loop" "$dest" "$p" "$3"
  sync
  output=$(measure "$BENCH/tools/bare_copy.exe" delete "$WBENCH\\out\\bare-$p" "$WBENCH\\pkg-$p.list")
  [ "$(value "$output" failures)" = 0 ] || fail "bare delete: $output"
  record "$run" "$p" uninstall_bare "$(value "$output" seconds)"
  rm -rf "$dest"
}

# The NSIS installer of the package, silent, into its own folder; then its uninstaller, silent
# and in place ("_?=": without it the uninstaller first copies itself to the temp folder and
# the process that was started ends at once). Times are from process creation to its end.
# Run in place, the uninstaller cannot delete itself: uninstall.exe and the folder stay, and are
# deleted here after the timing. setup.exe's removal deletes its folder itself, its worker copy
# running from the system folder.
measure_nsis() {  # run package full-check
  local run=$1 p=$2 dest="$OUT/nsis-$2" output got want glob
  glob=$(data_glob "$p")
  rm -rf "$dest"
  sync
  output=$(measure "$BENCH/tools/bench_driver.exe" run "$WBENCH\\nsis-$p.exe" /S "/D=$WBENCH\\out\\nsis-$p")
  record "$run" "$p" install_nsis "$(value "$output" run_seconds)"
  got=$(data_signature "$dest" "$glob")
  want=$(data_signature "$BENCH/pkg-$p" "$glob")
  [ "$got" = "$want" ] || fail "the NSIS installer left $got (files bytes) in $dest, expected $want"
  if [ "$3" = 1 ]; then
    (cd "$BENCH/pkg-$p" && find . -name "$glob" -exec cmp -s {} "$dest/{}" \; -o -name "$glob" -print) | grep -q . &&
      fail "the NSIS installer's copy in $dest differs from the package"
  fi
  sync
  output=$(measure "$BENCH/tools/bench_driver.exe" run "$WBENCH\\out\\nsis-$p\\uninstall.exe" /S "_?=$WBENCH\\out\\nsis-$p")
  record "$run" "$p" uninstall_nsis "$(value "$output" run_seconds)"
  [ "$(data_signature "$dest" "$glob")" = "0 0" ] || note "the NSIS uninstaller ($p) left $(data_signature "$dest" "$glob") (files bytes)"
  rm -rf "$dest"
}

# The last lines of a log, whether the program wrote it in UTF-16 or in an 8-bit code page.
log_tail() {
  if [ ! -s "$1" ]; then
    printf '(no log written)\n'
  elif [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$1" 2>/dev/null | tr -d '\r' | tail -n 8
  else
    tr -d '\r' <"$1" | tail -n 8
  fi
}

# A failed unattended run of setup.exe: no time is recorded, the reason and the log's last lines
# are kept for the table.
quiet_failed() {  # run package install|uninstall reason [log]
  record "$1" "$2" "quiet_$3_failed" "${5:-none}"
  {
    printf 'run %s, package (%s), setup.exe unattended %s: %s\n' "$1" "$2" "$3" "$4"
    [ -z "${6:-}" ] || log_tail "$6" | sed 's/^/    log: /'
  } | tee -a "$QUIET_FAILURES" | sed 's/^/bench: /' >&2
}

# Why the driver's run of setup.exe did not end well: its exit code, or what the driver saw (a
# window, no end in time). Empty when the program ended with 0.
quiet_reason() {  # driver output
  local code
  code=$(value "$1" exit_code)
  if [ "$code" = 0 ]; then
    return 0
  elif [ -n "$code" ]; then
    printf 'exit code %s' "$code"
  else
    printf '%s' "$(value "$1" error)"
    [ -n "$(value "$1" error)" ] || printf 'no output from the driver'
    if [ -f "$ROOT/$BUILD_DIR/screenshots/bench-failure.bmp" ]; then
      mv "$ROOT/$BUILD_DIR/screenshots/bench-failure.bmp" "$ROOT/$BUILD_DIR/screenshots/bench-unattended-failure.bmp"
      printf ' (screen: %s)' "$BUILD_DIR/screenshots/bench-unattended-failure.bmp"
    fi
  fi
}

# setup.exe without a window: /quiet into its own folder, without program-menu shortcuts (the
# NSIS installer makes none), then "/r /quiet" from the installed copy, which starts its worker
# copy and waits for the removal. Both are timed by the driver from process creation to the
# end of the process it started, as the NSIS installer and uninstaller are. A run ending with
# another exit code than 0, showing a window or not ending in time is recorded as failed.
measure_quiet() {  # run package full-check
  local run=$1 p=$2 dest="$OUT/quiet-$2" wdest="$WBENCH\\out\\quiet-$2" log="$OUT/quiet-$2.log"
  local output reason got want left
  rm -rf "$dest" "$log"
  remove_leftover_shortcuts
  sync
  output=$(win "$BENCH/tools/bench_driver.exe" run "$WBENCH\\pkg-$p\\SETUP.EXE" /quiet "/dir=\"$wdest\"" \
    "/log=$WBENCH\\out\\quiet-$p.log" /nomenu) || true
  reason=$(quiet_reason "$output")
  if [ -z "$reason" ]; then
    got=$(installed_signature "$dest")
    want=$(tree_signature "$BENCH/pkg-$p")
    if [ "$got" != "$want" ]; then
      reason="exit code 0, but $got (files bytes) in $dest, expected $want"
    elif [ "$3" = 1 ] && ! diff -rq -x SETUP.REC "$BENCH/pkg-$p" "$dest" >/dev/null; then
      reason="exit code 0, but the copy in $dest differs from the package"
    fi
  fi
  if [ -n "$reason" ]; then
    quiet_failed "$run" "$p" install "$reason" "$(value "$output" exit_code)" "$log"
    rm -rf "$dest"
    remove_leftover_shortcuts
    return 0
  fi
  record "$run" "$p" quiet_install "$(value "$output" run_seconds)"
  sync
  output=$(win "$BENCH/tools/bench_driver.exe" run "$wdest\\SETUP.EXE" /r /quiet) || true
  reason=$(quiet_reason "$output")
  if [ -n "$reason" ]; then
    quiet_failed "$run" "$p" uninstall "$reason" "$(value "$output" exit_code)"
  else
    record "$run" "$p" quiet_uninstall "$(value "$output" run_seconds)"
  fi
  left=$(find "$dest" -type f 2>/dev/null | wc -l)
  record "$run" "$p" quiet_files_left "$left"
  record "$run" "$p" quiet_folders_left "$(find "$dest" -type d 2>/dev/null | wc -l)"
  [ "$left" = 0 ] || note "setup.exe /r /quiet ($p) left $left files in $dest"
  rm -rf "$dest"
  remove_leftover_shortcuts
}

# An NSIS installer without files: what starting and ending its process costs by itself.
measure_nsis_empty() {
  local output
  rm -rf "$OUT/nsis-empty"
  output=$(measure "$BENCH/tools/bench_driver.exe" run "$WBENCH\\nsis-empty.exe" /S "/D=$WBENCH\\out\\nsis-empty")
  record "$1" empty nsis_run "$(value "$output" run_seconds)"
  rm -rf "$OUT/nsis-empty"
}

measure_cp() {
  local run=$1 p=$2 dest="$OUT/cp-$2" t0 t1
  rm -rf "$dest"
  sync
  t0=$(now); cp -r "$BENCH/pkg-$p" "$dest"; t1=$(now)
  record "$run" "$p" install_cp "$(elapsed "$t0" "$t1")"
  check_copy "cp -r" "$dest" "$p" "$3"
  sync
  t0=$(now); rm -rf "$dest"; t1=$(now)
  record "$run" "$p" uninstall_cp "$(elapsed "$t0" "$t1")"
}

measure_startup() {  # run which
  local output
  case "$2" in
    empty) output=$(measure "$BENCH/tools/bench_driver.exe" startup "$WBENCH\\tools\\empty_dialog.exe") ;;
    setup-s) output=$(measure "$BENCH/tools/bench_driver.exe" startup "$WBENCH\\pkg-s\\SETUP.EXE" /go) ;;
    setup-a) output=$(measure "$BENCH/tools/bench_driver.exe" startup "$WBENCH\\pkg-a\\SETUP.EXE" /go) ;;
    setup-c) output=$(measure "$BENCH/tools/bench_driver.exe" startup "$WBENCH\\pkg-c\\SETUP.EXE" /go) ;;
  esac
  [ "$1" = 0 ] && return 0  # the warm-up run is not counted
  record "$1" "$2" startup "$(value "$output" startup_seconds)"
  record "$1" "$2" startup_peak_kib "$(value "$output" peak_working_set_kib)"
}

# ---------------------------------------------------------------------------------------------
START_TIME=$(date +%s)
note "generating packages: (a) $A_FILES x $((A_FILE_BYTES / 1024)) KiB, (b) $B_FILES x $((B_FILE_BYTES / 1048576)) MiB, (c) $C_FILES x $((C_FILE_BYTES / 1024)) KiB, (d) 1 x $((D_FILE_BYTES / 1048576)) MiB; NSIS installers of (a) to (c) and of (s), a 1-file package"
make_packages
sync

for run in $(seq 1 "$RUNS"); do
  for p in a b c; do
    # setup.exe's unattended runs; their NSIS peer is measure_nsis's.
    methods=(installer bare cp nsis quiet)
    # Interleaved: each run starts with another method, so drift hits all of them alike.
    for k in $(seq 0 $((${#methods[@]} - 1))); do
      method=${methods[$(((k + run - 1) % ${#methods[@]}))]}
      note "run $run/$RUNS package ($p): $method"
      "measure_$method" "$run" "$p" "$([ "$run" = 1 ] && echo 1 || echo 0)"
    done
  done
  # The one-file package, unattended both ways: what each program's start, checks and end cost.
  for method in $([ $((run % 2)) = 1 ] && echo quiet nsis || echo nsis quiet); do
    note "run $run/$RUNS package (s): $method"
    "measure_$method" "$run" s "$([ "$run" = 1 ] && echo 1 || echo 0)"
  done
  # What the installer's one-key-at-a-time reads of its file entries cost by themselves.
  output=$(measure "$BENCH/tools/bare_copy.exe" entries "$WBENCH\\pkg-a\\SETUP.INF" "$A_FILES")
  [ "$(value "$output" failures)" = 0 ] || fail "reading the entries: $output"
  record "$run" a entries_read "$(value "$output" seconds)"
  measure_nsis_empty "$run"
  # The windows' longest blocks, the huge file's only for them.
  for p in a b c d; do
    note "run $run/$RUNS package ($p): longest blocks"
    measure_blocks "$run" "$p"
  done
  note "run $run/$RUNS package (c): Next on the folder page"
  measure_foldernext "$run" c
done

STARTUPS=(empty setup-s setup-a setup-c)
for which in "${STARTUPS[@]}"; do measure_startup 0 "$which"; done
for run in $(seq 1 "$STARTUP_RUNS"); do
  for k in 0 1 2 3; do measure_startup "$run" "${STARTUPS[$(((k + run - 1) % 4))]}"; done
done

[ "$KEEP" = 1 ] || rm -rf "$BENCH"

# ---------------------------------------------------------------------------------------------
# The table: medians of the runs.
median() {  # key metric
  awk -v k="$1" -v m="$2" '$2 == k && $3 == m { print $4 }' "$RAW" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
spread() {  # key metric -> "min-max" over the runs
  awk -v k="$1" -v m="$2" '$2 == k && $3 == m { if (n == 0 || $4 < lo) lo = $4; if (n == 0 || $4 > hi) hi = $4; n++ }
    END { if (n) printf "%.3f-%.3f", lo, hi; else printf "nan" }' "$RAW"
}
maximum() { awk -v k="$1" -v m="$2" '$2 == k && $3 == m && (n == 0 || $4 > x) { x = $4; n = 1 } END { print n ? x : "nan" }' "$RAW"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
verdict() { awk -v r="$1" -v g="$2" 'BEGIN { if (r == "n/a") print "n/a"; else print (r <= g ? "met" : "missed") }'; }

minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a - b }'; }
faster() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? "faster" : "slower") }'; }

SIZE=$(stat -c %s "$SETUP_EXE")
NSIS_STUB_SIZE=$(stat -c %s "$NSIS_STUB")
IMPORTS=$(x86_64-w64-mingw32-objdump -p "$SETUP_EXE" | awk '/DLL Name/ { print $3 }' | paste -sd ' ' -)
CPU=$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')
WINE_VERSION=$(wine --version 2>/dev/null)
LABEL_A="(a) $A_FILES x $((A_FILE_BYTES / 1024)) KiB"
LABEL_B="(b) $B_FILES x $((B_FILE_BYTES / 1048576)) MiB"
LABEL_C="(c) $C_FILES x $((C_FILE_BYTES / 1024)) KiB"
LABEL_D="(d) 1 x $((D_FILE_BYTES / 1048576)) MiB"
LABEL_S="(s) 1 file, 16 bytes"
label() { case "$1" in a) echo "$LABEL_A" ;; b) echo "$LABEL_B" ;; c) echo "$LABEL_C" ;; d) echo "$LABEL_D" ;; s) echo "$LABEL_S" ;; esac; }

# setup.exe's unattended figures: the median of the runs' seconds, "failed" when any run failed,
# "not run" when no run got that far (the removal after a failed install).
quiet_failure() {  # package install|uninstall -> the first failed run's exit code ("none": no exit)
  awk -v k="$1" -v m="quiet_$2_failed" '$2 == k && $3 == m { print $4; exit }' "$RAW"
}
quiet_seconds() {  # package install|uninstall
  if [ -n "$(quiet_failure "$1" "$2")" ]; then echo failed
  elif [ "$(median "$1" "quiet_$2")" = nan ]; then echo 'not run'
  else printf '%.3f' "$(median "$1" "quiet_$2")"; fi
}
ms() { case "$1" in failed|nan) echo "$1" ;; 'not run') echo not_run ;; *) awk -v s="$1" 'BEGIN { printf "%.0f", s * 1000 }' ;; esac; }
seconds_or() { case "$1" in 'not run') echo not_run ;; *) echo "$1" ;; esac; }
ratio_of() { case "$1" in failed|'not run'|nan) echo - ;; *) ratio "$1" "$2" ;; esac; }

# The NSIS figures count the whole process; its start and end alone (an installer without
# files) are taken off, so that both programs are timed on their work.
NSIS_EMPTY=$(median empty nsis_run)
nsis_net() { minus "$(median "$1" "$2")" "$NSIS_EMPTY"; }
# The copy page's fixed 300 ms start; the removal's figure starts after its own timer.
no_timer() { minus "$(median "$1" install_installer)" 0.3; }
LONGEST_BLOCK=$( (for p in a b c d; do maximum "$p" longest_block_ms; maximum "$p" uninstall_block_ms; done
  maximum c folder_next_block_ms) | grep -v nan | sort -g | tail -n 1)
no_timer_ratio() { ratio "$(no_timer "$1")" "$(median "$1" install_bare)"; }

{
  printf '%s benchmark (%s-bit edition), %s, %s run(s), medians%s\n' "$SETUP_EXE_NAME" "$SETUP_EDITION" "$(date -u '+%Y-%m-%d %H:%M UTC')" "$RUNS" \
    "$([ "$QUICK" = 1 ] && echo ' (--quick: small packages)')"
  printf 'machine: %s cores, %s; %s; bench time %d s\n\n' "$(nproc)" "$CPU" "$WINE_VERSION" $(($(date +%s) - START_TIME))

  printf 'Install: Next on the program-menu page -> Finish enabled (s); NSIS: silent install, its bare start and end taken off\n'
  printf '  %-22s %10s %15s %9s %9s %8s %14s %7s %s\n' package setup.exe 'CopyFileA loop' 'cp -r' NSIS '/ loop' '/ loop, -300ms' goal ''
  for p in a b c; do
    case "$p" in a) goal=1.25 ;; b) goal=1.05 ;; c) goal=1.30 ;; esac
    i=$(median "$p" install_installer); l=$(median "$p" install_bare); c=$(median "$p" install_cp)
    r=$(ratio "$i" "$l"); rt=$(ratio "$(no_timer "$p")" "$l")
    judged=$r; [ "$p" = b ] && judged=$rt
    printf '  %-22s %10.3f %15.3f %9.3f %9.3f %8s %14s %7s %s\n' "$(label "$p")" "$i" "$l" "$c" "$(nsis_net "$p" install_nsis)" "$r" "$rt" "<=$goal" "$(verdict "$judged" "$goal")"
  done
  printf '  (the goal for (b) is judged without the copy page'"'"'s fixed 300 ms start timer; NSIS'"'"'s own start and end: %.3f s)\n' "$NSIS_EMPTY"
  printf '  (reading the %s entries of (a)'"'"'s SETUP.INF one key at a time with GetPrivateProfileStringA,\n' "$A_FILES"
  printf '   as the program did before it read the section once: %.3f s a pass)\n' "$(median a entries_read)"
  printf '\nUninstall: the dialog visible + its 300 ms timer -> Finish enabled (s); NSIS: silent uninstall in place\n'
  printf '  %-22s %10s %15s %9s %9s %8s %7s %s\n' package setup.exe 'DeleteFileA loop' 'rm -rf' NSIS '/ loop' goal ''
  for p in a b c; do
    case "$p" in a) goal=1.30 ;; b) goal=1.05 ;; c) goal=1.30 ;; esac
    i=$(median "$p" uninstall_installer); l=$(median "$p" uninstall_bare); c=$(median "$p" uninstall_cp)
    r=$(ratio "$i" "$l")
    printf '  %-22s %10.3f %15.3f %9.3f %9.3f %8s %7s %s\n' "$(label "$p")" "$i" "$l" "$c" "$(nsis_net "$p" uninstall_nsis)" "$r" "<=$goal" "$(verdict "$r" "$goal")"
  done
  printf '  (message boxes during the removal: %s %s %s;\n' \
    "$(maximum a uninstall_boxes)" "$(maximum b uninstall_boxes)" "$(maximum c uninstall_boxes)"
  printf '   files and folders left behind: (a) %s and %s, (b) %s and %s, (c) %s and %s)\n' \
    "$(maximum a uninstall_files_left)" "$(maximum a uninstall_folders_left)" "$(maximum b uninstall_files_left)" "$(maximum b uninstall_folders_left)" \
    "$(maximum c uninstall_files_left)" "$(maximum c uninstall_folders_left)"
  printf '  NSIS against setup.exe: install (a) %s, (b) %s; uninstall (a) %s, (b) %s\n' \
    "$(faster "$(median a install_installer)" "$(nsis_net a install_nsis)")" "$(faster "$(median b install_installer)" "$(nsis_net b install_nsis)")" \
    "$(faster "$(median a uninstall_installer)" "$(nsis_net a uninstall_nsis)")" "$(faster "$(median b uninstall_installer)" "$(nsis_net b uninstall_nsis)")"

  printf '\nUnattended: process created -> process ended (s), nothing taken off; setup.exe /quiet /nomenu, then\n'
  printf '"/r /quiet" (waits for its worker copy); NSIS: the installer with /S, the uninstaller with /S _?= (in place)\n'
  printf '  %-22s %10s %9s %8s %10s %9s %8s\n' package 'install' NSIS '/ NSIS' 'removal' NSIS '/ NSIS'
  for p in a b c s; do
    qi=$(quiet_seconds "$p" install); qu=$(quiet_seconds "$p" uninstall)
    ni=$(median "$p" install_nsis); nu=$(median "$p" uninstall_nsis)
    printf '  %-22s %10s %9.3f %8s %10s %9.3f %8s\n' "$(label "$p")" "$qi" "$ni" "$(ratio_of "$qi" "$ni")" "$qu" "$nu" "$(ratio_of "$qu" "$nu")"
  done
  printf '  (files and folders left by "/r /quiet": (a) %s and %s, (b) %s and %s, (c) %s and %s, (s) %s and %s; NSIS'"'"'s uninstaller\n' \
    "$(maximum a quiet_files_left)" "$(maximum a quiet_folders_left)" "$(maximum b quiet_files_left)" "$(maximum b quiet_folders_left)" \
    "$(maximum c quiet_files_left)" "$(maximum c quiet_folders_left)" \
    "$(maximum s quiet_files_left)" "$(maximum s quiet_folders_left)"
  printf '   run in place leaves itself and its folder, deleted after the timing)\n'
  if [ -s "$QUIET_FAILURES" ]; then
    printf '  failed runs (whole list: %s):\n' "$BUILD_DIR/$(basename "$QUIET_FAILURES")"
    head -n 30 "$QUIET_FAILURES" | sed 's/^/    /'
  fi

  printf '\nStart-up: process start -> first window visible (s), %s runs\n' "$STARTUP_RUNS"
  e=$(median empty startup)
  printf '  %-36s %8.3f\n' 'empty dialog (yardstick)' "$e"
  s1=$(median setup-s startup)
  printf '  %-36s %8.3f   x%s\n' 'setup.exe wizard, 1-entry package' "$s1" "$(ratio "$s1" "$e")"
  s=$(median setup-a startup)
  printf '  %-36s %8.3f   x%s   (%s of the 1-entry start-up, goal <= 1.5: %s)\n' "setup.exe wizard, $A_FILES-entry package" "$s" "$(ratio "$s" "$e")" \
    "$(ratio "$s" "$s1")" "$(verdict "$(ratio "$s" "$s1")" 1.5)"
  s=$(median setup-c startup)
  printf '  %-36s %8.3f   x%s   (%s of the 1-entry start-up)\n' "setup.exe wizard, $C_FILES-entry package" "$s" "$(ratio "$s" "$e")" "$(ratio "$s" "$s1")"

  printf '\nSize: %s %d bytes (%.1f KiB); the NSIS %s stub: %d bytes\n' "$BUILD_DIR/$SETUP_EXE_NAME" "$SIZE" \
    "$(awk -v s="$SIZE" 'BEGIN { print s / 1024 }')" "$NSIS_TARGET" "$NSIS_STUB_SIZE"
  printf 'Imports: %s\n' "$IMPORTS"

  printf '\nMemory: peak working set of setup.exe during install (b): %.1f MiB (max %.1f)\n' \
    "$(awk -v k="$(median b peak_kib)" 'BEGIN { print k / 1024 }')" "$(awk -v k="$(maximum b peak_kib)" 'BEGIN { print k / 1024 }')"
  printf '  at start-up for comparison: empty dialog %.1f MiB, setup.exe %.1f MiB\n' \
    "$(awk -v k="$(median empty startup_peak_kib)" 'BEGIN { print k / 1024 }')" \
    "$(awk -v k="$(median setup-s startup_peak_kib)" 'BEGIN { print k / 1024 }')"
  printf 'Responsiveness, in runs of their own: longest wait of a WM_NULL sent to the wizard every 10 ms during\n'
  printf 'the install, and to the uninstall dialog every 2 ms during the removal (median, max over the runs; ms)\n'
  for p in a b c d; do
    printf '  %-22s install %4.0f, %4.0f   uninstall %4.0f, %4.0f\n' "$(label "$p")" \
      "$(median "$p" longest_block_ms)" "$(maximum "$p" longest_block_ms)" "$(median "$p" uninstall_block_ms)" "$(maximum "$p" uninstall_block_ms)"
  done
  printf '  Next on the folder page of (c), probed every 2 ms: longest %.0f ms (median %.0f), the page took %.3f s\n' \
    "$(maximum c folder_next_block_ms)" "$(median c folder_next_block_ms)" "$(median c folder_next_s)"
  printf '  longest of all: %.0f ms, goal <= 200: %s\n' "$LONGEST_BLOCK" "$(verdict "$LONGEST_BLOCK" 200)"
  printf '  what the probe costs the program: install (a) %.3f s probed against %.3f s not, (c) %.3f against %.3f;\n' \
    "$(median a install_installer_probed)" "$(median a install_installer)" "$(median c install_installer_probed)" "$(median c install_installer)"
  printf '  uninstall (a) %.3f against %.3f, (c) %.3f against %.3f\n' \
    "$(median a uninstall_installer_probed)" "$(median a uninstall_installer)" "$(median c uninstall_installer_probed)" "$(median c uninstall_installer)"
  printf '\nSpread over the runs (min-max, s):\n'
  for p in a b c; do
    printf '  install (%s): setup.exe %s, loop %s, cp %s, NSIS %s; uninstall: setup.exe %s, loop %s, rm %s, NSIS %s\n' "$p" \
      "$(spread "$p" install_installer)" "$(spread "$p" install_bare)" "$(spread "$p" install_cp)" "$(spread "$p" install_nsis)" \
      "$(spread "$p" uninstall_installer)" "$(spread "$p" uninstall_bare)" "$(spread "$p" uninstall_cp)" "$(spread "$p" uninstall_nsis)"
  done
  for p in a b c s; do
    printf '  unattended (%s): setup.exe install %s, removal %s; NSIS install %s, uninstall %s\n' "$p" \
      "$(spread "$p" quiet_install)" "$(spread "$p" quiet_uninstall)" "$(spread "$p" install_nsis)" "$(spread "$p" uninstall_nsis)"
  done
  printf '  start-up: empty dialog %s, setup.exe %s, %s and %s\n' "$(spread empty startup)" "$(spread setup-s startup)" \
    "$(spread setup-a startup)" "$(spread setup-c startup)"
  printf '\nRaw figures: %s; summary: %s\n' "$BUILD_DIR/bench-raw.txt" "$BUILD_DIR/bench-summary.txt"
} | tee "$TABLE"

# The summary for tools: seconds as decimals, ratios to two places.
{
  printf 'date=%s\n' "$(date -u '+%Y-%m-%dT%H:%MZ')"
  printf 'edition=%s\n' "$SETUP_EDITION"
  printf 'program=%s\n' "$SETUP_EXE_NAME"
  printf 'quick=%s\n' "$QUICK"
  printf 'runs=%s\n' "$RUNS"
  printf 'wine=%s\n' "$WINE_VERSION"
  printf 'cpu=%s\n' "$CPU"
  printf 'cores=%s\n' "$(nproc)"
  printf 'install_a_ratio=%s\n' "$(ratio "$(median a install_installer)" "$(median a install_bare)")"
  printf 'install_a_ratio_no_timer=%s\n' "$(no_timer_ratio a)"
  printf 'install_b_ratio=%s\n' "$(ratio "$(no_timer b)" "$(median b install_bare)")"
  printf 'install_b_ratio_with_timer=%s\n' "$(ratio "$(median b install_installer)" "$(median b install_bare)")"
  printf 'install_20k_ratio=%s\n' "$(ratio "$(median c install_installer)" "$(median c install_bare)")"
  printf 'install_20k_ratio_no_timer=%s\n' "$(no_timer_ratio c)"
  printf 'uninstall_a_ratio=%s\n' "$(ratio "$(median a uninstall_installer)" "$(median a uninstall_bare)")"
  printf 'uninstall_b_ratio=%s\n' "$(ratio "$(median b uninstall_installer)" "$(median b uninstall_bare)")"
  printf 'uninstall_20k_ratio=%s\n' "$(ratio "$(median c uninstall_installer)" "$(median c uninstall_bare)")"
  printf 'startup_1_s=%s\n' "$(median setup-s startup)"
  printf 'startup_2000_s=%s\n' "$(median setup-a startup)"
  printf 'startup_20000_s=%s\n' "$(median setup-c startup)"
  printf 'startup_empty_dialog_s=%s\n' "$(median empty startup)"
  printf 'startup_20000_ratio=%s\n' "$(ratio "$(median setup-c startup)" "$(median setup-s startup)")"
  printf 'longest_block_ms=%s\n' "$LONGEST_BLOCK"
  printf 'longest_block_folder_next_c_ms=%s\n' "$(maximum c folder_next_block_ms)"
  printf 'folder_next_c_s=%s\n' "$(median c folder_next_s)"
  for p in a b c d; do
    printf 'longest_block_install_%s_ms=%s\n' "$p" "$(maximum "$p" longest_block_ms)"
    printf 'longest_block_uninstall_%s_ms=%s\n' "$p" "$(maximum "$p" uninstall_block_ms)"
  done
  for p in a b c; do
    printf 'setup_install_%s_s=%s\n' "$p" "$(median "$p" install_installer)"
    printf 'setup_uninstall_%s_s=%s\n' "$p" "$(median "$p" uninstall_installer)"
    printf 'bare_install_%s_s=%s\n' "$p" "$(median "$p" install_bare)"
    printf 'bare_uninstall_%s_s=%s\n' "$p" "$(median "$p" uninstall_bare)"
    printf 'nsis_install_%s_s=%s\n' "$p" "$(nsis_net "$p" install_nsis)"
    printf 'nsis_uninstall_%s_s=%s\n' "$p" "$(nsis_net "$p" uninstall_nsis)"
    printf 'nsis_install_%s_process_s=%s\n' "$p" "$(median "$p" install_nsis)"
    printf 'nsis_uninstall_%s_process_s=%s\n' "$p" "$(median "$p" uninstall_nsis)"
  done
  # Unattended, whole process against whole process (ms); "failed" and the exit code ("none":
  # the driver stopped it on a window or its deadline) when a run of setup.exe failed.
  for p in a b c s; do
    printf 'quiet_install_%s_s=%s\n' "$p" "$(seconds_or "$(quiet_seconds "$p" install)")"
    printf 'quiet_uninstall_%s_s=%s\n' "$p" "$(seconds_or "$(quiet_seconds "$p" uninstall)")"
    printf 'quiet_install_%s_ms=%s\n' "$p" "$(ms "$(quiet_seconds "$p" install)")"
    printf 'quiet_uninstall_%s_ms=%s\n' "$p" "$(ms "$(quiet_seconds "$p" uninstall)")"
    printf 'nsis_silent_install_%s_ms=%s\n' "$p" "$(ms "$(median "$p" install_nsis)")"
    printf 'nsis_silent_uninstall_%s_ms=%s\n' "$p" "$(ms "$(median "$p" uninstall_nsis)")"
    for what in install uninstall; do
      [ -z "$(quiet_failure "$p" "$what")" ] || printf 'quiet_%s_%s_exit_code=%s\n' "$what" "$p" "$(quiet_failure "$p" "$what")"
    done
  done
  printf 'nsis_empty_run_s=%s\n' "$NSIS_EMPTY"
  printf 'setup_exe_bytes=%s\n' "$SIZE"
  printf 'nsis_stub_bytes=%s\n' "$NSIS_STUB_SIZE"
  printf 'nsis_target=%s\n' "$NSIS_TARGET"
} >"$ROOT/$BUILD_DIR/bench-summary.txt"
