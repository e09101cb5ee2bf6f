# shellcheck shell=bash
# What the demo scripts share; sourced by them from the repository's root.

# demo_build TARGET [CMAKE TARGET...]: installs what a fresh machine lacks, then builds the
# plug-in, the other CMake targets named and the firmware of examples/TARGET.
demo_build() {
    local target="$1"
    shift
    bash scripts/ensure_tools.sh
    bash scripts/ensure_gdb_tools.sh
    cmake --preset default >/dev/null
    cmake --build --preset default --target osa_orti_plugin "$@" >/dev/null
    bash "examples/$target/build.sh" >/dev/null
}

# demo_orti_session TARGET COMMAND...: runs examples/TARGET to demo_breakpoint(), where GDB's
# ORTI host loads the target's ORTI file and runs each command, shown as if typed.
demo_orti_session() {
    local target="$1"
    shift
    local args=(-ex 'source hosts/gdb/orti_host.py'
        -ex 'set orti plugin build/default/src/osa_orti_plugin'
        -ex "orti load examples/$target/$target.ort")
    local command
    for command in "$@"; do
        args+=(-ex "echo \\n(gdb) $command\\n" -ex "$command")
    done
    exec "examples/$target/run_qemu_gdb.sh" -- "${args[@]}" -ex 'echo \n'
}
