"""The target's cores as GDB shows them. A bare-metal target's stub (QEMU's, OpenOCD's, a probe's
GDB server) gives each CPU as one thread of the inferior; core k (counted from 0, as the ORTI
file's array indices are) is the thread with the k-th smallest number, and the plug-in hears of
it as core k + 1. Whatever selects another core's thread here puts the selected thread and frame
back afterwards, on every path."""

import contextlib

import gdb


class CoreUnavailable(Exception):
    """A core the target lacks, or whose thread GDB cannot switch to; the text is one line."""


def threads():
    """The threads of the selected inferior in core order; none without a process."""
    try:
        inferior = gdb.selected_inferior()
        if inferior.pid == 0:
            return []
        return sorted((t for t in inferior.threads() if t.is_valid()), key=lambda t: t.num)
    except (gdb.error, RuntimeError):
        return []


def count():
    """How many cores the target has: 1 without a process."""
    return max(1, len(threads()))


def selected():
    """The core of the selected thread, or None without a process."""
    try:
        current = gdb.selected_thread()
    except gdb.error:
        return None
    if current is None:
        return None
    for core, thread in enumerate(threads()):
        if thread.ptid == current.ptid:
            return core
    return None


def thread_name(core):
    """How GDB names core's thread ("1.2"), or a plain core number for a core the target
    lacks."""
    ts = threads()
    if core < len(ts):
        return "%d.%d" % (ts[core].inferior.num, ts[core].num)
    return "of core %d" % core


def _selected_frame_level():
    try:
        return gdb.selected_frame().level()
    except gdb.error:
        return None


def select_level(level):
    """Selects the frame at level of the selected thread, quietly (the frame command would
    print its source line even into a string)."""
    if level is None:
        return
    try:
        frame = gdb.newest_frame()
        for _ in range(level):
            older = frame.older()
            if older is None:
                break
            frame = older
        frame.select()
    except gdb.error:
        pass


def known():
    """How many cores the target shows (0 without a process: nothing is known of them)."""
    return len(threads())


def on_if_there(core):
    """on(core) when the target shows that core, else nothing changes (without a process the
    formulas read the program file, whatever the core)."""
    return on(core) if core < known() else contextlib.nullcontext()


@contextlib.contextmanager
def on(core):
    """Runs the body with core's thread selected (nothing changes when it is selected already);
    GDB's selected thread and frame are put back afterwards. CoreUnavailable when the target
    has no such core or GDB cannot switch to its thread."""
    ts = threads()
    if core < 0 or core >= len(ts):
        raise CoreUnavailable("the target has no core %d (it has %d)" % (core, count()))
    target = ts[core]
    current = gdb.selected_thread()
    if current is not None and current.ptid == target.ptid:
        yield
        return
    level = _selected_frame_level()
    try:
        target.switch()
    except gdb.error as e:
        raise CoreUnavailable("GDB cannot switch to thread %s of core %d: %s"
                              % (thread_name(core), core, e))
    try:
        yield
    finally:
        try:
            if current is not None and current.is_valid():
                current.switch()
                select_level(level)
        except gdb.error:
            pass


@contextlib.contextmanager
def live(core):
    """Runs the body with core's thread selected at its innermost frame, whose registers are
    the core's live ones, and gives that frame; GDB's selected thread and frame are put back
    afterwards, also when core's thread is the selected one."""
    was_selected = selected() == core
    level = _selected_frame_level()
    with on(core):
        try:
            frame = gdb.newest_frame()
            frame.select()
            yield frame
        finally:
            if was_selected:
                select_level(level)
