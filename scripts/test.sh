#!/usr/bin/env bash
# The test command: set-up, the three builds, then three suites: linux
# (sanitizers on), wine64 (the win64 build under Wine) and wine32 (the win32
# deliverable, as it ships, under Wine), and one summary line per suite.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-$(nproc)}

stage() { printf '\n== %s\n' "$*"; }
elapsed() { printf '%ds' $(( $(date +%s) - $1 )); }

t0=$(date +%s)
stage "set-up"
bash scripts/setup.sh || { echo "set-up failed"; exit 1; }
echo "set-up: $(elapsed "$t0")"

# Every clone builds from nothing; ccache makes that cheap when the paths it
# hashes are relative to the clone (CI clones into a new folder each time).
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1

mkdir -p build
for preset in linux win64 win32; do
  t=$(date +%s)
  stage "build $preset"
  cmake --preset "$preset" >/dev/null || { echo "configure $preset failed"; exit 1; }
  cmake --build --preset "$preset" -j "$jobs" >"build/$preset.build.log" 2>&1 \
    || { tail -n 60 "build/$preset.build.log"; echo "build $preset failed"; exit 1; }
  echo "build $preset: $(elapsed "$t")"
done

# Counts the cases of one suite from GoogleTest's XML reports.
summarise() {
  local name=$1 dir=$2 passed=0 failed=0 skipped=0 f tests failures errors disabled skip
  for f in "$dir"/*.xml; do
    [ -f "$f" ] || continue
    read -r tests failures errors disabled skip < <(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \4 \3 0/p' "$f" | head -n 1)
    skip=$(grep -c '<skipped' "$f" || true)
    passed=$(( passed + tests - failures - errors - disabled - skip ))
    failed=$(( failed + failures + errors ))
    skipped=$(( skipped + skip ))
  done
  echo "$name: $passed passed, $failed failed, $skipped skipped"
}

status=0
summaries=()

t=$(date +%s)
stage "linux suite"
rm -rf build/linux/test-results
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset linux -j "$jobs" || status=1
echo "linux suite: $(elapsed "$t")"
summaries+=("$(summarise linux build/linux/test-results)")

# One WoW64 prefix for both Wine suites: Wine's 64-bit loader runs the win64
# programs and hands the win32 ones to its 32-bit side.
t=$(date +%s)
stage "wine prefix"
export WINEPREFIX=$root/build/wineprefix
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
fi
# A persistent server keeps each Wine process start short. It must not hold
# our output open, or whatever waits for the end of that output would hang.
"$wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
# The first Wine process of a server session starts the prefix's services
# (services.exe, winedevice.exe ...), which inherit its output and live as
# long as the server. Start them here, away from ctest's pipes, or ctest
# waits for the end of a test's output that never comes.
"$wine" wineboot </dev/null >/dev/null 2>&1
echo "wine prefix: $(elapsed "$t")"

t=$(date +%s)
stage "wine64 suite"
rm -rf build/win64/test-results
ctest --preset win64 -j "$jobs" || status=1
echo "wine64 suite: $(elapsed "$t")"
summaries+=("$(summarise wine64 build/win64/test-results)")

# A kernel without 32-bit support cannot run the deliverable's programs at
# all: probe it once with Wine's own 32-bit loader (a tiny i386 program) and
# say so loudly rather than fail. Where it runs, the suite must pass.
t=$(date +%s)
stage "wine32 suite"
if /usr/lib/wine/wine --version </dev/null >/dev/null 2>&1; then
  rm -rf build/win32/test-results
  ctest --preset win32 -j "$jobs" || status=1
  summaries+=("$(summarise wine32 build/win32/test-results)")
else
  echo "!!"
  echo "!! wine32 NOT RUN: this kernel refuses 32-bit code (Wine's 32-bit loader"
  echo "!! does not start), so the deliverable's test programs cannot run here."
  echo "!!"
  summaries+=("wine32: not run (this machine runs no 32-bit code)")
fi
echo "wine32 suite: $(elapsed "$t")"

# The platform layer against Wine on generated inputs: any difference not
# listed as a known deviation fails.
t=$(date +%s)
stage "differential"
differential=$(bash scripts/differential.sh) || status=1
echo "differential: $(elapsed "$t")"
"$wineserver" -k >/dev/null 2>&1 || true

stage "summary ($(elapsed "$t0") in all)"
# The suites' lines come last, one a suite.
printf '%s\n' "$differential"
printf '%s\n' "${summaries[@]}"
case "${summaries[*]}" in
  *" 0 passed"*) echo "a suite ran no test"; status=1 ;;
esac
exit $status
