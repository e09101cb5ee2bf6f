# The whole chain: the demo firmware stopped at demo_breakpoint() in QEMU, GDB, its ORTI
# host and the plug-in. Every table the host prints is checked against the firmware's own
# variables, read by GDB directly in the same session. Run by gdb_test.sh through
# examples/demo_target/run_qemu_gdb.sh, from the repository's root, with ORTI_PLUGIN set.
#
# Every test begins from the same place (fresh_stop): the board reset and run to its first
# stop in demo_breakpoint(), a fresh plug-in with the ORTI file loaded. So each one passes
# alone and in any order (ORTI_TEST_ORDER=reverse, ORTI_TEST_ONLY=name,... in testing.py).
import os
import struct
import subprocess
import sys
import tempfile

import gdb

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
sys.path.insert(0, here)

from gdb_state import ev, num, out, table, text  # noqa: E402
from testing import check, check_equal, check_error, run  # noqa: E402

gdb.execute("source %s" % os.path.join(root, "hosts", "gdb", "orti_host.py"))
from orti_gdb.commands import HOST  # noqa: E402

ORT = "examples/demo_target/demo_target.ort"
# The labels the ORTI file gives the kernel's numbers.
TASK_STATES = ["SUSPENDED", "READY", "WAITING", "RUNNING"]
NO_TASK = 0xFF
# What StartOS and the reset code write into every stack (OS_STACK_FILL of os_cfg.h).
STACK_FILL = 0xAAAAAAAA
# QEMU's stub, as run_qemu_gdb.sh connected GDB to it.
STUB = gdb.selected_inferior().connection.details


def tcb_count():
    return num("sizeof(OsTcb)/sizeof(OsTcb[0])")


def check_tasks_match_the_tcbs():
    rows = table(out("orti tasks"))
    check_equal(len(rows), tcb_count(), "one row per task control block")
    running = num("OsRunningId")
    for i, row in enumerate(rows):
        what = "task %d" % i
        check_equal(row["NAME"], text("OsTcb[%d].name" % i), what + " name")
        check_equal(row["STATE"], TASK_STATES[num("OsTcb[%d].state" % i)], what + " state")
        check_equal(int(row["PRIORITY"], 0), num("OsTcb[%d].cur_prio" % i), what + " priority")
        check_equal(row[""] == "*", i == running, what + " running mark")
        check_equal(int(row["ID"]), i + 1, what + " id")
    return rows


def saved_frame(i):
    """Task i's registers as the kernel saved them on its stack (see os_port.S)."""
    f = "((unsigned int *)OsTcb[%d].sp)" % i
    regs = dict(("r%d" % (4 + k), num("%s[%d]" % (f, k))) for k in range(8))
    regs.update(dict(("r%d" % k, num("%s[%d]" % (f, 8 + k))) for k in range(4)))
    regs["r12"] = num(f + "[12]")
    regs["lr"] = num(f + "[13]")
    regs["pc"] = num(f + "[14]")
    xpsr = num(f + "[15]")
    regs["xpsr"] = xpsr & ~0x200
    regs["sp"] = num("(unsigned int)OsTcb[%d].sp" % i) + 64 + (4 if xpsr & 0x200 else 0)
    return regs


def live_registers():
    frame = gdb.newest_frame()
    names = ["r%d" % i for i in range(13)] + ["sp", "lr", "pc", "xpsr"]
    return dict((n, int(frame.read_register(n)) & 0xFFFFFFFF) for n in names)


def halt():
    """Stops a target that runs: a new connection to QEMU's stub halts the machine (GDB in
    batch mode cannot wait for the stop that an interrupt asks for)."""
    thread = gdb.selected_thread()
    if thread is not None and thread.is_valid() and thread.is_running():
        gdb.execute("disconnect", to_string=True)
        gdb.execute("target remote " + STUB, to_string=True)


def fresh_stop():
    """The board reset and run to its first stop in demo_breakpoint(), with a fresh plug-in
    that has loaded the ORTI file: what every test begins with."""
    halt()
    gdb.execute("delete")
    gdb.execute("monitor system_reset", to_string=True)
    gdb.execute("maintenance flush register-cache")
    gdb.execute("break demo_breakpoint", to_string=True)
    gdb.execute("continue", to_string=True)
    check_equal(gdb.selected_frame().name(), "demo_breakpoint", "stopped in demo_breakpoint")
    check_equal(num("demo_breakpoint_hits"), 0, "the first stop there since the reset")
    check("loaded" in out("orti load " + ORT), "the ORTI file loads")


