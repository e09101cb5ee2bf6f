#!/usr/bin/env bash
# Installs what the build needs when this machine lacks it (a fresh machine has it all).
set -euo pipefail

missing=()
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
command -v g++ >/dev/null || missing+=(g++)
command -v clang++ >/dev/null || missing+=(clang)
command -v clang-format >/dev/null || missing+=(clang-format)
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
[ -f /usr/include/gmock/gmock.h ] || missing+=(libgmock-dev)
[ -f /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
# The JSON benchmark's peers; the plug-in itself never uses them.
[ -f /usr/include/rapidjson/document.h ] || missing+=(rapidjson-dev)
[ -f /usr/include/nlohmann/json.hpp ] || missing+=(nlohmann-json3-dev)
# The remote-protocol proxy reads DWARF with elfutils' libdw, found through pkg-config.
[ -f /usr/include/elfutils/libdw.h ] || missing+=(libdw-dev)
command -v pkg-config >/dev/null || missing+=(pkg-config)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
  missing+=(libclang-rt-dev)
# The Windows programs and their tests are cross-built and run under Wine; only the test command
# asks for these. GoogleTest is built from its sources for them.
if [ "${1:-}" = "--windows" ]; then
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-gcc-posix >/dev/null || missing+=(gcc-mingw-w64-x86-64-posix)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  { command -v wine >/dev/null && command -v wineboot >/dev/null; } || missing+=(wine wine64)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
