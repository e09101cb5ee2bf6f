#!/usr/bin/env bash
# Builds the plug-in, orti-proxy and the demo firmware (examples/demo_target), runs the
# firmware in QEMU behind orti-proxy, and lets gdb-multiarch, started without any scripts
# (-nx: no Python), stop at demo_breakpoint() and show the kernel's tasks as GDB threads and
# the backtrace of a task that is not running. Installs what a fresh machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
source scripts/demo_steps.sh
demo_build demo_target orti-proxy

elf="$root/build/demo_target/demo_target.elf"
work="$(mktemp -d "${TMPDIR:-/tmp}/proxy_demo.XXXXXX")"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

wait_for() {
    for _ in $(seq 1 100); do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    echo "proxy_demo.sh: $2 did not start" >&2
    [ -s "$work/proxy.err" ] && cat "$work/proxy.err" >&2
    exit 3
}

# Virtual time follows the instruction count, so the state at the breakpoint is the same in
# every run (see examples/demo_target/README.md).
qemu-system-arm -M lm3s6965evb -nographic -icount shift=4,sleep=off -S \
    -gdb "unix:$work/qemu.sock,server=on,wait=off" -kernel "$elf" \
    </dev/null >"$work/uart.log" 2>"$work/qemu.err" &
pids+=($!)
wait_for "$work/qemu.sock" qemu-system-arm

build/default/hosts/rsp_proxy/orti-proxy --elf "$elf" \
    --orti examples/demo_target/demo_target.ort --remote "$work/qemu.sock" \
    --listen "$work/proxy.sock" --once --ready-file "$work/ready" \
    </dev/null 2>"$work/proxy.err" &
pids+=($!)
wait_for "$work/ready" orti-proxy

timeout --kill-after=5 60 gdb-multiarch -batch -nx \
    -ex 'set pagination off' -ex 'set confirm off' -ex 'set width 0' \
    -ex "file $elf" -ex "target remote $work/proxy.sock" \
    -ex 'break demo_breakpoint' -ex 'continue' \
    -ex 'echo \n(gdb) info threads\n' -ex 'info threads' \
    -ex 'echo \n(gdb) thread 3\n' -ex 'thread 3' \
    -ex 'echo \n(gdb) bt\n' -ex 'bt' \
    -ex 'echo \n(gdb) monitor orti tasks\n' -ex 'monitor orti tasks' \
    </dev/null
