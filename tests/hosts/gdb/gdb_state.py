# What GDB itself reads of the stopped demo target, for the checks run in gdb-multiarch
# (check_chain.py, check_chain_smp.py, tests/demo_target_smp/check_target.py), and the
# tables the ORTI host prints, read back by column.
import gdb

# The core registers of both demo targets' CPUs, as GDB names them.
REGS = ["r%d" % i for i in range(13)] + ["sp", "lr", "pc"]


def out(command):
    return gdb.execute(command, to_string=True)


def ev(expr):
    return gdb.parse_and_eval(expr)


def num(expr):
    return int(ev(expr))


def text(expr):
    return ev(expr).string()


def table(output, title=None):
    """Rows of the first table in output (after the line that starts with title), as dicts
    by column header; cells are cut at the columns the rule line marks."""
    lines = output.splitlines()
    start = 0
    if title is not None:
        start = next(i for i, line in enumerate(lines) if line.startswith(title)) + 1
    rule = next(i for i in range(start, len(lines)) if lines[i].startswith("-"))
    starts = [i for i, c in enumerate(lines[rule])
              if c == "-" and (i == 0 or lines[rule][i - 1] == " ")]
    bounds = list(zip(starts, starts[1:] + [None]))
    headers = [lines[rule - 1][s:e].strip() for s, e in bounds]
    rows = []
    for line in lines[rule + 1:]:
        if not line.strip() or line.startswith("orti:"):
            break
        rows.append(dict(zip(headers, [line[s:e].strip() for s, e in bounds])))
    return rows


def thread_of_core(core):
    """GDB's thread of a core of a multi-core target: thread 1.(core + 1)."""
    return next(t for t in gdb.selected_inferior().threads() if t.num == core + 1)


def on_core(core, read):
    """What read() gives on core's thread; the thread selected before is selected again."""
    selected = gdb.selected_thread()
    thread_of_core(core).switch()
    try:
        return read()
    finally:
        selected.switch()


def registers(names):
    """The named registers of the selected thread's newest frame, as 32-bit numbers."""
    frame = gdb.newest_frame()
    return dict((n, int(frame.read_register(n)) & 0xFFFFFFFF) for n in names)


def frame_names():
    """The function names of the selected thread's backtrace, at most 16 frames."""
    names = []
    frame = gdb.newest_frame()
    while frame is not None and len(names) < 16:
        names.append(frame.name())
        frame = frame.older()
    return names


def backtrace_from(core, regs):
    """The function names of the backtrace that regs (values of REGS) give on core's
    thread, found by GDB itself; the thread gets its own registers back."""

    def unwind():
        live = registers(REGS)
        try:
            for n in REGS:
                gdb.execute("set $%s = %d" % (n, regs[n]))
            return frame_names()
        finally:
            for n in REGS:
                gdb.execute("set $%s = %d" % (n, live[n]))

    return on_core(core, unwind)
