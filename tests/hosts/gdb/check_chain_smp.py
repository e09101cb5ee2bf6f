# The whole chain on two cores: the dual-core demo firmware stopped at demo_breakpoint() in
# QEMU (core 0 at the breakpoint on thread 1.1, core 1 held on thread 1.2), GDB, its ORTI host
# and the plug-in. What the host prints is checked against the firmware's own variables and
# against what GDB itself finds on each core's thread; every test loads the file it needs, so
# that the tests do not depend on their order. Run by gdb_test.sh through
# examples/demo_target_smp/run_qemu_gdb.sh, from the repository's root, with ORTI_PLUGIN set.
import os
import re
import subprocess
import sys
import tempfile

import gdb

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
sys.path.insert(0, here)

from gdb_state import (REGS, backtrace_from, frame_names, num, on_core, out,  # noqa: E402
                       registers, table, text, thread_of_core)
from testing import check, check_equal, run  # noqa: E402

gdb.execute("source %s" % os.path.join(root, "hosts", "gdb", "orti_host.py"))

ORT = "examples/demo_target_smp/demo_target_smp.ort"
TASK_STATES = ["SUSPENDED", "READY", "WAITING", "RUNNING"]
CORES = 2
work = tempfile.mkdtemp(prefix="orti-chain-smp-")


def load(path=ORT):
    output = out("orti load " + path)
    check("loaded" in output, "%s loads: %r" % (path, output))
    return output


def tasks():
    return [text("OsTcb[%d].name" % i) for i in range(num("sizeof(OsTcb)/sizeof(OsTcb[0])"))]


def live_registers(core):
    """The registers of core's thread, read by GDB on that thread."""
    return on_core(core, lambda: registers(REGS + ["cpsr"]))


def saved_registers(i):
    """Task i's registers as the kernel saved them on its stack (see the README)."""
    f = "((unsigned int *)OsTcb[%d].sp)" % i
    regs = dict(("r%d" % k, num("%s[%d]" % (f, k)) & 0xFFFFFFFF) for k in range(13))
    regs.update(lr=num(f + "[13]") & 0xFFFFFFFF, pc=num(f + "[14]") & 0xFFFFFFFF,
                xpsr=num(f + "[15]") & 0xFFFFFFFF, sp=num("(unsigned int)OsTcb[%d].sp" % i) + 64)
    return regs


def bt_names(output):
    return [re.search(r"(?:in )?(\w+) \(", line.split("  ", 1)[1]).group(1)
            for line in output.splitlines() if line.startswith("#")]


def select_frame(level):
    frame = gdb.newest_frame()
    for _ in range(level):
        frame = frame.older()
    frame.select()


def where():
    return gdb.selected_thread().num, gdb.selected_frame().level()


def running_ids():
    return [num("OsCore[%d].running_id" % c) for c in range(CORES)]


# -- at demo_breakpoint() -------------------------------------------------------------

def test_1_the_file_loads_strictly_and_the_plugin_hears_of_both_cores():
    output = load()
    check("extended syntax" not in output, "no second load: %r" % output)
    play = os.path.join(work, "init.play")
    out("orti record " + play)
    with open(play, "rb") as f:
        init = next(line for line in f if line.startswith(b"TARNO: ") and
                    b"OSA_Client_TargetInit" in line)
    check(b'"coreCount":2,"coreIdList":[1,2]' in init, "TargetInit: %r" % init)


def test_2_tasks_show_each_cores_running_task_as_the_firmware_holds_them():
    load()
    rows = table(out("orti tasks"))
    names = tasks()
    check_equal([r["NAME"] for r in rows], names, "one row per task control block")
    running = running_ids()
    for i, row in enumerate(rows):
        what = names[i]
        check_equal(row["STATE"], TASK_STATES[num("OsTcb[%d].state" % i)], what + " state")
        check_equal(int(row["PRIORITY"], 0), num("OsTcb[%d].cur_prio" % i), what + " priority")
        on = [str(c) for c in range(CORES) if running[c] == i]
        check_equal(row["CORE"], ",".join(on), what + " core")
        check_equal(row[""] == "*", bool(on), what + " running mark")
    check_equal(sorted(r["CORE"] for r in rows if r["CORE"]), ["0", "1"],
                "a running task on each core")


def test_3_show_os_gives_every_element_of_the_arrays_per_core():
    load()
    rows = table(out("orti show OS"))
    # One column per core when turned (the table is wide), else one row per core.
    if rows and rows[0].get("CORE") not in ("0", None):
        by_core = [dict((r["CORE"], r[str(c)]) for r in rows) for c in range(CORES)]
    else:
        by_core = rows
    names = tasks()
    check_equal(len(by_core), CORES, "one set of values per core")
    for c, values in enumerate(by_core):
        what = "core %d " % c
        check_equal(values["RUNNINGTASK"], names[num("OsCore[%d].running_id" % c)],
                    what + "RUNNINGTASK")
        check_equal(int(values["RUNNINGTASKPRIORITY"], 0), num("OsCore[%d].current->cur_prio" % c),
                    what + "RUNNINGTASKPRIORITY")
        check_equal(int(values["vs_TICKS"], 0), num("OsCore[%d].counter->value" % c),
                    what + "vs_TICKS")
        check_equal(int(values["vs_SWITCHES"], 0), num("OsCore[%d].switch_count" % c),
                    what + "vs_SWITCHES")
        check_equal(values["CURRENTAPPMODE"], "OSDEFAULTAPPMODE", what + "CURRENTAPPMODE")


