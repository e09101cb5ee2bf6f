"""The demo firmware in QEMU behind orti-proxy, seen by gdb-multiarch -nx (no Python scripts)
through its CLI and through GDB/MI as IDEs use it. Everything GDB shows is checked against the
firmware's own variables, read by the same GDB in the same session.

    chain_test.py SCENARIO ELF PROXY PLUGIN
SCENARIO: threads (threads, backtraces and registers at demo_breakpoint(), stepping refused,
a later breakpoint), faults (a plug-in that hangs or dies, a server that goes away) or smp
(the dual-core demo firmware: the running task of each core, the tasks of both cores, a
breakpoint on the second core)."""

import os
import re
import signal
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
sys.path.insert(0, here)

from chain import Chain, ChainError  # noqa: E402

ORT = os.path.join(root, "examples", "demo_target", "demo_target.ort")
SMP_ORT = os.path.join(root, "examples", "demo_target_smp", "demo_target_smp.ort")
STATES = ["SUSPENDED", "READY", "WAITING", "RUNNING"]
REGISTERS = ["r%d" % i for i in range(13)] + ["sp", "lr", "pc", "xpsr"]
failures = []
checks = [0]


def check(condition, what):
    checks[0] += 1
    if not condition:
        failures.append(what)
        print("FAIL: %s" % what)


def check_equal(got, expected, what):
    check(got == expected, "%s: got %r, expected %r" % (what, got, expected))


def saved_registers(c, task):
    """What the task's context holds, computed the way the ORTI file's formulas do."""
    frame = "((unsigned int *)OsTcb[%d].sp)" % task
    words = [c.value("%s[%d]" % (frame, i)) for i in range(16)]
    regs = {"r%d" % i: words[8 + i] for i in range(4)}
    regs.update({"r%d" % (4 + i): words[i] for i in range(8)})
    regs["r12"] = words[12]
    regs["lr"] = words[13]
    regs["pc"] = words[14]
    regs["xpsr"] = words[15] & ~0x200
    regs["sp"] = (c.value("(unsigned int)OsTcb[%d].sp" % task) + 64 +
                  ((words[15] >> 9) & 1) * 4)
    return regs


def threads_by_target_id(c):
    """GDB's -thread-info as {our thread id: record}."""
    info = c.mi("-thread-info").results
    out = {}
    for t in info["threads"]:
        m = re.match(r"Thread (\d+)$", t["target-id"])
        if m:
            out[int(m.group(1))] = t
    return out, info.get("current-thread-id")


def registers_of(c, gdb_thread):
    names = c.mi("-data-list-register-names").results["register-names"]
    values = c.mi("-data-list-register-values --thread %s x" % gdb_thread).results
    out = {}
    for r in values["register-values"]:
        name = names[int(r["number"])]
        if r["value"] == "<unavailable>":
            out[name] = None
        elif r["value"].startswith("0x"):
            out[name] = int(r["value"], 16)
        # Vector registers (unions of lanes) are no register the tests compare.
    return out


def symbol_of(c, address):
    text = c.cli("info symbol 0x%x" % address)
    return text.split(" ")[0] if not text.startswith("No symbol") else None


def check_threads_at_breakpoint(c):
    count = c.value("sizeof(OsTcb)/sizeof(OsTcb[0])")
    running = c.value("OsRunningId")
    threads, current = threads_by_target_id(c)
    check_equal(sorted(threads), list(range(1, count + 1)), "one thread per task, ids 1 to n")
    check_equal(threads[running + 1]["id"], current, "the stopped thread is the running task")
    listing = c.cli("info threads")
    for i in range(count):
        name = c.string("OsTcb[%d].name" % i)
        state = STATES[c.value("OsTcb[%d].state" % i)]
        prio = c.value("OsTcb[%d].cur_prio" % i)
        t = threads[i + 1]
        check_equal(t.get("name"), name, "task %d name (MI)" % i)
        check_equal(t.get("details"), "%s, priority %d" % (state, prio), "task %d details" % i)
        check('Thread %d "%s" (%s, priority %d)' % (i + 1, name, state, prio) in listing,
              "info threads lists task %d as %s %s" % (i, name, state))
        check_equal(t.get("core"), "0" if i == running else None, "task %d core" % i)


