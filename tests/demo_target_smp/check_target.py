# The dual-core demo target stopped at demo_breakpoint(): the two cores are GDB's threads
# 1.1 and 1.2, the firmware holds what the state tables of its README say, and every
# formula of its ORTI file evaluates to what those tables say. Run in gdb-multiarch through
# examples/demo_target_smp/run_qemu_gdb.sh, from the repository's root.
import os
import re
import sys
import tempfile

import gdb

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", ".."))
target = os.path.join(root, "examples", "demo_target_smp")
sys.path.insert(0, os.path.join(root, "tests", "hosts", "gdb"))
sys.path.insert(0, target)

from gdb_state import (REGS, backtrace_from, frame_names, num, on_core,  # noqa: E402
                       registers, text, thread_of_core)
from testing import check, check_equal, run  # noqa: E402
import orti_eval  # noqa: E402

ORT = os.path.join(target, "demo_target_smp.ort")
README = os.path.join(target, "README.md")
TASK_STATES = ["SUSPENDED", "READY", "WAITING", "RUNNING"]
CORES = 2
FILL = 0xAAAAAAAA


def readme_table(title, nth=0):
    """Rows of the nth table after the line `title`, as dicts by column header."""
    with open(README, encoding="utf-8") as f:
        lines = f.read().splitlines()
    i = lines.index(title) + 1
    for _ in range(nth + 1):
        while not lines[i].startswith("|"):
            i += 1
        cells = []
        while i < len(lines) and lines[i].startswith("|"):
            cells.append([c.strip() for c in lines[i].strip().strip("|").split("|")])
            i += 1
    return [dict(zip(cells[0], row)) for row in cells[2:]]


def code_names(cell):
    return re.findall(r"`([^`]+)`", cell)


_results = None


def orti():
    """The ORTI file's formulas evaluated once, by label ('TASK Task_Init0.STATE')."""
    global _results
    if _results is None:
        _results = orti_eval.evaluate_file(ORT)
    return dict((r.label, r) for r in _results)


def shown(result):
    """What a table shows for an evaluated attribute: the ENUM label, else the number."""
    check(result.ok, "%s: %s" % (result.label, result.failure))
    return result.enum_label if result.enum_label is not None else str(result.value)


def checked_backtrace_from(core, regs):
    """backtrace_from(), with a check that core's own registers were put back."""
    live = on_core(core, lambda: registers(REGS))
    names = backtrace_from(core, regs)
    check_equal(on_core(core, lambda: registers(REGS)), live,
                "registers of core %d put back" % core)
    return names


def context_registers(task):
    """A switched-out task's registers as its CONTEXT object's formulas give them."""
    results = orti()
    regs = {}
    for n in REGS:
        r = results["CONTEXT Ctx_%s._CPU_%s" % (task, n.upper())]
        check(r.ok, "%s: %s" % (r.label, r.failure))
        regs[n] = r.value & 0xFFFFFFFF
    return regs


# -- the cores ----------------------------------------------------------------------------

def test_1_the_two_cores_are_threads_1_1_and_1_2():
    inferior = gdb.selected_inferior()
    threads = sorted(inferior.threads(), key=lambda t: t.num)
    check_equal(["%d.%d" % (inferior.num, t.num) for t in threads], ["1.1", "1.2"],
                "GDB's threads")
    listing = gdb.execute("info threads", to_string=True)
    for core in range(CORES):
        check("Thread 1.%d (CPU#%d" % (core + 1, core) in listing,
              "thread 1.%d is CPU#%d: %r" % (core + 1, core, listing))
        thread_of_core(core).switch()
        check_equal(int(gdb.parse_and_eval("$TPIDRPRW")), num("(unsigned int)&OsCore[%d]" % core),
                    "the kernel state of the core on thread 1.%d" % (core + 1))
    thread_of_core(0).switch()
    check_equal(gdb.newest_frame().name(), "demo_breakpoint", "core 0 stopped at the breakpoint")
    thread_of_core(1).switch()
    check_equal(gdb.newest_frame().name(), "os_hold_core", "core 1 held")
    check_equal(num("$cpsr") & 0x9F, 0x9F, "core 1 in System mode with IRQs masked")


# -- the README's tables against the firmware ---------------------------------------------

