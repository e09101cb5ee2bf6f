#!/usr/bin/env bash
# Builds demo_target_smp.elf into BUILD_DIR (default: build/demo_target_smp under the
# repository root), first installing the cross toolchain, QEMU and gdb-multiarch with apt-get
# where they are missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build_dir="${1:-$root/build/demo_target_smp}"

bash "$root/scripts/ensure_gdb_tools.sh"

mkdir -p "$build_dir"
build_dir="$(cd "$build_dir" && pwd)"
make -C "$here" --no-print-directory BUILD_DIR="$build_dir"
echo "build.sh: $build_dir/demo_target_smp.elf"
