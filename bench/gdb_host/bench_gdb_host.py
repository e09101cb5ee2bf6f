# What the GDB host adds to each exchange with the plug-in (run by hand; not a test). Runs
# inside GDB stopped at demo_breakpoint() of the demo target under QEMU; run.sh starts it:
#
#   bench/gdb_host/run.sh [BUILD_DIR] [ROUNDS]
#
# Prints, each with its goal:
# - the machine's limit: a bare pipe round trip between GDB's Python and a child (cat) with
#   a message of an attribute call's size, the child where the scheduler puts it and the child
#   on GDB's CPU with GDB's thread held there, as the host does during a call (set orti
#   same-cpu);
# - a cached ObjectListAttribute exchange through the host: wall time, the plug-in's CPU time
#   and the host's own time (the rest of the wall time; its CPU time too) per exchange, and
#   the wall time with same-cpu off;
# - 'orti show' of every kind with the plug-in's caches dropped: wall time, the calls and
#   requests it took, and the shares of the host, the plug-in and GDB's evaluator; against
#   it, the same formulas evaluated by GDB alone, and the floor of any host: the same with a
#   bare round trip before each formula; the same show with every value cached;
# - 'orti tasks' with the caches dropped: the calls and requests it took, and its wall time.
# Every figure is the median of its rounds. CPU times come from the kernel's accounting (the
# thread's CPU clock for GDB, /proc/PID/schedstat for the plug-in), which other processes on
# a busy machine do not inflate the way they inflate wall times.
import json
import os
import select
import statistics
import subprocess
import sys
import time

import gdb

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ORT = os.path.join(ROOT, "examples", "demo_target", "demo_target.ort")
ROUNDS = int(os.environ.get("ORTI_BENCH_ROUNDS", "20"))
EXCHANGES = int(os.environ.get("ORTI_BENCH_EXCHANGES", "2000"))

GOAL_EXCHANGE_US = 30.0
GOAL_SHOW_RATIO = 2.0

gdb.execute("source %s" % os.path.join(ROOT, "hosts", "gdb", "orti_host.py"))
import orti_gdb.commands as host  # noqa: E402
from orti_gdb.affinity import CpuFollower, system_calls  # noqa: E402


def cpu_ns(pid):
    """CPU time a process has run, in nanoseconds."""
    with open("/proc/%d/schedstat" % pid) as f:
        return int(f.read().split()[0])


def own_cpu_ns():
    """CPU time of GDB's thread, the one the host runs in."""
    return time.thread_time_ns()


def median_us(samples):
    return statistics.median(samples) * 1e6


def line(label, value, unit="", goal=None):
    # Ratios with two decimals: one would show 2.04 as the goal's 2.0.
    text = "  %-52s %10.*f %s" % (label, 2 if unit == "x" else 1, value, unit)
    if goal is not None:
        text += "   (goal %s)" % goal
    gdb.write(text.rstrip() + "\n")


# -- the machine's limit ----------------------------------------------------------------