def test_4_saved_registers_and_backtraces_of_switched_out_tasks_on_both_cores():
    load()
    names = tasks()
    for name in ("Task_Logger0", "Task_Filter1"):
        i = names.index(name)
        core = num("OsTcb[%d].core" % i)
        expected = saved_registers(i)
        got = dict((r["REGISTER"], r["VALUE"]) for r in table(out("orti regs " + name)))
        for reg, value in expected.items():
            check_equal(got.get(reg), "0x%08x" % value, "%s saved %s" % (name, reg))
        trace = out("orti bt " + name)
        check_equal(bt_names(trace), backtrace_from(core, expected), name + " backtrace")
        check_equal(bt_names(trace)[-1], "os_task_exit", name + " backtrace ends in the kernel")


def test_5_running_tasks_show_the_live_state_of_their_own_core():
    load()
    names = tasks()
    for core, i in enumerate(running_ids()):
        name = names[i]
        output = out("orti regs " + name)
        check("running on core %d" % core in output.splitlines()[0], "%s: %r" % (name, output))
        got = dict((r["REGISTER"], r["VALUE"]) for r in table(output))
        live = live_registers(core)
        for reg in REGS:
            check_equal(got[reg], "0x%08x" % live[reg], "%s live %s" % (name, reg))
        check_equal(got["xpsr"], "0x%08x" % live["cpsr"], name + " live cpsr")
        check_equal(bt_names(out("orti bt " + name)), on_core(core, frame_names), name + " live bt")


def test_6_the_selected_thread_and_frame_are_put_back():
    load()
    before = [live_registers(c) for c in range(CORES)]
    for core, level in ((1, 1), (0, 2)):
        thread_of_core(core).switch()
        select_frame(level)
        for command in ("orti tasks", "orti show OS", "orti regs Task_Sync1",
                        "orti regs Task_Monitor0", "orti bt Task_Sync1", "orti bt Task_Monitor0",
                        "orti bt Task_Filter1", "orti cmd clearcache"):
            out(command)
            check_equal(where(), (core + 1, level), "after %s on thread 1.%d" % (command, core + 1))
    thread_of_core(0).switch()
    check_equal([live_registers(c) for c in range(CORES)], before, "live registers of both cores")


def test_7_calls_carry_the_core_of_the_selected_thread():
    load()
    names = tasks()
    for core, i in enumerate(running_ids()):
        thread_of_core(core).switch()
        shown = out("orti cmd expr DemoKernelSmp.RUNNINGTASK")
        check(shown.rstrip().endswith(":= %s" % names[i]), "thread 1.%d: %r" % (core + 1, shown))
    thread_of_core(0).switch()


def test_8_a_recorded_conversation_plays_back():
    load()
    out("orti tasks")
    out("orti regs Task_Sync1")
    play = os.path.join(work, "chain.play")
    out("orti record " + play)
    with open(play, "rb") as f:
        recorded = f.read()
    check(b'"method" : "OSA_Service_RegisterRead", "params" : { "context" : 1, "register" : 13, '
          b'"width" : -1, "fromDebugger" : 0, "coreId" : 2 }' in recorded,
          "Task_Sync1's sp asked of core 2")
    result = subprocess.run([os.environ["ORTI_PLUGIN"], "-file", play], cwd=root,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    check_equal(result.returncode, 0, "playback: %s" % result.stdout[-400:])


def test_9_a_core_without_element_and_a_core_the_target_lacks_are_one_line_each():
    with open(os.path.join(root, ORT), encoding="latin-1") as f:
        good = f.read()
    broken = os.path.join(work, "broken.ort")
    old = 'RUNNINGTASK[1] = "OsCore[1].running_id";'
    check(old in good, "the element to move is in the file")
    with open(broken, "w", encoding="latin-1") as f:
        f.write(good.replace(old, 'RUNNINGTASK[2] = "OsCore[1].running_id";'))
    load(broken)
    thread_of_core(1).switch()
    select_frame(1)
    try:
        output = out("orti tasks")
        notes = [line for line in output.splitlines() if line.startswith("orti:")]
        check_equal(notes, [
            "orti: the plug-in could not tell which task runs on core 1: Attribute RUNNINGTASK "
            "has no element for core 1 (it has 3)",
            "orti: Task_Sync1 is the running task of core 2, which the target lacks (it has 2)"],
            "the notes")
        rows = dict((r["NAME"], r["CORE"]) for r in table(output))
        check_equal(rows["Task_Monitor0"], "0", "core 0 still shown")
        check_equal(where(), (2, 1), "thread and frame put back")
    finally:
        thread_of_core(0).switch()
        load()


run(globals())
