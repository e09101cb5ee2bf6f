#!/usr/bin/env bash
# Records the conversations in tests/data/playback/gdb/ again: the demo target runs in QEMU
# to demo_breakpoint(), and for each file GDB's ORTI host starts a fresh plug-in, loads
# examples/demo_target/demo_target.ort, runs a few host commands and writes what was said
# with 'orti record'; those of tests/data/playback/gdb_smp/ the same on the dual-core demo
# target (examples/demo_target_smp). Run it from anywhere; the ORTI file is named relative to the
# repository's root, which is where the recordings are played back.
#   tests/hosts/gdb/record_playbacks.sh [PLUGIN]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
cd "$root"
plugin="${1:-$root/build/default/src/osa_orti_plugin}"
out=tests/data/playback/gdb
ort=examples/demo_target/demo_target.ort
bash examples/demo_target/build.sh >/dev/null
bash examples/demo_target_smp/build.sh >/dev/null

# One recording: its name, then the host commands between the load and the record.
args=(-ex "source hosts/gdb/orti_host.py" -ex "set orti plugin $plugin")
record() {
    local name="$1"
    shift
    args+=(-ex "orti load $ort")
    for c in "$@"; do
        args+=(-ex "$c")
    done
    args+=(-ex "orti record $out/$name.play")
}
record tasks "orti tasks"
record resources "orti show RESOURCE"
record alarm_list "orti show ALARM" "orti show 101"
record commands "orti cmd version" "orti cmd expr Task_Logger.STATE" "orti cmd expr Res_Uart" \
    "orti cmd mapregname 13 sp" "orti cmd regname 13" "orti cmd nosuch"
record task_registers "orti regs Task_Logger"
record task_backtrace "orti bt Task_Report" "orti regs Task_Init"
record stacks "orti stacks" "orti cmd stackusage" "orti cmd stackusage Stack_System"
examples/demo_target/run_qemu_gdb.sh -t 120 -- "${args[@]}"

# The dual-core target: the tasks, both cores' running tasks and the live registers of the task
# that runs on core 1, which the plug-in asks of core 1.
ort=examples/demo_target_smp/demo_target_smp.ort
out=tests/data/playback/gdb_smp
args=(-ex "source hosts/gdb/orti_host.py" -ex "set orti plugin $plugin")
record task_registers "orti regs Task_Sync1"
examples/demo_target_smp/run_qemu_gdb.sh -t 120 -- "${args[@]}"