# -- at demo_breakpoint() -------------------------------------------------------------

def test_2_tasks_table_matches_the_task_control_blocks():
    fresh_stop()
    rows = check_tasks_match_the_tcbs()
    # The scenario's point: several tasks in different states at once.
    check(len(set(r["STATE"] for r in rows)) >= 3, "tasks in at least three states")


def test_3_alarms_match_the_alarm_table():
    fresh_stop()
    rows = table(out("orti show ALARM"), "ALARM")
    check_equal(len(rows), num("sizeof(OsAlarm)/sizeof(OsAlarm[0])"), "one row per alarm")
    for i, row in enumerate(rows):
        a = "OsAlarm[%d]" % i
        running = num(a + ".state") == 1
        check_equal(row["NAME"], text(a + ".name"), "alarm %d name" % i)
        check_equal(row["STATE"], "RUNNING" if running else "STOPPED", "alarm %d state" % i)
        left = num("%s.expiry - %s.counter->value" % (a, a)) if running else 0
        check_equal(int(row["ALARMTIME"], 0), left, "alarm %d ticks left" % i)
        check_equal(int(row["CYCLETIME"], 0), num(a + ".cycle"), "alarm %d cycle" % i)
        # Texts the file gives as the configuration spells them, not formulas.
        check_equal(row["ACTION"], text(a + ".action_text"), "alarm %d action" % i)
        check_equal(row["COUNTER"], text(a + ".counter->name"), "alarm %d counter" % i)


def test_4_resources_match_the_resource_table():
    fresh_stop()
    rows = table(out("orti show RESOURCE"), "RESOURCE")
    check_equal(len(rows), num("sizeof(OsResource)/sizeof(OsResource[0])"), "resources")
    for i, row in enumerate(rows):
        locker = num("OsResource[%d].locker" % i)
        check_equal(row["STATE"], "UNLOCKED" if locker == NO_TASK else "LOCKED", "state %d" % i)
        check_equal(row["LOCKER"], "NO_TASK" if locker == NO_TASK
                    else text("OsTcb[%d].name" % locker), "locker %d" % i)
        check_equal(int(row["PRIORITY"]), num("OsResource[%d].ceiling" % i), "ceiling %d" % i)
    check(any(r["STATE"] == "LOCKED" for r in rows), "a resource is held")


def test_5_running_alarm_list_is_walked_in_target_memory():
    fresh_stop()
    nodes = []
    node = ev("OsAlarmHead")
    while int(node) != 0:
        nodes.append(node)
        node = node["next"]
    check(len(nodes) >= 2, "the list has several elements")
    # The vendor kind of the running alarms, titled and headed with the names the ORTI file
    # gives it and its attributes.
    output = out("orti show vs_TIMER")
    title = "vs_TIMER (Running alarms in expiry order): %d objects" % len(nodes)
    check(output.startswith(title + "\n"), "title: %r" % output.splitlines()[0])
    rows = table(output, title)
    check_equal([r["NAME"] for r in rows], [n["name"].string() for n in nodes], "alarms")
    for row, n in zip(rows, nodes):
        what = "alarm %s" % row["NAME"]
        check_equal(int(row["vs_EXPIRY"], 0), int(n["expiry"]), what + " expiry")
        check_equal(int(row["vs_CYCLE"], 0), int(n["cycle"]), what + " cycle")
        check_equal(int(row["vs_REMAINING"], 0),
                    (int(n["expiry"]) - int(n["counter"]["value"])) & 0xFFFFFFFF,
                    what + " ticks left")


def test_6_saved_registers_of_a_switched_out_task():
    fresh_stop()
    logger = next(i for i in range(tcb_count()) if text("OsTcb[%d].name" % i) == "Task_Logger")
    expected = saved_frame(logger)
    rows = table(out("orti regs Task_Logger"))
    got = dict((r["REGISTER"], r["VALUE"]) for r in rows)
    for name, value in expected.items():
        check_equal(got.get(name), "0x%08x" % value, "saved %s" % name)


