#!/usr/bin/env bash
# Installs what the GDB host and its demo target need when this machine lacks it: the ARM
# cross compiler, QEMU's ARM system emulator, gdb-multiarch (with its Python), make, and
# python3 for the proxy's chain tests.
# Exits non-zero when something is missing and cannot be installed.
set -euo pipefail

missing=()
command -v arm-none-eabi-gcc >/dev/null 2>&1 || missing+=(gcc-arm-none-eabi)
command -v qemu-system-arm >/dev/null 2>&1 || missing+=(qemu-system-arm)
command -v gdb-multiarch >/dev/null 2>&1 || missing+=(gdb-multiarch)
command -v make >/dev/null 2>&1 || missing+=(make)
command -v python3 >/dev/null 2>&1 || missing+=(python3)
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "ensure_gdb_tools.sh: not root and no sudo" >&2; exit 1; }
  SUDO=(sudo -n)
fi
export DEBIAN_FRONTEND=noninteractive
# apt-get waits for a lock held by another install; bound that wait.
timeout 600 "${SUDO[@]}" apt-get update -qq
timeout 900 "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
