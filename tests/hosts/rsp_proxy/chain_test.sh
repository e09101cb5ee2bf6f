#!/usr/bin/env bash
# The proxy's chain tests for CTest: a demo firmware (built by its firmware test) in QEMU,
# orti-proxy and gdb-multiarch -nx. Exit 77 (skip) only where QEMU, gdb-multiarch, python3 or
# the firmware are missing and cannot be installed.
#   chain_test.sh SCENARIO ELF PROXY PLUGIN
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scenario="$1"
elf="$2"
skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in gdb-multiarch qemu-system-arm python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -f "$elf" ] || skip "no demo firmware ($elf): its firmware test could not build it"
exec timeout --kill-after=5 240 python3 "$here/chain_test.py" "$scenario" "$elf" "$3" "$4"