def test_2_tasks_are_the_readmes():
    rows = readme_table("### Tasks")
    check_equal(len(rows), num("sizeof(OsTcb)/sizeof(OsTcb[0])"), "one row per task")
    results = orti()
    for row in rows:
        i = int(row["id"])
        name = row["task"]
        tcb = "OsTcb[%d]" % i
        prio, base = re.fullmatch(r"(\d+) \((\d+)\)", row["prio (base)"]).groups()
        check_equal(text(tcb + ".name"), name, "task %d" % i)
        check_equal(num(tcb + ".core"), int(row["core"]), name + " core")
        check_equal(num(tcb + ".cur_prio"), int(prio), name + " priority")
        check_equal(num(tcb + ".base_prio"), int(base), name + " base priority")
        check_equal(TASK_STATES[num(tcb + ".state")], row["state"], name + " state")
        # The same through the ORTI file.
        check_equal(shown(results["TASK %s.STATE" % name]), row["state"], name + " STATE")
        check_equal(shown(results["TASK %s.PRIORITY" % name]), prio, name + " PRIORITY")
        check_equal(shown(results["TASK %s.vs_CORE" % name]), row["core"], name + " vs_CORE")
        context = row["saved context"]
        frames = code_names(context)
        core = int(row["core"])
        if row["state"] == "RUNNING":
            check_equal(num("OsCore[%d].running_id" % core), i, name + " runs on its core")
            check("thread 1.%d" % (core + 1) in context, name + ": the README names its thread")
            thread_of_core(core).switch()
            got = frame_names()
        elif context.startswith("none"):
            check_equal(num(tcb + ".sp"), 0, name + " has no saved context")
            check_equal(shown(results["TASK %s.CONTEXT" % name]), "NO_CONTEXT", name + " CONTEXT")
            continue
        else:
            check_equal(shown(results["TASK %s.CONTEXT" % name]), "Ctx_" + name, name + " CONTEXT")
            got = checked_backtrace_from(core, context_registers(name))
        check_equal(got, frames + ["os_task_exit"], name + " backtrace")


def test_3_per_core_variables_are_the_readmes():
    rows = readme_table("### Per-core OS variables")
    results = orti()
    check_equal(sorted(r["ORTI attribute"] for r in rows),
                sorted(["RUNNINGTASK", "RUNNINGTASKPRIORITY", "RUNNINGISR2", "SERVICETRACE",
                        "LASTERROR", "vs_TICKS", "vs_SWITCHES"]), "the per-core attributes")
    for row in rows:
        attr = row["ORTI attribute"]
        formula = code_names(row["formula of element c"])[0]
        for core in range(CORES):
            label = "OS DemoKernelSmp.%s[%d]" % (attr, core)
            check_equal(shown(results[label]), row["core %d" % core], label)
            direct = num(formula.replace("[c]", "[%d]" % core))
            check_equal(results[label].value, direct, label + " against " + formula)


def test_4_alarms_resources_and_spinlocks_are_the_readmes():
    results = orti()
    for row in readme_table("### Alarms"):
        a = "ALARM %s." % row["alarm"]
        for attr, column in (("STATE", "state"), ("ALARMTIME", "ticks left"),
                             ("CYCLETIME", "cycle"), ("vs_CORE", "core")):
            check_equal(shown(results[a + attr]), row[column], a + attr)
    lists = dict((core, []) for core in range(CORES))
    for label, r in orti().items():
        m = re.fullmatch(r"vs_TIMER ActiveAlarms(\d)\[\d+\]\._NAME", label)
        if m:
            lists[int(m.group(1))].append(r.value)
    check_equal(lists, {0: ["Alarm_Cycle0"], 1: ["Alarm_Cycle1", "Alarm_Watchdog1"]},
                "running alarms of each core in list order")
    for row in readme_table("### Resources and spinlocks"):
        r = "RESOURCE %s." % row["resource"]
        for attr, column in (("STATE", "state"), ("LOCKER", "locker"), ("PRIORITY", "ceiling"),
                             ("vs_CORE", "core")):
            check_equal(shown(results[r + attr]), row[column], r + attr)
    for i, row in enumerate(readme_table("### Resources and spinlocks", 1)):
        s = "vs_SPINLOCK %s." % row["spinlock"]
        check_equal(text("OsSpinlock[%d].name" % i), row["spinlock"], "spinlock %d" % i)
        for attr, column in (("vs_STATE", "state"), ("vs_CORE", "holding core"),
                             ("vs_OWNER", "owner")):
            check_equal(shown(results[s + attr]), row[column], s + attr)


def test_5_every_stack_was_filled_and_none_overflowed():
    for i in range(num("sizeof(OsStackCfg)/sizeof(OsStackCfg[0])")):
        s = "OsStackCfg[%d]" % i
        words = num(s + ".size") // 4
        name = text(s + ".name")
        check_equal(num("%s.base[0]" % s) & 0xFFFFFFFF, FILL, name + ": lowest word untouched")
        top = [num("%s.base[%d]" % (s, words - k)) & 0xFFFFFFFF for k in range(1, 17)]
        check(any(w != FILL for w in top), name + ": used from the top down")


# -- the ORTI file ------------------------------------------------------------------------

