#!/usr/bin/env bash
# Builds the plug-in and the demo firmware (examples/demo_target), runs the firmware in QEMU
# up to demo_breakpoint() and lets GDB, through the ORTI host (hosts/gdb), show the kernel as
# the plug-in sees it: the task table, the alarms, the resources, how full each stack is and
# the backtrace of a task that is not running. Installs what a fresh machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh
bash scripts/ensure_gdb_tools.sh
cmake --preset default >/dev/null
cmake --build --preset default --target osa_orti_plugin >/dev/null
bash examples/demo_target/build.sh >/dev/null

exec examples/demo_target/run_qemu_gdb.sh -- \
    -ex 'source hosts/gdb/orti_host.py' \
    -ex 'set orti plugin build/default/src/osa_orti_plugin' \
    -ex 'orti load examples/demo_target/demo_target.ort' \
    -ex 'echo \n(gdb) orti tasks\n' -ex 'orti tasks' \
    -ex 'echo \n(gdb) orti show ALARM\n' -ex 'orti show ALARM' \
    -ex 'echo \n(gdb) orti show RESOURCE\n' -ex 'orti show RESOURCE' \
    -ex 'echo \n(gdb) orti stacks\n' -ex 'orti stacks' \
    -ex 'echo \n(gdb) orti bt Task_Logger\n' -ex 'orti bt Task_Logger' \
    -ex 'echo \n'
