#!/usr/bin/env bash
# Runs the demo target to demo_breakpoint() and evaluates every formula of demo_target.ort
# there with GDB's evaluator (orti_eval.py). Exits non-zero when a formula fails.
#   check_formulas.sh [ORTI FILE] [run_qemu_gdb.sh options...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ort="${1:-$here/demo_target.ort}"
[ $# -gt 0 ] && shift
# orti-eval --quit ends GDB with its verdict; the quit after it fails a run that never got
# there (the script did not load, the target could not be reached).
exec "$here/run_qemu_gdb.sh" "$@" -- -x "$here/orti_eval.py" -ex "orti-eval --quit $ort" \
    -ex "quit 1"
