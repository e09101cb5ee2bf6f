"""Keeps the plug-in and GDB's thread on one CPU while a call lasts.

GDB and the plug-in take turns: whatever one writes, the other is waiting for, and they never
run at once. On two CPUs every turn wakes the other CPU, which on a virtual machine costs tens
of microseconds (an interrupt between virtual CPUs, often out of an idle halt), several times
the work of a whole exchange. So at a call's start the host moves the plug-in to the CPU it
runs on itself, and holds its own thread there. Moving the plug-in alone is not enough: when
the plug-in's write wakes GDB, the scheduler prefers the idle CPU for GDB, and from there
every later turn crosses again. Only GDB's thread is held (its other threads are not), and
only until GDB waits for the user or the target: then it gets its own CPUs back, the
scheduler moves it as it likes, and the plug-in follows at the next call.

Where the system cannot say or set a thread's CPU (not Linux, a C library without
sched_getcpu, a call refused), nothing is moved and nothing else changes.
"""

import functools
import os


def _libc_current_cpu():
    """sched_getcpu of the C library as a function, or None. It is read from a per-CPU page
    without a system call, so asking before every call costs well under a microsecond."""
    try:
        import ctypes

        getcpu = ctypes.CDLL(None, use_errno=True).sched_getcpu
    except (ImportError, OSError, AttributeError):
        return None
    getcpu.restype = ctypes.c_int
    getcpu.argtypes = []
    return getcpu


@functools.lru_cache(maxsize=None)
def system_calls():
    """(current_cpu, get_cpus, set_cpus) of this system, or three None where it lacks one;
    looked up once, since every plug-in started needs them."""
    get_cpus = getattr(os, "sched_getaffinity", None)
    set_cpus = getattr(os, "sched_setaffinity", None)
    current_cpu = _libc_current_cpu() if get_cpus and set_cpus else None
    if current_cpu is None:
        return None, None, None
    return current_cpu, get_cpus, set_cpus


class CpuFollower:
    """Moves the process pid to the caller's CPU when that CPU changed since the last move,
    and holds the calling thread on that CPU until let_go().

    current_cpu() gives the calling thread's CPU (negative when unknown); get_cpus(pid) and
    set_cpus(pid, cpus) have the forms of os.sched_getaffinity and os.sched_setaffinity, pid 0
    being the calling thread. A refused call turns the follower off for good: the plug-in then
    runs where the scheduler puts it, which is merely slower; let_go() still gives a thread
    held before the refusal its CPUs back.
    """

    def __init__(self, pid, current_cpu, get_cpus, set_cpus):
        self.pid = pid
        self._current_cpu = current_cpu
        self._get_cpus = get_cpus
        self._set_cpus = set_cpus
        self.enabled = None not in (current_cpu, get_cpus, set_cpus)
        self.cpu = None  # where the plug-in was put last; None: where the scheduler put it
        self.moves = 0
        self._allowed = None  # the plug-in's own CPUs before the first move
        self._caller_cpus = None  # the calling thread's own CPUs while it is held

    def follow(self):
        if not self.enabled or self._caller_cpus is not None:
            return
        cpu = self._current_cpu()
        if cpu < 0:
            return
        try:
            if self._allowed is None:
                self._allowed = self._get_cpus(self.pid)
            if cpu not in self._allowed:
                # GDB was moved where the plug-in may not go (the user narrowed its CPUs).
                return
            # Asked at every call: the user may have narrowed GDB's CPUs since the last.
            own = self._get_cpus(0)
            if cpu in own and len(own) > 1:
                self._set_cpus(0, {cpu})
                self._caller_cpus = own
            if cpu != self.cpu:
                self._set_cpus(self.pid, {cpu})
                self.cpu = cpu
                self.moves += 1
        except (OSError, ValueError):
            self.enabled = False

    def let_go(self):
        """Gives the calling thread its own CPUs back, when follow() held it on one."""
        own, self._caller_cpus = self._caller_cpus, None
        if own is None:
            return
        try:
            self._set_cpus(0, own)
        except (OSError, ValueError):
            self.enabled = False

    def release(self):
        """Gives the plug-in its own CPUs back (following turned off by the user)."""
        if self.cpu is None:
            return
        self.cpu = None
        try:
            self._set_cpus(self.pid, self._allowed)
        except (OSError, ValueError):
            self.enabled = False
