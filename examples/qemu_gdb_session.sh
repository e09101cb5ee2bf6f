# shellcheck shell=bash
# The session of a demo target's run_qemu_gdb.sh, which sets these and then sources this file
# with its own arguments:
#   here            the target's folder, examples/TARGET
#   elf             the default program
#   machine         the board's qemu-system-arm arguments (an array)
#   uart            stdout where the board's UART is QEMU's standard output, serial where it
#                   is the -serial device (written to the same log)
#   known_messages  grep patterns of QEMU's messages that tell nothing (an array)
#   clock           the clock arguments that make runs repeat (an array)
# The session: QEMU started halted with its gdb stub on a private Unix socket, gdb-multiarch
# connected and run to demo_breakpoint(), then the caller's GDB arguments. QEMU is stopped on
# every way out, and a timeout ends a session that hangs. Exits with gdb's status (124 when
# the timeout ended it) after printing what the target wrote to its UART.

seconds=60

while [ $# -gt 0 ]; do
    case "$1" in
    -e) elf="$2"; shift 2 ;;
    -t) seconds="$2"; shift 2 ;;
    --realtime) clock=(); shift ;;
    --) shift; break ;;
    *) break ;;
    esac
done

target="$(basename "$here")"
if [ ! -f "$elf" ]; then
    echo "run_qemu_gdb.sh: $elf not found; build it with examples/$target/build.sh" >&2
    exit 2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/$target.XXXXXX")"
socket="$work/gdb.sock"
qemu_pid=""

cleanup() {
    if [ -n "$qemu_pid" ] && kill -0 "$qemu_pid" 2>/dev/null; then
        kill "$qemu_pid" 2>/dev/null || true
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            kill -0 "$qemu_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$qemu_pid" 2>/dev/null || true
        wait "$qemu_pid" 2>/dev/null || true
    fi
    if [ -s "$work/uart.log" ]; then
        echo "--- target UART output ---"
        cat "$work/uart.log"
    fi
    # Left out as well: the notice of the kill above.
    local filter=(-e 'terminating on signal')
    local pattern
    for pattern in "${known_messages[@]}"; do
        filter=(-e "$pattern" "${filter[@]}")
    done
    if grep -v "${filter[@]}" "$work/qemu.err" >"$work/qemu.msg" 2>/dev/null; then
        echo "--- qemu messages ---"
        cat "$work/qemu.msg"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

serial=()
qemu_out="$work/uart.log"
if [ "$uart" = serial ]; then
    serial=(-serial "file:$work/uart.log")
    qemu_out=/dev/null
fi
qemu-system-arm "${machine[@]}" "${serial[@]}" "${clock[@]}" -S \
    -gdb "unix:$socket,server=on,wait=off" -kernel "$elf" \
    </dev/null >"$qemu_out" 2>"$work/qemu.err" &
qemu_pid=$!

for _ in $(seq 1 100); do
    [ -S "$socket" ] && break
    if ! kill -0 "$qemu_pid" 2>/dev/null; then
        echo "run_qemu_gdb.sh: qemu-system-arm exited before it opened its gdb socket" >&2
        exit 3
    fi
    sleep 0.1
done
if [ ! -S "$socket" ]; then
    echo "run_qemu_gdb.sh: qemu-system-arm did not open $socket" >&2
    exit 3
fi

status=0
timeout --kill-after=5 "$seconds" gdb-multiarch -batch -nx \
    -ex 'set pagination off' -ex 'set confirm off' -ex 'set width 0' \
    -ex "file $elf" -ex "target remote $socket" \
    -ex 'break demo_breakpoint' -ex 'continue' \
    "$@" </dev/null || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "run_qemu_gdb.sh: gdb did not finish within $seconds s" >&2
fi
exit "$status"