def test_7_backtrace_of_a_switched_out_task_and_registers_put_back():
    fresh_stop()
    before = live_registers()
    live_bt = out("bt")
    logger = next(i for i in range(tcb_count()) if text("OsTcb[%d].name" % i) == "Task_Logger")
    pc = saved_frame(logger)["pc"]
    output = out("orti bt Task_Logger")
    frames = [line for line in output.splitlines() if line.startswith("#")]
    check(len(frames) >= 3, "several frames: %r" % output)
    check(("0x%08x" % pc) in frames[0] or gdb.block_for_pc(pc).function.name in frames[0],
          "frame 0 at the saved pc: %r" % frames[0])
    check(any("ActivateTask" in f for f in frames), "the call that switched it out")
    check(any("OsTask_Task_Logger" in f for f in frames), "the task's own function")
    check_equal(live_registers(), before, "live registers after the backtrace")
    check_equal(out("bt"), live_bt, "live backtrace after the backtrace")


def test_8_running_task_registers_are_the_live_ones():
    fresh_stop()
    running = text("OsTcb[OsRunningId].name")
    rows = table(out("orti regs " + running))
    live = live_registers()
    for r in rows:
        check_equal(r["VALUE"], "0x%08x" % live[r["REGISTER"]], "live " + r["REGISTER"])


def test_9_requests_that_change_the_target():
    fresh_stop()
    services = HOST.services
    address = num("(unsigned int)&demo_breakpoint_hits")
    old = num("demo_breakpoint_hits")
    try:
        got = services.answer("OSA_Service_ExpressionEval", {
            "expression": "(demo_breakpoint_hits)=41", "valueType": 11, "searchFlag": 0})
        check_equal(got, {"output": 41, "return": 0}, "assignment answer")
        check_equal(num("demo_breakpoint_hits"), 41, "assignment written to the target")
        got = services.answer("OSA_Service_MemoryWrite", {
            "memorySpace": 0, "address": address, "count": 4, "value": "07000000"})
        check_equal(got, {"return": 0}, "memory write answer")
        check_equal(num("demo_breakpoint_hits"), 7, "memory written")
        got = services.answer("OSA_Service_MemoryRead", {
            "memorySpace": 0, "address": address, "count": 4})
        check_equal(got["value"], "07000000", "memory read back")
    finally:
        gdb.execute("set var demo_breakpoint_hits = %d" % old)
    live = live_registers()
    for reg_id, name in ((13, "sp"), (15, "pc"), (40, "xpsr"), (7, "r7")):
        got = services.answer("OSA_Service_RegisterRead", {
            "register": reg_id, "width": -1, "fromDebugger": 0})
        check_equal(got, {"value": live[name], "return": 0}, "register %d" % reg_id)
    check_equal(services.answer("OSA_Service_RegisterRead", {"register": 41, "width": -1,
                                                             "fromDebugger": 0}),
                {"return": 1}, "a register QEMU does not have")
    try:
        check_equal(services.answer("OSA_Service_RegisterWrite", {
            "register": 12, "width": -1, "forMemoryAccess": 0, "fromDebugger": 0,
            "value": 0x12345678}), {"return": 0}, "register write answer")
        check_equal(live_registers()["r12"], 0x12345678, "r12 written")
    finally:
        gdb.execute("set var $r12 = %d" % live["r12"])


def test_a_recorded_conversation_plays_back():
    fresh_stop()
    out("orti tasks")
    out("orti stacks")
    play = os.path.join(tempfile.mkdtemp(prefix="orti-chain-"), "chain.play")
    out("orti record " + play)
    plugin = os.environ["ORTI_PLUGIN"]
    result = subprocess.run([plugin, "-file", play], cwd=root, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=120)
    check_equal(result.returncode, 0, "playback: %s" % result.stdout[-400:])


# -- the target running on ------------------------------------------------------------

def test_b_tables_follow_the_target_after_it_stopped_again():
    fresh_stop()
    # Task_Report runs once Task_Sampler has terminated and Task_Logger released Res_Uart.
    out("orti tasks")  # the plug-in is up to date, nothing is pending
    check(not HOST.dirty, "no change left to tell the plug-in")
    gdb.execute("tbreak OsTask_Task_Report")
    gdb.execute("continue")
    check_equal(text("OsTcb[OsRunningId].name"), "Task_Report", "stopped in Task_Report")
    # The plug-in keeps its values until it hears of the stop; stale ones would differ.
    check_tasks_match_the_tcbs()
    rows = table(out("orti show RESOURCE"), "RESOURCE")
    check_equal(rows[0]["STATE"], "UNLOCKED", "Res_Uart released")


