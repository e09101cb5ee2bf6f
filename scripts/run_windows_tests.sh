#!/usr/bin/env bash
# Runs the tests of the cross-built Windows programs under Wine: every test program (one CTest
# test each, its cases reported in BUILD_DIR/gtest-results/) and the playback of every recorded
# conversation by osa_orti_plugin.exe. Prints what ran; fails when anything failed.
# Usage: scripts/run_windows_tests.sh [BUILD_DIR]   (default build/windows, the windows preset)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/windows}

# The same environment as the windows test preset: a prefix of the build's own, no debug
# chatter, and no offer to install .NET or a browser engine into it.
export WINEPREFIX="$PWD/$build_dir/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  timeout 300 wineboot -i >/dev/null 2>&1 || true
  # The registry reaches the disk when the prefix's wine server ends, shortly after wineboot.
  timeout 120 wineserver -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot could not create $WINEPREFIX"; exit 1; }
fi

results="$build_dir/gtest-results"
rm -rf "$results"
mkdir -p "$results"
log="$build_dir/wine-tests.log"
run_tests() { timeout 900 ctest --test-dir "$build_dir" -j2 --output-on-failure "$@"; }
# Programs started side by side just after the prefix was made can lose their connection to the
# wine server ("wine client error ... Connection reset by peer") before they run a line of their
# own. Such a test is run once more; a failure of the program's own is not, so a real fault still
# fails the run.
if ! run_tests >"$log" 2>&1 &&
  ! { grep -q "wine client error" "$log" &&
    echo "Wine lost its server for a test; running the failed tests once more" &&
    run_tests --rerun-failed >>"$log" 2>&1; }; then
  grep -vE "^ *(Start|[0-9]+/[0-9]+ Test .*Passed)" "$log" | tail -n 150
  echo "Windows tests under Wine failed (full log: $log)"
  exit 1
fi
grep -E "tests passed|Total Test time" "$log"

# What ran, from the test programs' reports and CTest's list.
programs=0
cases=0
failed=0
skipped=0
for report in "$results"/*.xml; do
  [ -f "$report" ] || continue
  programs=$((programs + 1))
  head=$(grep -m1 "<testsuites " "$report")
  cases=$((cases + $(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$head")))
  failed=$((failed + $(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$head")))
  skipped=$((skipped + $(grep -c 'result="skipped"' "$report" || true)))
done
playbacks=$(ctest --test-dir "$build_dir" -N -R '^playback:' | grep -c "Test *#" || true)
expected_programs=$(ctest --test-dir "$build_dir" -N -E '^playback:' | grep -c "Test *#" || true)
if [ "$programs" -ne "$expected_programs" ] || [ "$failed" -ne 0 ] || [ "$cases" -eq 0 ]; then
  echo "Wine test reports: $programs of $expected_programs programs reported, $failed failures"
  exit 1
fi
echo "Under Wine: $programs test programs, $cases test cases run, $((cases - skipped)) passed," \
  "$skipped skipped; $playbacks recorded conversations played back, all passed"
