#!/usr/bin/env python3
"""Benchmarks of orti-proxy under QEMU (run by hand; not a test):

- the thread list after a stop, as GDB asks for it: a single step of the running task (the
  stop), the whole qXfer:threads:read list (names and states), and the registers of every
  thread (Hg, g), for the demo target, for a generated firmware of 100 tasks and for the
  dual-core demo target;
- the proxy's own figures for the refresh at that stop (monitor orti status): its time, the
  plug-in's and the server's share, and the packets it sent to the server;
- the latency a packet passed through gains (an 'm' packet through the proxy against the same
  packet sent to QEMU directly).

    bench_proxy.py [--iterations N] [--tasks N] BUILD_DIR

BUILD_DIR is a build of the default preset (orti-proxy, the plug-in); the firmwares are built
into BUILD_DIR/bench_rsp_proxy. Every figure is the median of the iterations."""

import argparse
import os
import re
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
# The boards, and the kind of breakpoint their code takes (Thumb's 2 bytes, A32's 4).
SINGLE_CORE = (["-M", "lm3s6965evb", "-nographic"], 2)
DUAL_CORE = (["-M", "virt", "-cpu", "cortex-a15", "-smp", "2", "-m", "128M", "-nodefaults",
              "-display", "none", "-monitor", "none"], 4)


class Rsp:
    """A remote-protocol client over a Unix socket."""

    def __init__(self, path, ack=True):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        for _ in range(200):
            try:
                self.sock.connect(path)
                break
            except OSError:
                time.sleep(0.02)
        self.ack = ack
        self.buffer = b""

    def _fill(self):
        data = self.sock.recv(65536)
        if not data:
            raise RuntimeError("connection closed")
        self.buffer += data

    def send(self, payload):
        body = payload.encode("latin-1")
        frame = b"$" + body + b"#" + (b"%02x" % (sum(body) & 0xFF))
        self.sock.sendall(frame)

    def receive(self):
        while True:
            start = self.buffer.find(b"$")
            if start >= 0:
                end = self.buffer.find(b"#", start)
                if end >= 0 and len(self.buffer) >= end + 3:
                    payload = self.buffer[start + 1:end].decode("latin-1")
                    self.buffer = self.buffer[end + 3:]
                    if self.ack:
                        self.sock.sendall(b"+")
                    if payload.startswith("O") and payload != "OK":
                        continue
                    return payload
            self._fill()

    def ask(self, payload):
        self.send(payload)
        return self.receive()

    def close(self):
        self.sock.close()


def median_ms(samples):
    return statistics.median(samples) * 1000.0


def build_firmwares(build_dir, tasks):
    out = os.path.join(build_dir, "bench_rsp_proxy")
    subprocess.run(["bash", os.path.join(ROOT, "examples", "demo_target", "build.sh"),
                    os.path.join(out, "demo")], check=True, stdout=subprocess.DEVNULL)
    many = os.path.join(out, "many_%d" % tasks)
    subprocess.run([sys.executable, os.path.join(HERE, "gen_many_tasks.py"), str(tasks), many],
                   check=True)
    subprocess.run(["make", "-s", "-C", many], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["bash", os.path.join(ROOT, "examples", "demo_target_smp", "build.sh"),
                    os.path.join(out, "smp")], check=True, stdout=subprocess.DEVNULL)
    return [("demo target", os.path.join(out, "demo", "demo_target.elf"),
             os.path.join(ROOT, "examples", "demo_target", "demo_target.ort"), "demo_breakpoint",
             SINGLE_CORE),
            ("%d-task firmware" % tasks, os.path.join(many, "build", "many_tasks.elf"),
             os.path.join(many, "many_tasks.ort"), "bench_breakpoint", SINGLE_CORE),
            ("dual-core demo target", os.path.join(out, "smp", "demo_target_smp.elf"),
             os.path.join(ROOT, "examples", "demo_target_smp", "demo_target_smp.ort"),
             "demo_breakpoint", DUAL_CORE)]