class Echo:
    """A child that echoes what it is sent (cat), written and read the way the host does: a
    write, a wait, one read; with same_cpu the child is on GDB's CPU and GDB's thread held
    there, as the host does with the plug-in."""

    def __init__(self, same_cpu):
        self.child = subprocess.Popen(["cat"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      bufsize=0)
        self.follower = CpuFollower(self.child.pid, *system_calls())
        self.follower.enabled = self.follower.enabled and same_cpu
        self.w, self.r = self.child.stdin.fileno(), self.child.stdout.fileno()
        self.poller = select.poll()
        self.poller.register(self.r, select.POLLIN)

    def round_trip(self, message):
        os.write(self.w, message)
        got = 0
        while got < len(message):
            self.poller.poll(5000)
            got += len(os.read(self.r, 65536))

    def close(self):
        self.follower.let_go()
        self.child.stdin.close()
        self.child.wait()
        self.child.stdout.close()


def pipe_round_trip(message, count, same_cpu):
    """(wall, CPU of this thread) in seconds per round trip of message through an Echo."""
    echo = Echo(same_cpu)
    try:
        walls, cpus = [], []
        for _ in range(ROUNDS):
            echo.follower.follow()
            c0, t0 = own_cpu_ns(), time.perf_counter()
            for _ in range(count):
                echo.round_trip(message)
            walls.append((time.perf_counter() - t0) / count)
            cpus.append((own_cpu_ns() - c0) * 1e-9 / count)
            echo.follower.let_go()
        return statistics.median(walls), statistics.median(cpus)
    finally:
        echo.close()


# -- the host ---------------------------------------------------------------------------

class Counted:
    """While attached, wraps the host's service answers to collect the formulas and to time
    GDB's part of the answers (the evaluator, memory and symbol reads, the messages shown)."""

    def __init__(self, services):
        self.services = services
        self.inner = services.answer
        self.reset()

    def attach(self):
        self.services.answer = self.answer

    def detach(self):
        self.services.answer = self.inner

    def reset(self):
        self.wall = 0.0
        self.cpu = 0
        self.formulas = []

    def answer(self, method, params):
        if method in ("OSA_Service_ExpressionEval", "OSA_Service_StringEval"):
            key = "expression" if method.endswith("ExpressionEval") else "input"
            self.formulas.append((method, params.get(key)))
        c0, t0 = own_cpu_ns(), time.perf_counter()
        try:
            return self.inner(method, params)
        finally:
            self.wall += time.perf_counter() - t0
            self.cpu += own_cpu_ns() - c0


def cached_exchange(session, same_cpu=True):
    """Per cached ObjectListAttribute exchange through the host: (wall, host CPU, plug-in
    CPU) in seconds, medians of the rounds; same_cpu as set orti same-cpu."""
    session.process.same_cpu = same_cpu
    task = session.model().kind(host.TASK_KIND)
    attr = task.id_of("PRIORITY")
    session.call("OSA_Client_ObjectListInit", {"objTypeId": task.type_id, "showAllObjects": 1})
    session._attribute(task.type_id, attr)  # evaluates once; cached from here on
    plugin = session.process._proc.pid
    walls, hosts, plugins = [], [], []
    for _ in range(ROUNDS):
        p0, c0, t0 = cpu_ns(plugin), own_cpu_ns(), time.perf_counter()
        for _ in range(EXCHANGES):
            session._attribute(task.type_id, attr)
        t1, c1, p1 = time.perf_counter(), own_cpu_ns(), cpu_ns(plugin)
        walls.append((t1 - t0) / EXCHANGES)
        hosts.append((c1 - c0) * 1e-9 / EXCHANGES)
        plugins.append((p1 - p0) * 1e-9 / EXCHANGES)
    session.call("OSA_Client_ObjectListCleanup", {"objTypeId": task.type_id})
    session.process.same_cpu = True
    return statistics.median(walls), statistics.median(hosts), statistics.median(plugins)


def exchanges_in(conversation):
    """The calls the host made and the requests the plug-in made in a conversation's part."""
    calls = sum(1 for tag, text in conversation if tag == "TARNO" and b'"method"' in text)
    requests = sum(1 for tag, text in conversation if tag == "PLUGIN" and b'"method"' in text)
    return calls, requests


def run_command(session, command, drop_caches, counted=None):
    """One run of a host command: wall, the calls and requests it took, and with counted its
    shares: host CPU (without GDB's part), plug-in CPU, GDB's wall. Without counted nothing
    but the conversation's own keeping watches the run."""
    if drop_caches:
        session.notify()
    if counted is not None:
        counted.reset()
        counted.attach()
    plugin = session.process._proc.pid
    before = len(session.process.conversation)
    try:
        p0, c0, t0 = cpu_ns(plugin), own_cpu_ns(), time.perf_counter()
        gdb.execute(command, to_string=True)
        t1, c1, p1 = time.perf_counter(), own_cpu_ns(), cpu_ns(plugin)
    finally:
        if counted is not None:
            counted.detach()
    calls, requests = exchanges_in(session.process.conversation[before:])
    run = {"wall": t1 - t0, "calls": calls, "requests": requests}
    if counted is not None:
        run.update({"host": (c1 - c0 - counted.cpu) * 1e-9, "plugin": (p1 - p0) * 1e-9,
                    "gdb": counted.wall})
    return run


def evaluate_alone(formulas, echo=None, message=b""):
    """The formulas of a show evaluated by GDB's evaluator alone, each to the value the
    plug-in asks for (a number, or the text a char pointer or array points at); with echo, a
    bare round trip of message through it before each."""
    for method, formula in formulas:
        if echo is not None:
            echo.round_trip(message)
        try:
            if method == "OSA_Service_ExpressionEval":
                int(gdb.parse_and_eval(formula))
            elif formula.startswith("print /n "):
                value = gdb.parse_and_eval(formula[len("print /n "):])
                code = value.type.strip_typedefs().code
                if code in (gdb.TYPE_CODE_PTR, gdb.TYPE_CODE_ARRAY):
                    value.string()
                else:
                    str(value)
            else:
                gdb.execute("output " + formula[len("print "):], to_string=True)
        except gdb.error:
            pass


def median_of(runs, key):
    return statistics.median(r[key] for r in runs)


def main():
    plugin = os.environ["ORTI_PLUGIN"]
    gdb.execute("set orti plugin %s" % plugin)
    gdb.execute("orti load %s" % ORT, to_string=True)
    session = host.HOST.session
    counted = Counted(host.HOST.services)
    # A real call's bytes, for the pipe's limit.
    request = json.dumps({"jsonrpc": "2.0", "method": "OSA_Client_ObjectListAttribute",
                          "params": {"context": 1, "objTypeId": 1, "objAtrId": 3,
                                     "valueType": 0}, "id": 12345},
                         separators=(",", ":")).encode()

    gdb.write("GDB host benchmark, %d rounds (medians)\n" % ROUNDS)
    gdb.write("machine's limit\n")
    # The load's calls hold GDB's thread on a CPU, and a script sees no prompt to end that.
    session.process.let_go_cpu()
    apart, apart_cpu = pipe_round_trip(request, EXCHANGES, False)
    pipe, pipe_cpu = pipe_round_trip(request, EXCHANGES, True)
    line("bare pipe round trip GDB's Python <-> cat, wall", apart * 1e6, "us")
    line("bare pipe round trip GDB's Python <-> cat, CPU", apart_cpu * 1e6, "us")
    line("  the same with cat on GDB's CPU, wall", pipe * 1e6, "us")
    line("  the same with cat on GDB's CPU, CPU", pipe_cpu * 1e6, "us")

    gdb.write("cached ObjectListAttribute exchange through the host\n")
    wall, own, plug = cached_exchange(session)
    line("wall time per exchange", wall * 1e6, "us")
    line("  plug-in's time (CPU)", plug * 1e6, "us")
    line("  host's own time (the wall time less the plug-in's)", (wall - plug) * 1e6, "us",
         "<= %g us" % GOAL_EXCHANGE_US)
    line("  host's own CPU time", own * 1e6, "us")
    line("wall time over the bare pipe round trip on one CPU", wall / pipe, "x")
    line("host's CPU over the bare pipe round trip's on one CPU", own / pipe_cpu, "x")
    wall_apart = cached_exchange(session, same_cpu=False)[0]
    line("wall time per exchange with set orti same-cpu off", wall_apart * 1e6, "us")

    gdb.write("orti show, every kind, caches dropped\n")
    run_command(session, "orti show", True, counted)  # warms GDB's symbol tables
    formulas = list(counted.formulas)
    # Each round a show and the evaluator alone right after it, so that both meet the same
    # load of the machine; the shares are taken in rounds of their own, their timing being
    # a cost of its own.
    dropped, alone, interleaved = [], [], []
    echo = Echo(True)
    try:
        for _ in range(ROUNDS):
            dropped.append(run_command(session, "orti show", True))
            t0 = time.perf_counter()
            evaluate_alone(formulas)
            t1 = time.perf_counter()
            alone.append(t1 - t0)
            echo.follower.follow()
            evaluate_alone(formulas, echo, request)
            interleaved.append(time.perf_counter() - t1)
    finally:
        echo.close()
    shares = [run_command(session, "orti show", True, counted) for _ in range(ROUNDS)]
    ratios = [d["wall"] / a for d, a in zip(dropped, alone)]
    exchanges = median_of(dropped, "calls") + median_of(dropped, "requests")
    line("exchanges: calls to the plug-in", median_of(dropped, "calls"))
    line("exchanges: requests of the plug-in (%d formulas)" % len(formulas),
         median_of(dropped, "requests"))
    line("wall time", median_of(dropped, "wall") * 1e3, "ms")
    line("  host's own (CPU)", median_of(shares, "host") * 1e3, "ms")
    line("  plug-in (CPU)", median_of(shares, "plugin") * 1e3, "ms")
    line("  GDB answering the requests (wall)", median_of(shares, "gdb") * 1e3, "ms")
    line("  the rest: waiting for the other side to run",
         statistics.median(d["wall"] - d["host"] - d["plugin"] - d["gdb"] for d in shares) * 1e3,
         "ms")
    line("the same formulas in GDB's evaluator alone", statistics.median(alone) * 1e3, "ms")
    line("orti show over the evaluator alone", statistics.median(ratios), "x",
         "<= %g x" % GOAL_SHOW_RATIO)
    line("  the same, best round over best round",
         min(d["wall"] for d in dropped) / min(alone), "x")
    # No host can do with less than the evaluator's time and a bare round trip per exchange;
    # taking turns with another process slows the evaluator itself too (caches, wakes), so
    # the floor is measured with the round trips between the formulas.
    floor = statistics.median(interleaved)
    line("floor: alone, a bare round trip before each formula", floor * 1e3, "ms")
    line("  added up: alone + a bare round trip per exchange",
         (statistics.median(alone) + exchanges * pipe) * 1e3, "ms")
    line("orti show over the floor", median_of(dropped, "wall") / floor, "x")

    gdb.write("orti show, every kind, every value cached\n")
    cached = [run_command(session, "orti show", False, counted) for _ in range(ROUNDS)]
    line("exchanges: calls to the plug-in", median_of(cached, "calls"))
    line("wall time", median_of(cached, "wall") * 1e3, "ms")
    line("  host's own (CPU)", median_of(cached, "host") * 1e3, "ms")
    line("  plug-in (CPU)", median_of(cached, "plugin") * 1e3, "ms")
    line("wall time per call", median_of(cached, "wall") / median_of(cached, "calls") * 1e6,
         "us")

    gdb.write("orti tasks, caches dropped\n")
    tasks = [run_command(session, "orti tasks", True) for _ in range(ROUNDS)]
    line("exchanges: calls to the plug-in", median_of(tasks, "calls"))
    line("exchanges: requests of the plug-in", median_of(tasks, "requests"))
    line("wall time", median_of(tasks, "wall") * 1e3, "ms")
    host.HOST.stop_session()


try:
    main()
except Exception:
    import traceback
    traceback.print_exc(file=sys.stdout)
    sys.stdout.flush()
    gdb.execute("quit 1")
gdb.execute("quit 0")
