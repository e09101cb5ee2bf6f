"""The plug-in as a child process: start, write, read with time limits, stop.

Every text that crosses the pipes is kept in order, so that the whole conversation can be
written out as a playback file: the debugger's side as "TARNO" lines, the plug-in's texts byte
for byte as "PLUGIN" lines.
"""

import os
import select
import signal
import subprocess
import tempfile
import time

from .framing import FramingError, MessageScanner


class PluginError(Exception):
    """Anything that went wrong with the plug-in; the text is one line for the user."""


class PluginGone(PluginError):
    """The plug-in cannot be talked to any more (it exited, hung or lost the framing)."""


def _tail(text, lines=3):
    kept = [line for line in text.splitlines() if line.strip()]
    return " | ".join(kept[-lines:])


class PluginProcess:
    """One run of the plug-in program, talking over its standard input and output."""

    def __init__(self, argv, cwd=None):
        self.argv = list(argv)
        self.cwd = cwd
        self.conversation = []  # (tag, bytes) in the order they crossed the pipes
        self._scanner = MessageScanner()
        self._ready = []  # complete messages not handed out yet
        self._proc = None
        self._stderr = None
        self._stderr_seen = 0
        self.exit_status = None

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
        os.set_blocking(self._proc.stdin.fileno(), False)

    def alive(self):
        return self._proc is not None and self._proc.poll() is None

    def stop(self, grace=2.0):
        """Ends the process: closes its input, then terminates and kills it if it stays."""
        proc, self._proc = self._proc, None
        if proc is None:
            return
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

    # -- messages -----------------------------------------------------------------------

    def send(self, text, timeout):
        """Writes one message; text is bytes. The plug-in must take it within timeout."""
        if self._proc is None:
            raise PluginGone("the plug-in is not running")
        self.conversation.append(("TARNO", text))
        fd = self._proc.stdin.fileno()
        deadline = time.monotonic() + timeout
        view = memoryview(text)
        while view:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                self._lost("the plug-in did not take a message within %g s" % timeout)
            _, writable, _ = select.select([], [fd], [], remaining)
            if not writable:
                continue
            try:
                written = os.write(fd, view)
            except BlockingIOError:
                continue
            except (BrokenPipeError, OSError):
                self._exited()
            view = view[written:]

    def receive(self, timeout, what):
        """The next message of the plug-in (bytes), waiting at most timeout seconds."""
        if self._proc is None:
            raise PluginGone("the plug-in is not running")
        fd = self._proc.stdout.fileno()
        deadline = time.monotonic() + timeout
        while True:
            if self._ready:
                message = self._ready.pop(0)
                self.conversation.append(("PLUGIN", message))
                return message
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                self._lost("the plug-in did not answer %s within %g s" % (what, timeout))
            readable, _, _ = select.select([fd], [], [], remaining)
            if not readable:
                continue
            data = os.read(fd, 65536)
            if not data:
                self._exited()
            try:
                self._ready.extend(self._scanner.feed(data))
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
