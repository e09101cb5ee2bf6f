"""The whole chain for tests and benchmarks: the demo firmware in QEMU (halted, GDB stub on a
private Unix socket), orti-proxy between it and GDB, and gdb-multiarch -nx driven through
GDB/MI. Every process is ended on every way out."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


class ChainError(Exception):
    pass


# -- GDB/MI records ------------------------------------------------------------------------

def _parse_c_string(text, i):
    """The C string starting at text[i] (a double quote): (value, index after it)."""
    out = []
    i += 1
    escapes = {"n": "\n", "t": "\t", "\\": "\\", '"': '"', "r": "\r"}
    while text[i] != '"':
        if text[i] == "\\":
            i += 1
            c = text[i]
            if c in escapes:
                out.append(escapes[c])
            elif c.isdigit():
                out.append(chr(int(text[i:i + 3], 8)))
                i += 2
            else:
                out.append(c)
        else:
            out.append(text[i])
        i += 1
    return "".join(out), i + 1


def _parse_value(text, i):
    if text[i] == '"':
        return _parse_c_string(text, i)
    if text[i] in "{[":
        close = "}" if text[i] == "{" else "]"
        i += 1
        items = []
        named = {}
        while text[i] != close:
            if text[i] == ",":
                i += 1
                continue
            m = re.match(r"[\w-]+=", text[i:])
            if m:
                key = m.group(0)[:-1]
                value, i = _parse_value(text, i + len(m.group(0)))
                if close == "}":
                    named[key] = value
                else:
                    items.append(value)
            else:
                value, i = _parse_value(text, i)
                items.append(value)
        return (named if close == "}" else items), i + 1
    raise ChainError("bad MI value at %r" % text[i:i + 40])


def parse_results(text):
    """The results after a record's class: "a=1,b={...}" -> dict."""
    out = {}
    i = 0
    while i < len(text):
        if text[i] == ",":
            i += 1
            continue
        m = re.match(r"[\w-]+=", text[i:])
        if not m:
            raise ChainError("bad MI results at %r" % text[i:i + 40])
        value, i = _parse_value(text, i + len(m.group(0)))
        out[m.group(0)[:-1]] = value
    return out


class Reply:
    def __init__(self, klass, results, console, records):
        self.klass = klass
        self.results = results
        self.console = console  # everything GDB printed (~ and @ streams)
        self.records = records  # async records: (kind, class, results)


# -- the chain ------------------------------------------------------------------------------

def _wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.02)
    raise ChainError("timed out waiting for %s" % what)


# The boards the demo firmwares run on, each with its UART on QEMU's standard output: the
# single-core Cortex-M one, and the virt board with two Cortex-A15 cores, each of which QEMU's
# stub shows as a thread of its own.
BOARDS = {
    "lm3s6965evb": ["-M", "lm3s6965evb", "-nographic"],
    "virt-smp2": ["-M", "virt", "-cpu", "cortex-a15", "-smp", "2", "-m", "128M", "-nodefaults",
                  "-display", "none", "-monitor", "none", "-serial", "stdio"],
}