def symbol_address(elf, name):
    out = subprocess.run(["arm-none-eabi-nm", elf], check=True, capture_output=True,
                         text=True).stdout
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[2] == name:
            return int(parts[0], 16) & ~1
    raise RuntimeError("no symbol %s in %s" % (name, elf))


class Qemu:
    def __init__(self, elf, work, name, board):
        self.socket = os.path.join(work, name + ".sock")
        self.proc = subprocess.Popen(
            ["qemu-system-arm"] + board[0] +
            ["-icount", "shift=4,sleep=off", "-S", "-gdb",
             "unix:%s,server=on,wait=off" % self.socket, "-kernel", elf],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.exists(self.socket):
                return
            time.sleep(0.02)
        raise RuntimeError("QEMU did not start")

    def stop(self):
        self.proc.kill()
        self.proc.wait()


def run_to_breakpoint(rsp, elf, symbol, board):
    rsp.ask("qSupported:swbreak+;hwbreak+;vContSupported+")
    rsp.ask("?")
    rsp.ask("Z0,%x,%d" % (symbol_address(elf, symbol), board[1]))
    stop = rsp.ask("vCont;c")
    return re.search(r"thread:([0-9a-f]+);", stop).group(1)


def thread_list(rsp, qxfer):
    if not qxfer:
        ids = []
        reply = rsp.ask("qfThreadInfo")
        while reply.startswith("m"):
            ids += reply[1:].split(",")
            reply = rsp.ask("qsThreadInfo")
        return ids
    xml = ""
    while True:
        reply = rsp.ask("qXfer:threads:read::%x,fff" % len(xml))
        xml += reply[1:]
        if reply[0] == "l":
            return re.findall(r'<thread id="([0-9a-f]+)"', xml)


def measure_stops(rsp, thread, iterations, qxfer):
    """Per iteration: step of the running thread (to its stop reply), the thread list, the
    registers of every thread."""
    steps, lists, registers, stats = [], [], [], []
    for _ in range(iterations):
        t0 = time.perf_counter()
        stop = rsp.ask("vCont;s:%s" % thread)
        t1 = time.perf_counter()
        ids = thread_list(rsp, qxfer)
        t2 = time.perf_counter()
        for tid in ids:
            rsp.ask("Hg" + tid)
            rsp.ask("g")
        t3 = time.perf_counter()
        thread = re.search(r"thread:([0-9a-f]+);", stop).group(1)
        steps.append(t1 - t0)
        lists.append(t2 - t1)
        registers.append(t3 - t2)
        if qxfer:
            text = rsp_monitor(rsp, "orti status")
            m = re.search(r"last refresh: (\d+) tasks in ([\d.]+) ms: plug-in ([\d.]+) ms "
                          r"\((\d+) calls, (\d+) requests\), server ([\d.]+) ms \((\d+) packets\), "
                          r"proxy ([\d.]+) ms", text)
            if m:
                stats.append([float(x) for x in m.groups()])
    return steps, lists, registers, len(ids), stats


def rsp_monitor(rsp, command):
    rsp.send("qRcmd," + command.encode().hex())
    text = ""
    while True:
        start = rsp.buffer.find(b"$")
        end = rsp.buffer.find(b"#", start) if start >= 0 else -1
        if start >= 0 and end >= 0 and len(rsp.buffer) >= end + 3:
            payload = rsp.buffer[start + 1:end].decode("latin-1")
            rsp.buffer = rsp.buffer[end + 3:]
            if rsp.ack:
                rsp.sock.sendall(b"+")
            if payload.startswith("O") and payload != "OK":
                text += bytes.fromhex(payload[1:]).decode("utf-8", "replace")
                continue
            return text
        rsp._fill()


def measure_pass_through(rsp, iterations):
    samples = []
    for _ in range(iterations):
        t0 = time.perf_counter()
        rsp.ask("m20000000,4")
        samples.append(time.perf_counter() - t0)
    return samples


def bench_firmware(label, elf, orti, symbol, board, build_dir, iterations, work):
    proxy_bin = os.path.join(build_dir, "hosts", "rsp_proxy", "orti-proxy")
    plugin = os.path.join(build_dir, "src", "osa_orti_plugin")
    # Through the proxy, as GDB talks to it (no acknowledgements: the proxy offers that).
    name = re.sub(r"\W", "_", label)
    qemu = Qemu(elf, work, name + "_via", board)
    listen = os.path.join(work, name + "_proxy.sock")
    ready = os.path.join(work, name + "_ready")
    proxy = subprocess.Popen([proxy_bin, "--elf", elf, "--orti", orti, "--remote", qemu.socket,
                              "--listen", listen, "--plugin", plugin, "--once",
                              "--ready-file", ready],
                             stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(1500):
            if os.path.exists(ready) or proxy.poll() is not None:
                break
            time.sleep(0.02)
        rsp = Rsp(listen)
        rsp.ask("qSupported")
        rsp.ask("QStartNoAckMode")
        rsp.ack = False
        thread = run_to_breakpoint(rsp, elf, symbol, board)
        via = measure_stops(rsp, thread, iterations, True)
        via_m = measure_pass_through(rsp, iterations * 10)
        rsp.close()
        proxy.wait(timeout=10)
    finally:
        if proxy.poll() is None:
            proxy.kill()
            proxy.wait()
        qemu.stop()
    # The same, straight to QEMU (which acknowledges every packet).
    qemu = Qemu(elf, work, name + "_direct", board)
    try:
        rsp = Rsp(qemu.socket, ack=True)
        thread = run_to_breakpoint(rsp, elf, symbol, board)
        direct = measure_stops(rsp, thread, iterations, False)
        direct_m = measure_pass_through(rsp, iterations * 10)
        rsp.close()
    finally:
        qemu.stop()
    steps, lists, registers, threads, stats = via
    d_steps, d_lists, d_registers, d_threads, _ = direct
    print("%s (%d threads through the proxy, %d without it):" % (label, threads, d_threads))
    print("  stop (single step)        %7.2f ms   directly %7.2f ms" %
          (median_ms(steps), median_ms(d_steps)))
    print("  thread list after it      %7.2f ms   directly %7.2f ms (qfThreadInfo)" %
          (median_ms(lists), median_ms(d_lists)))
    print("  stop + thread list        %7.2f ms   (the proxy's part: %.2f ms)" %
          (median_ms(steps) + median_ms(lists),
           median_ms(steps) + median_ms(lists) - median_ms(d_steps)))
    print("  registers of every thread %7.2f ms   directly %7.2f ms" %
          (median_ms(registers), median_ms(d_registers)))
    if stats:
        # The breakdown of the refresh whose time is the median, so that its parts add up.
        med = sorted(stats, key=lambda row: row[1])[len(stats) // 2]
        print("  refresh at the stop       %7.2f ms: plug-in %.2f ms (%d calls, %d requests), "
              "server %.2f ms (%d packets), proxy's own %.2f ms" %
              (med[1], med[2], med[3], med[4], med[5], med[6], med[7]))
    print("  'm' packet                %7.1f us   directly %7.1f us: %+.1f us through the proxy" %
          (median_ms(via_m) * 1000, median_ms(direct_m) * 1000,
           (median_ms(via_m) - median_ms(direct_m)) * 1000))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--iterations", type=int, default=50)
    parser.add_argument("--tasks", type=int, default=100)
    parser.add_argument("build_dir")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    firmwares = build_firmwares(build_dir, args.tasks)
    with tempfile.TemporaryDirectory(prefix="bench_rsp_proxy.") as work:
        for label, elf, orti, symbol, board in firmwares:
            bench_firmware(label, elf, orti, symbol, board, build_dir, args.iterations, work)


if __name__ == "__main__":
    main()