def check_switched_out_tasks(c):
    count = c.value("sizeof(OsTcb)/sizeof(OsTcb[0])")
    running = c.value("OsRunningId")
    threads, _ = threads_by_target_id(c)
    with_context = 0
    for i in range(count):
        if i == running:
            continue
        gdb_thread = threads[i + 1]["id"]
        regs = registers_of(c, gdb_thread)
        if c.value("OsTcb[%d].sp != 0" % i) == 0:
            check(all(regs[r] is None for r in REGISTERS),
                  "task %d without a context has no registers" % i)
            continue
        with_context += 1
        saved = saved_registers(c, i)
        for r in REGISTERS:
            check_equal(regs[r], saved[r], "task %d register %s (MI)" % (i, r))
        frames = c.mi("-stack-list-frames --thread %s" % gdb_thread).results["stack"]
        check_equal(int(frames[0]["addr"], 16), saved["pc"], "task %d frame 0 is its pc" % i)
        check_equal(frames[0].get("func"), symbol_of(c, saved["pc"]),
                    "task %d frame 0 function" % i)
        check_equal(frames[-1].get("func"), "os_task_exit", "task %d backtrace ends" % i)
        c.cli("thread %s" % gdb_thread)
        bt = c.cli("bt")
        check(frames[0]["func"] in bt.splitlines()[0], "task %d bt (CLI): %r" % (i, bt))
        info = c.cli("info registers pc sp")
        check(re.search(r"^pc\s+0x%x\b" % saved["pc"], info, re.M) is not None,
              "task %d info registers pc: %r" % (i, info))
        check(re.search(r"^sp\s+0x%x\b" % saved["sp"], info, re.M) is not None,
              "task %d info registers sp: %r" % (i, info))
    check(with_context >= 3, "at least three switched-out tasks have contexts (%d)" % with_context)


def check_step_refused(c):
    threads, current = threads_by_target_id(c)
    logger = 2  # Task_Logger: preempted, with a context
    switches = c.value("OsSwitchCount")
    pc = registers_of(c, threads[logger + 1]["id"])["pc"]
    c.cli("thread %s" % threads[logger + 1]["id"])
    reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
    check("is not running, so it cannot be stepped" in reply.console,
          "stepping a switched-out task is refused with a reason: %r" % reply.console)
    check_equal(c.value("OsSwitchCount"), switches, "the target did not run")
    check_equal(registers_of(c, threads[logger + 1]["id"])["pc"], pc, "its pc is unchanged")
    c.cli("thread %s" % current)


def check_monitor(c):
    text = c.cli("monitor orti tasks")
    for i in range(c.value("sizeof(OsTcb)/sizeof(OsTcb[0])")):
        name = c.string("OsTcb[%d].name" % i)
        state = STATES[c.value("OsTcb[%d].state" % i)]
        check(re.search(r"\b%d\s+%s\s+%s\b" % (i + 1, name, state), text) is not None,
              "monitor orti tasks shows task %d: %r" % (i, text))


def check_show(c):
    text = c.cli("monitor orti show ALARM")
    header = [line for line in text.splitlines() if line.startswith("#  NAME")]
    check(header and "ALARMTIME" in header[0] and "STATE" in header[0],
          "monitor orti show names the attribute columns: %r" % text)
    for i in range(c.value("sizeof(OsAlarm)/sizeof(OsAlarm[0])")):
        name = c.string("OsAlarm[%d].name" % i)
        state = ["STOPPED", "RUNNING"][c.value("OsAlarm[%d].state" % i)]
        check(re.search(r"^%d\s+%s\s.*\b%s\b" % (i + 1, name, state), text, re.M) is not None,
              "monitor orti show ALARM shows %s %s: %r" % (name, state, text))


