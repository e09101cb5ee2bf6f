#!/usr/bin/env bash
# Runs the dual-core demo target to demo_breakpoint() and evaluates every formula of
# demo_target_smp.ort there with GDB's evaluator (orti_eval.py), each element of the per-core
# arrays included. Exits non-zero when a formula fails.
#   check_formulas.sh [ORTI FILE] [run_qemu_gdb.sh options...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ort="${1:-$here/demo_target_smp.ort}"
[ $# -gt 0 ] && shift
exec "$here/run_qemu_gdb.sh" "$@" -- -x "$here/orti_eval.py" -ex "orti-eval $ort"
