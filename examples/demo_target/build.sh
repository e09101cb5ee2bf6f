#!/usr/bin/env bash
# Builds demo_target.elf into BUILD_DIR (default: build/demo_target under the repository
# root), first installing the cross toolchain, QEMU and gdb-multiarch with apt-get where
# they are missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build_dir="${1:-$root/build/demo_target}"

missing=()
command -v arm-none-eabi-gcc >/dev/null 2>&1 || missing+=(gcc-arm-none-eabi)
# libgcc for the target ships with the compiler package; the C library is not used.
command -v qemu-system-arm >/dev/null 2>&1 || missing+=(qemu-system-arm)
command -v gdb-multiarch >/dev/null 2>&1 || missing+=(gdb-multiarch)
command -v make >/dev/null 2>&1 || missing+=(make)

if [ "${#missing[@]}" -gt 0 ]; then
    echo "build.sh: installing ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

mkdir -p "$build_dir"
build_dir="$(cd "$build_dir" && pwd)"
make -C "$here" --no-print-directory BUILD_DIR="$build_dir"
echo "build.sh: $build_dir/demo_target.elf"