def check_stacks(c):
    """monitor orti stacks against the fill pattern in the firmware's memory: from the low end
    of each stack (they grow down), the words that still hold it were never touched."""
    text = c.cli("monitor orti stacks")
    for i in range(c.value("sizeof(OsStackCfg)/sizeof(OsStackCfg[0])")):
        cfg = "OsStackCfg[%d]" % i
        name, size = c.string(cfg + ".name"), c.value(cfg + ".size")
        # Each line of x is "ADDRESS <SYMBOL+N>:" and then the words.
        dump = c.cli("x/%dxw (unsigned int)%s.base" % (size // 4, cfg))
        words = [int(w, 16) for line in dump.splitlines() if ":" in line
                 for w in line.split(":", 1)[1].split()]
        untouched = next((k for k, w in enumerate(words) if w != 0xAAAAAAAA), len(words))
        used = size - 4 * untouched
        owners = [c.string("OsTcb[%d].name" % t)
                  for t in range(c.value("sizeof(OsTcb)/sizeof(OsTcb[0])"))
                  if c.value("OsTcb[%d].stack - OsStackCfg" % t) == i]
        row = r"^%s\s+%s\s*%d\s+%d\s+%d\s" % (name, re.escape(", ".join(owners)), size, used,
                                              size - used)
        check(len(words) == size // 4 and re.search(row, text, re.M) is not None,
              "monitor orti stacks shows %s with %d of %d used by %r: %r"
              % (name, used, size, owners, text))


def check_later_breakpoint(c):
    before = c.value("OsRunningId")
    c.mi("-break-insert OsTask_Task_Report")
    reply = c.mi("-exec-continue", until_stopped=True)
    stop = [r for r in reply.records if r[1] == "stopped"][-1][2]
    check_equal(stop.get("reason"), "breakpoint-hit", "stopped at the breakpoint")
    running = c.value("OsRunningId")
    check(running != before, "another task runs after continue")
    threads, current = threads_by_target_id(c)
    check_equal(stop.get("thread-id"), threads[running + 1]["id"],
                "the breakpoint names the running task's thread")
    check_equal(current, threads[running + 1]["id"], "that thread is selected")
    check_equal(threads[running + 1].get("name"), c.string("OsTcb[%d].name" % running),
                "it is Task_Report")
    check(not threads[before + 1]["details"].startswith("RUNNING"),
          "the task that ran before is no longer running")
    frames = c.mi("-stack-list-frames").results["stack"]
    check_equal(frames[0].get("func"), "OsTask_Task_Report", "its backtrace is the live one")


def check_interrupt(c):
    """Ctrl-C while the target runs stops it; the stop names the task that ran."""
    c.mi("-break-delete")
    check_equal(c.mi("-exec-continue").klass, "running", "the target runs")
    time.sleep(0.2)
    reply = c.mi("-exec-interrupt", until_stopped=True)
    stops = [r[2] for r in reply.records if r[1] == "stopped"]
    check(stops and stops[-1].get("signal-name") == "SIGINT", "stopped by the interrupt")
    running = c.value("OsRunningId")
    threads, current = threads_by_target_id(c)
    if running != 0xFF:
        check_equal(current, threads[running + 1]["id"], "the interrupt names the running task")


def scenario_threads(elf, proxy, plugin):
    with Chain(elf, ORT, proxy, plugin) as c:
        try:
            c.mi("-break-insert demo_breakpoint")
            c.mi("-exec-continue", until_stopped=True)
            check_threads_at_breakpoint(c)
            check_switched_out_tasks(c)
            check_step_refused(c)
            check_monitor(c)
            check_show(c)
            check_stacks(c)
            check_later_breakpoint(c)
            check_interrupt(c)
            # GDB goes away: the proxy (--once) ends its session and exits by itself.
            c.gdb.kill()
            c.gdb.wait()
            c.proxy.wait(timeout=10)
            check_equal(c.proxy.returncode, 0, "the proxy exits when GDB goes away")
        finally:
            if failures:
                print(c.text("proxy.err"))


def plugin_pid(c):
    m = re.search(r"\(pid (\d+)\)", c.cli("monitor orti status"))
    return int(m.group(1)) if m else None


def scenario_faults(elf, proxy, plugin):
    with Chain(elf, ORT, proxy, plugin, ["--plugin-timeout", "1"]) as c:
        try:
            c.mi("-break-insert demo_breakpoint")
            c.mi("-exec-continue", until_stopped=True)
            threads, _ = threads_by_target_id(c)
            check(len(threads) > 1, "tasks are threads to begin with")
            # Formulas that name a symbol the program lacks, or read memory that cannot be
            # read: GDB's console says which formula and why, the rest goes on.
            c.cli('monitor orti cmd expr Task_Init.PRIORITY = "NoSuchSymbol + 1"')
            c.cli('monitor orti cmd expr Task_Control.PRIORITY = "*(unsigned char *)0x30000000"')
            reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
            check('"NoSuchSymbol + 1": no symbol "NoSuchSymbol"' in reply.console,
                  "a missing symbol is named: %r" % reply.console)
            check("cannot read 1 byte at 0x30000000" in reply.console,
                  "unreadable memory is named: %r" % reply.console)
            threads, _ = threads_by_target_id(c)
            check_equal(threads[3].get("name"), "Task_Logger", "the other tasks are still shown")
            # A plug-in that stops answering is ended; the next stop shows the plain core.
            pid = plugin_pid(c)
            check(pid is not None, "monitor orti status names the plug-in's pid")
            os.kill(pid, signal.SIGSTOP)
            reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
            threads, _ = threads_by_target_id(c)
            check_equal(len(threads), 1, "one thread, the core, while the plug-in cannot answer")
            check("did not answer in time" in reply.console,
                  "GDB's console says why: %r" % reply.console)
            check_equal(c.mi("-stack-list-frames").results["stack"][0].get("func"),
                        "demo_breakpoint", "the core's backtrace still works")
            # It is started again at the next stop, and the tasks come back.
            reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
            check("starting the plug-in again" in reply.console, "the plug-in is started again")
            threads, _ = threads_by_target_id(c)
            check_equal(len(threads), c.value("sizeof(OsTcb)/sizeof(OsTcb[0])"),
                        "the tasks are back")
            # A plug-in that dies: the same.
            os.kill(plugin_pid(c), signal.SIGKILL)
            reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
            check("plug-in" in reply.console and "plain cores" in reply.console,
                  "GDB's console says the plug-in is gone: %r" % reply.console)
            # The server goes away: GDB is told, the proxy ends its session and exits.
            c.qemu.kill()
            c.qemu.wait()
            reply = c.mi("-data-read-memory-bytes 0x20000000 8")
            check_equal(reply.klass, "error", "GDB sees the connection end")
            c.proxy.wait(timeout=10)
            check_equal(c.proxy.returncode, 0, "the proxy exits (--once) without a crash")
            check("closed the connection" in c.text("proxy.err"), "the proxy says why")
        finally:
            if failures:
                print(c.text("proxy.err"))


# -- two cores ------------------------------------------------------------------------------

SMP_CORES = 2
SMP_REGISTERS = ["r%d" % i for i in range(13)] + ["sp", "lr", "pc", "cpsr"]


def smp_saved_registers(c, task):
    """What the dual-core kernel saved for the task (see its README): r0-r12, lr, pc and cpsr
    on the task's stack, sp just above them."""
    frame = "((unsigned int *)OsTcb[%d].sp)" % task
    words = [c.value("%s[%d]" % (frame, i)) for i in range(16)]
    regs = {"r%d" % i: words[i] for i in range(13)}
    regs.update(lr=words[13], pc=words[14], cpsr=words[15])
    regs["sp"] = c.value("(unsigned int)OsTcb[%d].sp" % task) + 64
    return regs


def smp_running(c):
    return [c.value("OsCore[%d].running_id" % k) for k in range(SMP_CORES)]


def smp_entry(c, task):
    return symbol_of(c, c.value("(unsigned int)OsTcb[%d].entry" % task))


def check_smp_frames(c, gdb_thread, task, what):
    """The backtrace of a task's thread ends in its entry function, called from os_task_exit:
    every frame between was unwound from the registers the thread has. Gives the frames."""
    frames = c.mi("-stack-list-frames --thread %s" % gdb_thread).results["stack"]
    names = [f.get("func") for f in frames]
    check_equal(names[-2:], [smp_entry(c, task), "os_task_exit"], what + " backtrace ends")
    return frames


def check_smp_tasks(c):
    """Every task of both cores is a thread with its name and state; the running task of each
    core carries that core, and the breakpoint (on core 0) selected core 0's."""
    count = c.value("sizeof(OsTcb)/sizeof(OsTcb[0])")
    running = smp_running(c)
    threads, current = threads_by_target_id(c)
    check_equal(sorted(threads), list(range(1, count + 1)), "one thread per task of both cores")
    check_equal(current, threads[running[0] + 1]["id"], "the stop names core 0's running task")
    listing = c.cli("info threads")
    table = c.cli("monitor orti tasks")
    for i in range(count):
        name = c.string("OsTcb[%d].name" % i)
        state = STATES[c.value("OsTcb[%d].state" % i)]
        prio = c.value("OsTcb[%d].cur_prio" % i)
        cores = [k for k in range(SMP_CORES) if running[k] == i]
        t = threads[i + 1]
        check_equal(t.get("name"), name, "task %d name (MI)" % i)
        check_equal(t.get("details"), "%s, priority %d" % (state, prio), "task %d details" % i)
        check_equal(t.get("core"), str(cores[0]) if cores else None, "task %d core (MI)" % i)
        check('Thread %d "%s" (%s, priority %d)' % (i + 1, name, state, prio) in listing,
              "info threads lists task %d as %s %s" % (i, name, state))
        row = r"^%s\s+%d\s+%s\s+%s\s+%d\s*%s$" % (r"\*" if cores else "", i + 1, name, state,
                                                 prio, cores[0] if cores else "")
        check(re.search(row, table, re.M) is not None,
              "monitor orti tasks shows task %d on core %s: %r" % (i, cores, table))


def check_smp_switched_out(c):
    """The saved registers and the backtrace of every switched-out task, on both cores."""
    count = c.value("sizeof(OsTcb)/sizeof(OsTcb[0])")
    threads, current = threads_by_target_id(c)
    seen = set()
    for i in range(count):
        if i in smp_running(c) or c.value("OsTcb[%d].sp != 0" % i) == 0:
            continue
        core = c.value("OsTcb[%d].core" % i)
        gdb_thread = threads[i + 1]["id"]
        saved = smp_saved_registers(c, i)
        regs = registers_of(c, gdb_thread)
        for r in SMP_REGISTERS:
            check_equal(regs[r], saved[r], "task %d (core %d) register %s" % (i, core, r))
        frames = check_smp_frames(c, gdb_thread, i, "task %d (core %d)" % (i, core))
        check_equal(int(frames[0]["addr"], 16), saved["pc"], "task %d frame 0 is its pc" % i)
        if core not in seen:
            # Once per core through the CLI, as a user types it.
            seen.add(core)
            c.cli("thread %s" % gdb_thread)
            bt = c.cli("bt")
            check(frames[0]["func"] in bt.splitlines()[0], "task %d bt (CLI): %r" % (i, bt))
            info = c.cli("info registers pc sp")
            check(re.search(r"^pc\s+0x%x\b" % saved["pc"], info, re.M) is not None and
                  re.search(r"^sp\s+0x%x\b" % saved["sp"], info, re.M) is not None,
                  "task %d info registers pc sp: %r" % (i, info))
    check_equal(sorted(seen), list(range(SMP_CORES)), "switched-out tasks on both cores")
    c.cli("thread %s" % current)


def check_smp_live(c, core, what):
    """The running task of core has that core's live registers: its TPIDRPRW points at the
    core's own OsCore entry and its sp lies in the task's stack."""
    task = smp_running(c)[core]
    threads, _ = threads_by_target_id(c)
    regs = registers_of(c, threads[task + 1]["id"])
    check_equal(regs.get("TPIDRPRW"), c.value("(unsigned int)&OsCore[%d]" % core),
                "%s: the running task's TPIDRPRW is core %d's" % (what, core))
    base = c.value("(unsigned int)OsTcb[%d].stack->base" % task)
    size = c.value("OsTcb[%d].stack->size" % task)
    check(base <= regs["sp"] < base + size, "%s: sp 0x%x in the task's stack" % (what, regs["sp"]))
    frames = check_smp_frames(c, threads[task + 1]["id"], task, what)
    check_equal(frames[0].get("func"), symbol_of(c, regs["pc"]), what + " frame 0 is live")
    return task, regs


def check_smp_running(c):
    names = []
    for core in range(SMP_CORES):
        task, regs = check_smp_live(c, core, "core %d" % core)
        name = c.string("OsTcb[%d].name" % task)
        names.append(name)
        text = c.cli("monitor orti regs %s" % name)
        check("(running: live registers)" in text and
              re.search(r"^pc\s+0x%08x$" % regs["pc"], text, re.M) is not None and
              re.search(r"^sp\s+0x%08x$" % regs["sp"], text, re.M) is not None,
              "monitor orti regs %s gives core %d's live pc and sp: %r" % (name, core, text))
    check(names[0] != names[1], "each core runs a task of its own: %r" % names)


def table_rows(text):
    """The rows of the table in text as dicts by column header; cells are cut where the rule
    line under the header marks the columns (a cell may hold blanks)."""
    lines = text.splitlines()
    rule = next(i for i, line in enumerate(lines) if line.startswith("-"))
    starts = [m.start() for m in re.finditer(r"-+", lines[rule])]
    bounds = list(zip(starts, starts[1:] + [None]))
    headers = [lines[rule - 1][a:b].strip() for a, b in bounds]
    return [dict(zip(headers, (line[a:b].strip() for a, b in bounds)))
            for line in lines[rule + 1:] if line.strip()]


def check_smp_os_per_core(c):
    """monitor orti show OS gives each core's elements in a row of its own; other monitor
    commands answer for the core of the selected thread."""
    rows = dict((r.get("CORE"), r) for r in table_rows(c.cli("monitor orti show OS")))
    threads, current = threads_by_target_id(c)
    for core, task in enumerate(smp_running(c)):
        name = c.string("OsTcb[%d].name" % task)
        row = rows.get(str(core), {})
        check_equal(row.get("RUNNINGTASK"), name, "show OS: core %d's RUNNINGTASK" % core)
        check_equal(int(row.get("vs_TICKS", "-1"), 0),
                    c.value("OsCore[%d].counter->value" % core),
                    "show OS: core %d's vs_TICKS" % core)
        c.cli("thread %s" % threads[task + 1]["id"])
        shown = c.cli("monitor orti cmd expr DemoKernelSmp.RUNNINGTASK")
        check(shown.rstrip().endswith(":= %s" % name),
              "monitor orti cmd on core %d's thread: %r" % (core, shown))
    check_equal(sorted(rows), [str(k) for k in range(SMP_CORES)], "show OS: a row per core")
    c.cli("thread %s" % current)


def check_smp_step_refused(c):
    """A switched-out task of the second core cannot be stepped; nothing runs."""
    threads, current = threads_by_target_id(c)
    task = next(i for i in range(c.value("sizeof(OsTcb)/sizeof(OsTcb[0])"))
                if c.value("OsTcb[%d].core" % i) == 1 and c.value("OsTcb[%d].sp != 0" % i) and
                i not in smp_running(c))
    switches = [c.value("OsCore[%d].switch_count" % k) for k in range(SMP_CORES)]
    c.cli("thread %s" % threads[task + 1]["id"])
    reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
    check("is not running, so it cannot be stepped" in reply.console,
          "stepping task %d of core 1 is refused: %r" % (task, reply.console))
    check_equal([c.value("OsCore[%d].switch_count" % k) for k in range(SMP_CORES)], switches,
                "neither core ran")
    c.cli("thread %s" % current)


def check_smp_breakpoint_on_core1(c):
    """A breakpoint that only core 1 reaches names core 1's running task, which has changed
    since; core 0's running task keeps core 0. A step there stays on that thread."""
    before = smp_running(c)
    with open(os.path.join(root, "examples", "demo_target_smp", "app.c")) as f:
        line = next(n for n, text in enumerate(f, 1) if 'demo_say("filter done"' in text)
    c.mi("-break-insert app.c:%d" % line)
    reply = c.mi("-exec-continue", until_stopped=True, timeout=30)
    stop = [r for r in reply.records if r[1] == "stopped"][-1][2]
    check_equal(stop.get("reason"), "breakpoint-hit", "stopped at the breakpoint on core 1")
    running = smp_running(c)
    threads, current = threads_by_target_id(c)
    check(running[1] != before[1], "another task runs on core 1: %r" % running)
    check_equal(stop.get("thread-id"), threads[running[1] + 1]["id"],
                "the breakpoint names core 1's running task")
    check_equal(current, threads[running[1] + 1]["id"], "that thread is selected")
    check_equal(threads[running[1] + 1].get("core"), "1", "it carries core 1")
    check_equal(threads[running[0] + 1].get("core"), "0", "core 0's running task keeps core 0")
    check(not threads[before[1] + 1]["details"].startswith("RUNNING"),
          "the task that ran on core 1 before no longer runs")
    task, regs = check_smp_live(c, 1, "at the breakpoint")
    reply = c.mi('-interpreter-exec console "stepi"', until_stopped=True)
    stop = [r for r in reply.records if r[1] == "stopped"][-1][2]
    check_equal(stop.get("thread-id"), current, "the step's stop names the stepped thread")
    check(registers_of(c, current)["pc"] != regs["pc"], "the step moved core 1's pc")


def scenario_smp(elf, proxy, plugin):
    with Chain(elf, SMP_ORT, proxy, plugin, board="virt-smp2") as c:
        try:
            c.mi("-break-insert demo_breakpoint")
            c.mi("-exec-continue", until_stopped=True, timeout=30)
            c.mi("-break-delete")
            check_smp_tasks(c)
            check_smp_switched_out(c)
            check_smp_running(c)
            check_smp_os_per_core(c)
            check_smp_step_refused(c)
            check_smp_breakpoint_on_core1(c)
        finally:
            if failures:
                print(c.text("proxy.err"))


def main():
    scenario, elf, proxy, plugin = sys.argv[1:5]
    started = time.monotonic()
    try:
        {"threads": scenario_threads, "faults": scenario_faults,
         "smp": scenario_smp}[scenario](elf, proxy, plugin)
    except ChainError as e:
        failures.append(str(e))
        print("FAIL: %s" % e)
    print("%s: %d checks, %d failures in %.1f s" % (scenario, checks[0], len(failures),
                                                   time.monotonic() - started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
