#!/usr/bin/env bash
# The test command: set-up, the three builds, the Linux suite (sanitizers on)
# and the Wine suite, then one summary line per suite.
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

t=$(date +%s)
stage "linux suite"
rm -rf build/linux/test-results
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset linux -j "$jobs" || status=1
echo "linux suite: $(elapsed "$t")"
linux_summary=$(summarise linux build/linux/test-results)

t=$(date +%s)
stage "wine suite"
export WINEPREFIX=$root/build/win64/wineprefix
export WINEDEBUG=-all
wineserver=/usr/lib/wine/wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
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
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
rm -rf build/win64/test-results
ctest --preset win64 -j "$jobs" || status=1
"$wineserver" -k >/dev/null 2>&1 || true
echo "wine suite: $(elapsed "$t")"
wine_summary=$(summarise wine build/win64/test-results)

stage "win32 deliverable"
win32_built=$(find build/win32 -name '*.exe' -o -name '*.dll' | wc -l)
echo "win32: $win32_built binaries built (not run: this machine runs no 32-bit code)"

stage "summary ($(elapsed "$t0") in all)"
echo "$linux_summary"
echo "$wine_summary"
case "$linux_summary $wine_summary" in
  *" 0 passed"*) echo "a suite ran no test"; status=1 ;;
esac
exit $status