class Chain:
    """QEMU, the proxy and GDB/MI. proxy_args are added to the proxy's command line; board is
    one of BOARDS."""

    def __init__(self, elf, orti, proxy, plugin, proxy_args=(), realtime=False,
                 board="lm3s6965evb"):
        # GDB runs in the private folder: every path must hold from there.
        elf, orti, proxy, plugin = (os.path.abspath(p) for p in (elf, orti, proxy, plugin))
        self.work = tempfile.mkdtemp(prefix="rsp_proxy_chain.")
        self.elf = elf
        self.qemu = self.proxy = self.gdb = None
        self._buffer = b""
        self.board = BOARDS[board]
        try:
            self._start(elf, orti, proxy, plugin, list(proxy_args), realtime)
        except BaseException:
            self.close()
            raise

    def path(self, name):
        return os.path.join(self.work, name)

    def _start(self, elf, orti, proxy, plugin, proxy_args, realtime):
        clock = [] if realtime else ["-icount", "shift=4,sleep=off"]
        self.qemu = subprocess.Popen(
            ["qemu-system-arm"] + self.board + clock +
            ["-S", "-gdb", "unix:%s,server=on,wait=off" % self.path("qemu.sock"), "-kernel", elf],
            stdin=subprocess.DEVNULL, stdout=open(self.path("uart.log"), "wb"),
            stderr=open(self.path("qemu.err"), "wb"))
        _wait_for(lambda: os.path.exists(self.path("qemu.sock")) or self.qemu.poll() is not None,
                  10, "QEMU's socket")
        if self.qemu.poll() is not None:
            raise ChainError("QEMU ended: %s" % self.text("qemu.err"))
        self.proxy = subprocess.Popen(
            [proxy, "--elf", elf, "--orti", orti, "--remote", self.path("qemu.sock"),
             "--listen", self.path("proxy.sock"), "--plugin", plugin, "--once",
             "--ready-file", self.path("ready")] + proxy_args,
            stdin=subprocess.DEVNULL, stdout=open(self.path("proxy.out"), "wb"),
            stderr=open(self.path("proxy.err"), "wb"))
        _wait_for(lambda: os.path.exists(self.path("ready")) or self.proxy.poll() is not None,
                  20, "the proxy")
        if self.proxy.poll() is not None:
            raise ChainError("the proxy ended: %s" % self.text("proxy.err"))
        self.gdb = subprocess.Popen(
            ["gdb-multiarch", "-nx", "--interpreter=mi3", "-q"], stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, cwd=self.work)
        # As IDEs run it: commands are taken while the target runs (-exec-interrupt).
        self.mi("-gdb-set mi-async on")
        self.mi("-gdb-set pagination off")
        self.mi("-gdb-set confirm off")
        self.mi("-file-exec-and-symbols %s" % elf)
        self.mi("-target-select remote %s" % self.path("proxy.sock"), timeout=30)

    def text(self, name):
        try:
            with open(self.path(name), "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def _line(self, deadline):
        while b"\n" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise ChainError("GDB did not answer in time")
            import select
            ready, _, _ = select.select([self.gdb.stdout], [], [], left)
            if ready:
                chunk = os.read(self.gdb.stdout.fileno(), 65536)
                if not chunk:
                    raise ChainError("GDB ended")
                self._buffer += chunk
        line, self._buffer = self._buffer.split(b"\n", 1)
        return line.decode("utf-8", "replace").rstrip("\r")

    def mi(self, command, timeout=20, until_stopped=False):
        """Runs an MI command; with until_stopped also waits for the *stopped record."""
        self.gdb.stdin.write((command + "\n").encode())
        self.gdb.stdin.flush()
        deadline = time.monotonic() + timeout
        console = []
        records = []
        result = None
        stopped = not until_stopped
        while result is None or not stopped:
            line = self._line(deadline)
            if not line or line == "(gdb) ":
                continue
            kind = line[0]
            if kind in "~@&":
                if line[1:].startswith('"'):
                    text, _ = _parse_c_string(line, 1)
                    if kind != "&":
                        console.append(text)
                continue
            if kind in "^*=":
                klass, _, rest = line[1:].partition(",")
                if kind == "^":
                    result = (klass, parse_results(rest))
                else:
                    records.append((kind, klass, parse_results(rest)))
                    if kind == "*" and klass == "stopped":
                        stopped = True
                if kind == "^" and klass == "error":
                    stopped = True
        return Reply(result[0], result[1], "".join(console), records)

    def cli(self, command, timeout=20):
        """A CLI command through MI; gives what it printed. Fails on an error."""
        escaped = command.replace("\\", "\\\\").replace('"', '\\"')
        reply = self.mi('-interpreter-exec console "%s"' % escaped, timeout)
        if reply.klass == "error":
            raise ChainError("%s: %s" % (command, reply.results.get("msg")))
        return reply.console

    def value(self, expression):
        reply = self.mi('-data-evaluate-expression "%s"' % expression.replace('"', '\\"'))
        if reply.klass != "done":
            raise ChainError("%s: %s" % (expression, reply.results.get("msg")))
        text = reply.results["value"]
        m = re.match(r"^(-?(?:0x[0-9a-fA-F]+|\d+))", text)
        if not m:
            raise ChainError("%s: not a number: %r" % (expression, text))
        return int(m.group(1), 0)

    def string(self, expression):
        reply = self.mi('-data-evaluate-expression "%s"' % expression.replace('"', '\\"'))
        m = re.search(r'"(.*)"', reply.results.get("value", ""))
        return m.group(1) if m else None

    def close(self):
        for proc in (self.gdb, self.proxy, self.qemu):
            if proc is None or proc.poll() is not None:
                continue
            if proc is self.gdb:
                try:
                    proc.stdin.write(b"-gdb-exit\n")
                    proc.stdin.flush()
                    proc.wait(timeout=5)
                    continue
                except (OSError, subprocess.TimeoutExpired):
                    pass
            if proc is self.proxy:
                # With --once it ends by itself once GDB is gone.
                try:
                    proc.wait(timeout=3)
                    continue
                except subprocess.TimeoutExpired:
                    pass
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
