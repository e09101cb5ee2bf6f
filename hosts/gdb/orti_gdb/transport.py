"""The plug-in as a child process: start, write, read with time limits, stop.

Every text that crosses the pipes is kept in order, so that the conversation can be written
out as a playback file: the debugger's side as "TARNO" lines, the plug-in's texts byte for
byte as "PLUGIN" lines. A long session would keep more than anybody replays, so the keeping
stops once the kept texts pass conversation_limit bytes; what is kept then ends with the last
whole call, which a playback can still replay to its end.
"""

import math
import os
import select
import signal
import subprocess
import tempfile
import time

from . import affinity
from .framing import FramingError, MessageScanner

MAX_CONVERSATION_BYTES = 64 << 20


class PluginError(Exception):
    """Anything that went wrong with the plug-in; the text is one line for the user."""


class PluginGone(PluginError):
    """The plug-in cannot be talked to any more (it exited, hung or lost the framing)."""


class Deadline:
    """The time one call may take, the requests it makes and their answers included."""

    __slots__ = ("seconds", "_end")

    def __init__(self, seconds):
        self.seconds = seconds
        self._end = time.monotonic() + seconds

    def remaining(self):
        return self._end - time.monotonic()


def _tail(text, lines=3):
    kept = [line for line in text.splitlines() if line.strip()]
    return " | ".join(kept[-lines:])