def test_6_every_formula_evaluates_with_one_element_per_core():
    results = orti()
    failed = [r.line() for r in results.values() if not r.ok]
    check_equal(failed, [], "formulas that failed")
    elements = [label for label in results if label.startswith("OS DemoKernelSmp.RUNNINGTASK[")]
    check_equal(sorted(elements), ["OS DemoKernelSmp.RUNNINGTASK[0]",
                                   "OS DemoKernelSmp.RUNNINGTASK[1]"], "RUNNINGTASK elements")
    check(len(results) > 400, "every object was evaluated: %d formulas" % len(results))


# Each case breaks the ORTI file in one place; the evaluator must report exactly the
# failures listed, the first with the text given.
BROKEN_FILES = [
    ("an element missing for core 1", 'RUNNINGTASK[1] = "OsCore[1].running_id";', "",
     ["OS DemoKernelSmp.RUNNINGTASK[]"], "elements [0], but the program has 2 cores"),
    ("an element beyond the cores", 'LASTERROR[1] = "OsCore[1].last_error";',
     'LASTERROR[1] = "OsCore[1].last_error";\n    LASTERROR[2] = "0";',
     ["OS DemoKernelSmp.LASTERROR[]"], "elements [0, 1, 2], but the program has 2 cores"),
    ("an index given twice", 'vs_TICKS[1] = "OsCore[1].counter->value";',
     'vs_TICKS[0] = "OsCore[1].counter->value";',
     ["OS DemoKernelSmp.vs_TICKS[0]", "OS DemoKernelSmp.vs_TICKS[]"], "index defined twice"),
    ("an array element without index", 'SERVICETRACE[0] =', 'SERVICETRACE =',
     ["OS DemoKernelSmp.SERVICETRACE", "OS DemoKernelSmp.SERVICETRACE[]"],
     "declared as an array, defined without an index"),
    ("an index on a plain attribute", 'CURRENTAPPMODE =', 'CURRENTAPPMODE[0] =',
     ["OS DemoKernelSmp.CURRENTAPPMODE[0]"], "an index on an attribute that is no array"),
    ("an undeclared attribute", 'vs_VERSION = "OsVersion";',
     'vs_VERSION = "OsVersion";\n    vs_CORES = "2";', ["OS DemoKernelSmp.vs_CORES"],
     "not declared for this kind"),
    ("a value that is no ENUM element", '"OsCore[1].last_error"', '"OsCore[1].last_error + 40"',
     ["OS DemoKernelSmp.LASTERROR[1]"], "41 is no element of the ENUM"),
    ("a formula that does not evaluate", '"OsTcb[8].core"', '"OsTcb[8].no_such_member"',
     ["TASK Task_Filter1.vs_CORE"], "no_such_member"),
]


def test_7_the_evaluator_finds_faults_of_array_files():
    with open(ORT, encoding="latin-1") as f:
        good = f.read()
    folder = tempfile.mkdtemp(prefix="demo-target-smp-")
    for what, old, new, labels, fragment in BROKEN_FILES:
        check(old in good, what + ": the text to break is in the file")
        path = os.path.join(folder, "broken.ort")
        with open(path, "w", encoding="latin-1") as f:
            f.write(good.replace(old, new, 1))
        failed = [r for r in orti_eval.evaluate_file(path) if not r.ok]
        check_equal(sorted(r.label for r in failed), sorted(labels), what)
        check(fragment in failed[0].failure, "%s: %r" % (what, failed[0].failure))


# -- after the breakpoint ----------------------------------------------------------------

def task_state(name):
    i = next(i for i in range(num("sizeof(OsTcb)/sizeof(OsTcb[0])"))
             if text("OsTcb[%d].name" % i) == name)
    return TASK_STATES[num("OsTcb[%d].state" % i)]


def test_8_core_0_releases_core_1_and_both_go_on():
    # Task_Report0 gets core 0 once Task_Monitor0 has had Spin_Mailbox, which Task_Filter1
    # gives back only after core 1 was released and Task_Sync1 terminated.
    gdb.execute("tbreak OsTask_Task_Report0")
    gdb.execute("continue")
    check_equal(gdb.selected_thread().num, 1, "the stop is core 0's")
    check_equal(text("OsCore[0].current->name"), "Task_Report0", "running on core 0")
    check_equal([task_state(t) for t in ("Task_Monitor0", "Task_Sync1")],
                ["SUSPENDED", "SUSPENDED"], "the tasks of the rendezvous ended")
    check_equal(num("OsSpinlock[1].lock"), 0, "Spin_Mailbox given back")
    check_equal(num("demo_mailbox_seen"), 1, "core 0 read the value core 1 posted")
    check(num("OsCore[1].counter->value") > 150, "core 1 counts its ticks again")


run(globals())