def test_c_corrupt_context_and_errors_leave_gdb_working():
    fresh_stop()
    check_error("orti regs NoSuchTask", "no task 'NoSuchTask'")
    check_error("orti bt Task_Init", "Task_Init has no saved pc and sp")
    # A saved stack pointer into the unused part of a stack: every "register" is the fill
    # pattern. The backtrace shows whatever that gives, and the core gets its registers back.
    logger = next(i for i in range(tcb_count()) if text("OsTcb[%d].name" % i) == "Task_Logger")
    sp = num("(unsigned int)OsTcb[%d].sp" % logger)
    before = live_registers()
    try:
        gdb.execute("set var OsTcb[%d].sp = (void *)OsStack_Task_Logger" % logger)
        rows = table(out("orti regs Task_Logger"))
        check_equal(dict((r["REGISTER"], r["VALUE"]) for r in rows)["pc"], "0xaaaaaaaa",
                    "pc read from the corrupt context")
        out("orti bt Task_Logger")
        check_equal(live_registers(), before, "live registers after a corrupt backtrace")
        gdb.execute("set var OsTcb[%d].sp = (void *)0xFFFFFF00" % logger)
        check_error("orti bt Task_Logger", "the saved sp and pc of Task_Logger could not be read")
    finally:
        gdb.execute("set var OsTcb[%d].sp = (void *)%d" % (logger, sp))
    check("ORTI OSA Module" in out("orti cmd version"), "the plug-in still answers")


def test_d_a_running_target_is_refused():
    fresh_stop()
    gdb.execute("delete")
    gdb.execute("continue &")
    try:
        check_error("orti tasks", "the target is running; interrupt it first")
        check_error("orti bt Task_Logger", "the target is running")
        check_error("orti stacks", "the target is running")
    finally:
        halt()


def stack_cfg():
    """Every stack of the firmware: (name, base, size, used bytes), used counted as the tasks
    left it: from the stack's low end (it grows down), the words that still hold the fill
    pattern were never touched."""
    stacks = []
    for i in range(num("sizeof(OsStackCfg)/sizeof(OsStackCfg[0])")):
        cfg = "OsStackCfg[%d]" % i
        base, size = num("(unsigned int)%s.base" % cfg), num(cfg + ".size")
        memory = bytes(gdb.selected_inferior().read_memory(base, size))
        words = struct.unpack("<%dI" % (size // 4), memory)
        untouched = next((k for k, w in enumerate(words) if w != STACK_FILL), len(words))
        stacks.append((text(cfg + ".name"), base, size, size - 4 * untouched))
    return stacks


def test_e_stacks_match_the_fill_pattern_in_the_firmware_memory():
    fresh_stop()
    rows = table(out("orti stacks"))
    stacks = stack_cfg()
    check_equal([r["STACK"] for r in rows], [s[0] for s in stacks], "one row per stack")
    for row, (name, base, size, used) in zip(rows, stacks):
        check(0 < used < size, "%s: some of it used, not all: %d of %d" % (name, used, size))
        check_equal((int(row["SIZE"]), int(row["USED"]), int(row["FREE"])),
                    (size, used, size - used), name + " size, used, free")
        check_equal(row["NOTE"], "", name + " note")
    # Each task owns the stack its control block points at; the handlers' stack no task.
    owners = dict((r["STACK"], r["TASK"].split(", ") if r["TASK"] else []) for r in rows)
    for t in range(tcb_count()):
        task = text("OsTcb[%d].name" % t)
        check_equal(owners[text("OsTcb[%d].stack->name" % t)], [task], task + "'s stack")
    check_equal(owners["Stack_System"], [], "the handlers' stack")


def test_f_a_stack_written_at_its_far_end_shows_as_overflowed():
    fresh_stop()
    name, base, size, _ = next(s for s in stack_cfg() if s[0] == "Stack_Task_Idle")
    gdb.execute("set var *(unsigned int *)%d = 0" % base)
    rows = table(out("orti stacks " + name))
    check_equal(len(rows), 1, "only the stack asked for")
    check_equal((rows[0]["USED"], rows[0]["FREE"]), (str(size), "0"), "all of it used")
    check("overflowed" in out("orti cmd stackusage " + name), "the plug-in's table says so")


run(globals())