class PluginProcess:
    """One run of the plug-in program, talking over its standard input and output."""

    def __init__(self, argv, cwd=None):
        self.argv = list(argv)
        self.cwd = cwd
        self.conversation = []  # (tag, bytes) in the order they crossed the pipes
        self.conversation_limit = MAX_CONVERSATION_BYTES
        self.conversation_cut = False  # the keeping stopped at the limit
        self._kept_bytes = 0
        self._call_start = 0  # where the conversation of the current call begins
        self._scanner = MessageScanner()
        self._ready = []  # complete messages not handed out yet
        self._proc = None
        self._poller = None
        self._stderr = None
        self._stderr_seen = 0
        self.exit_status = None
        # Whether the plug-in is moved to GDB's CPU before each call (see affinity).
        self.same_cpu = True
        self._follower = None

    # -- life cycle ---------------------------------------------------------------------

    def start(self):
        program = self.argv[0]
        if not os.path.isfile(program):
            raise PluginError("the plug-in %s does not exist" % program)
        if not os.access(program, os.X_OK):
            raise PluginError("the plug-in %s is not executable" % program)
        # Standard error goes to a file: a pipe nobody drains could stop the plug-in.
        self._stderr = tempfile.TemporaryFile(prefix="orti-plugin-stderr-")
        try:
            # A session of its own: GDB's Ctrl-C must not end the plug-in.
            self._proc = subprocess.Popen(self.argv, stdin=subprocess.PIPE,
                                          stdout=subprocess.PIPE, stderr=self._stderr,
                                          cwd=self.cwd, bufsize=0, close_fds=True,
                                          start_new_session=True)
        except OSError as e:
            raise PluginError("cannot start the plug-in %s: %s" % (program, e.strerror))
        self._in_fd, self._out_fd = self._proc.stdin.fileno(), self._proc.stdout.fileno()
        os.set_blocking(self._in_fd, False)
        os.set_blocking(self._out_fd, False)
        # One poll object for the whole run: select() would build its sets for every read.
        self._poller = select.poll()
        self._poller.register(self._out_fd, select.POLLIN)
        self._follower = affinity.CpuFollower(self._proc.pid, *affinity.system_calls())

    def alive(self):
        return self._proc is not None and self._proc.poll() is None

    def stop(self, grace=2.0):
        """Ends the process: closes its input, then terminates and kills it if it stays."""
        proc, self._proc = self._proc, None
        if proc is None:
            return
        self.let_go_cpu()
        for stream in (proc.stdin, proc.stdout):
            try:
                stream.close()
            except OSError:
                pass
        try:
            self.exit_status = proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            self._signal_group(proc, signal.SIGTERM)
            try:
                self.exit_status = proc.wait(timeout=1.0)
            except subprocess.TimeoutExpired:
                self._signal_group(proc, signal.SIGKILL)
                self.exit_status = proc.wait()

    @staticmethod
    def _signal_group(proc, sig):
        # The plug-in leads a process group of its own (see start); whatever it started
        # goes with it.
        try:
            os.killpg(proc.pid, sig)
        except (ProcessLookupError, PermissionError):
            pass

    def new_stderr(self):
        """What the plug-in wrote to standard error since the last call."""
        if self._stderr is None:
            return ""
        self._stderr.seek(self._stderr_seen)
        data = self._stderr.read()
        self._stderr_seen += len(data)
        return data.decode("utf-8", "replace")

    # -- the conversation -----------------------------------------------------------------

    def begin_call(self):
        """Marks where a call begins: a recording cut at the limit ends before it. The
        plug-in is moved to GDB's CPU here, and GDB's thread held there (follow_cpu)."""
        self._call_start = len(self.conversation)
        self.follow_cpu()

    def let_go_cpu(self):
        """Gives GDB's thread its CPUs back, when a call held it on one: GDB is about to wait
        for the user or the target, longer than any call takes. Holding it from one call to
        the next instead saves two system calls per call, a fifth of a cached exchange."""
        if self._follower is not None:
            self._follower.let_go()

    def _keep(self, tag, text):
        if self.conversation_cut:
            return
        self.conversation.append((tag, text))
        self._kept_bytes += len(text)
        if self._kept_bytes > self.conversation_limit:
            # Half a call would not replay: the one that passed the limit goes too.
            del self.conversation[self._call_start:]
            self.conversation_cut = True

    # -- messages -----------------------------------------------------------------------

    def follow_cpu(self):
        """Moves the plug-in to GDB's CPU before a call is sent and holds GDB there (see
        affinity), or gives both their CPUs back once same_cpu was turned off. Only calls move
        it: chasing GDB at every message cost more than the wakes it saved."""
        follower = self._follower
        if follower is None:
            return
        if self.same_cpu:
            follower.follow()
        else:
            follower.let_go()
            follower.release()

    def send(self, text, deadline, what):
        """Writes one message (bytes) for the call what, within the call's Deadline."""
        if self._proc is None:
            raise PluginGone("the plug-in is not running")
        self._keep("TARNO", text)
        fd = self._in_fd
        view = memoryview(text)
        while view:
            # A pipe nearly always has room for a whole message: wait only when it has none.
            try:
                written = os.write(fd, view)
            except BlockingIOError:
                remaining = deadline.remaining()
                if remaining <= 0:
                    self._lost("the plug-in did not answer %s within %g s"
                               % (what, deadline.seconds))
                select.select([], [fd], [], remaining)
                continue
            except OSError:
                self._exited()
            if written == len(view):
                return
            view = view[written:]

    def receive(self, deadline, what):
        """The next message of the plug-in (framing.Message) in the call what, within its
        Deadline."""
        if self._proc is None:
            raise PluginGone("the plug-in is not running")
        while True:
            remaining = deadline.remaining()
            if remaining <= 0:
                self._lost("the plug-in did not answer %s within %g s" % (what, deadline.seconds))
            if self._ready:
                message = self._ready.pop(0)
                # Kept as plain bytes: the parsed value rides along only to the reader.
                self._keep("PLUGIN", bytes(message))
                return message
            try:
                data = os.read(self._out_fd, 65536)
            except BlockingIOError:
                # On GDB's CPU the plug-in often runs inside the write that woke it, and its
                # next message is there before any wait: the wait is made only when it is not.
                self._poller.poll(math.ceil(remaining * 1000))
                continue
            if not data:
                self._exited()
            try:
                self._ready = self._scanner.feed(data)
            except FramingError as e:
                self._lost("the plug-in sent something that is not a message (%s)" % e)

    # -- failures -----------------------------------------------------------------------

    def _lost(self, why):
        """The stream cannot be trusted any more: end the process and report why."""
        self.stop(grace=0.2)
        raise PluginGone(why)

    def _exited(self):
        proc = self._proc
        status = None
        if proc is not None:
            try:
                status = proc.wait(timeout=2.0)
            except subprocess.TimeoutExpired:
                status = None
        self.stop(grace=0.2)
        if status is None:
            status = self.exit_status
        err = _tail(self.new_stderr())
        text = "the plug-in exited"
        if status is not None:
            text += " with status %d" % status if status >= 0 else " on signal %d" % -status
        if err:
            text += " (%s)" % err
        raise PluginGone(text)
