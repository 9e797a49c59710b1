#!/usr/bin/env bash
# The differential conformance mode: runs the differential program's Linux
# build (over our platform layer) and its Windows builds under Wine (the
# real DLLs), compares their outputs line by line, and reports the
# differences grouped by function. A difference listed in
# tests/platform/differential/known_deviations.tsv is a known deviation;
# any other fails the run. Prints one summary line per build pair on
# standard output, the details on standard error.
#
# Expects what scripts/test.sh prepares: both builds, the Wine prefix and a
# running wineserver. A win32 build is compared only where this machine
# runs 32-bit code.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=build/differential
deviations=tests/platform/differential/known_deviations.tsv
mkdir -p "$out"
status=0

if ! build/linux/tests/platform/platform_differential >"$out/linux.txt" 2>"$out/linux.err"; then
  cat "$out/linux.err" >&2
  echo "differential: the Linux program failed"
  exit 1
fi

for pair in win64 win32; do
  exe=build/$pair/tests/platform/platform_differential.exe
  [ -f "$exe" ] || continue
  if [ "$pair" = win32 ] && ! /usr/lib/wine/wine --version </dev/null >/dev/null 2>&1; then
    echo "differential linux/wine32: not run (this machine runs no 32-bit code)"
    continue
  fi
  if ! WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} scripts/wine-run "$exe" 2>"$out/$pair.err" | tr -d '\r' >"$out/$pair.txt" \
     || [ ! -s "$out/$pair.txt" ]; then
    cat "$out/$pair.err" >&2
    echo "differential linux/wine${pair#win}: the Windows program failed"
    status=1
    continue
  fi
  awk -F'\t' -v pair="linux/wine${pair#win}" -v deviations="$deviations" -v report="$out/$pair.report" \
      -v wine_file="$out/$pair.txt" '
    BEGIN {
      n = 0
      while ((getline line < deviations) > 0) {
        if (line ~ /^#/ || line ~ /^[ \t]*$/) continue
        split(line, field, "\t")
        ++n
        dev_function[n] = field[1]; dev_input[n] = field[2]
        dev_linux[n] = field[3]; dev_wine[n] = field[4]; dev_reason[n] = field[5]
        used[n] = 0
      }
      total = 0; agree = 0; known = 0; unexpected = 0; broken = 0
    }
    {
      linux_line = $0
      if ((getline wine_line < wine_file) <= 0) { broken = 1; exit }
      split(linux_line, l, "\t"); split(wine_line, w, "\t")
      if (l[1] != w[1] || l[2] != w[2]) { broken = 1; exit }
      ++total
      if (l[3] == w[3]) { ++agree; next }
      for (k = 1; k <= n; ++k) {
        if ((dev_function[k] == "*" || dev_function[k] == l[1]) && l[2] ~ dev_input[k] &&
            l[3] ~ dev_linux[k] && w[3] ~ dev_wine[k]) {
          ++known; ++used[k]; next
        }
      }
      ++unexpected; ++by_function[l[1]]
      if (by_function[l[1]] <= 5) sample[l[1]] = sample[l[1]] "    " l[2] "\n      linux: " l[3] "\n      wine:  " w[3] "\n"
    }
    END {
      if (broken) { print "differential " pair ": the two outputs are out of step at line " NR; exit 2 }
      for (f in by_function) {
        printf "  %s: %d unexpected difference(s), for example\n%s", f, by_function[f], sample[f] > "/dev/stderr"
      }
      for (k = 1; k <= n; ++k) if (used[k]) printf "%6d  %s: %s\n", used[k], dev_function[k], dev_reason[k] > report
      printf "differential %s: %d inputs, %d agree (%.2f%%), %d known deviations, %d unexpected\n",
             pair, total, agree, total ? 100 * agree / total : 0, known, unexpected
      exit unexpected ? 1 : 0
    }' "$out/linux.txt"
  result=$?
  # The 32-bit pair has never run on a machine of ours that runs 32-bit code,
  # and Wine's 32-bit side computes with the x87 unit where the 64-bit side
  # and the layer use SSE: until its differences have been seen and listed,
  # they are reported loudly but do not fail the run. An out-of-step output
  # (exit 2) fails it all the same.
  if [ "$result" -eq 1 ] && [ "$pair" = win32 ]; then
    echo "differential linux/wine32: the differences above are not yet a gate (first 32-bit comparison); list them in $deviations" >&2
    continue
  fi
  [ "$result" -eq 0 ] || status=1
done
exit $status
