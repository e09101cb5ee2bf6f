# The host's commands against the real plug-in (the demo firmware's ELF file loaded without a
# process) and against stand-ins that misbehave: missing, garbage, exiting, hanging.
# Run from the repository's root:
#   ORTI_TEST_ELF=... ORTI_PLUGIN=build/default/src/osa_orti_plugin \
#       gdb-multiarch -batch -nx -x THIS
import os
import subprocess
import sys
import tempfile
import time

import gdb

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
sys.path.insert(0, here)

from testing import check, check_equal, check_error, run  # noqa: E402

gdb.execute("file %s" % os.environ["ORTI_TEST_ELF"], to_string=True)
gdb.execute("source %s" % os.path.join(root, "hosts", "gdb", "orti_host.py"))
import orti_gdb.commands as host  # noqa: E402
from orti_gdb.affinity import CpuFollower  # noqa: E402

PLUGIN = os.path.abspath(os.environ["ORTI_PLUGIN"])
ORT = "examples/demo_target/demo_target.ort"
work = tempfile.mkdtemp(prefix="orti-host-test-")
GDB_CPUS = os.sched_getaffinity(0)  # before any call could hold GDB's thread


def out(command):
    return gdb.execute(command, to_string=True)


def fake_plugin(name, body):
    path = os.path.join(work, name)
    with open(path, "w") as f:
        f.write("#!/bin/sh\n" + body + "\n")
    os.chmod(path, 0o755)
    return path


def use_plugin(path, timeout=10):
    gdb.execute("set orti plugin %s" % path)
    gdb.execute("set orti timeout %d" % timeout)


def load_real():
    use_plugin(PLUGIN)
    check("loaded" in out("orti load " + ORT), "the demo ORTI file loads")


def rows(text):
    """The cells of a table printed by the host, cut by the header's column starts."""
    lines = text.splitlines()
    at = next(i for i, line in enumerate(lines) if line.startswith("--") or " --" in line)
    dashes = lines[at]
    starts = [i for i, c in enumerate(dashes) if c == "-" and (i == 0 or dashes[i - 1] == " ")]
    table = []
    for line in lines[at + 1:]:
        if not line.strip() or line.startswith("orti:"):
            break
        bounds = starts[1:] + [None]
        table.append([line[s:e].strip() for s, e in zip(starts, bounds)])
    return table


def running(pid):
    """Whether pid is a live process (a zombie that nobody reaps is not)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


# -- the real plug-in -----------------------------------------------------------------

def test_tasks_table_holds_the_firmwares_tasks():
    load_real()
    table = rows(out("orti tasks"))
    count = int(gdb.parse_and_eval("sizeof(OsTcb)/sizeof(OsTcb[0])"))
    check_equal(len(table), count, "one row per task control block")
    for i, row in enumerate(table):
        check_equal(row[2], gdb.parse_and_eval("OsTcb[%d].name" % i).string(), "name %d" % i)
        check_equal(int(row[4], 0), int(gdb.parse_and_eval("OsTcb[%d].cur_prio" % i)),
                    "priority %d" % i)


def test_show_of_a_kind_lists_its_objects():
    load_real()
    table = rows(out("orti show RESOURCE"))
    check_equal([r[1] for r in table], ["Res_Uart", "Res_Scheduler"], "resource names")
    check_error("orti show NOSUCHKIND", "no object kind 'NOSUCHKIND'")
    check_error("orti show 7", "no object kind 7")


def test_plugin_command_output_is_shown():
    load_real()
    check("ORTI OSA Module" in out("orti cmd version"), "version banner")
    check_error("orti cmd nosuch", "could not run 'nosuch'")


def test_registers_need_a_process():
    load_real()
    check_error("orti regs Task_Logger", "no process")
    check_error("orti bt Task_Logger", "no process")


def test_file_that_does_not_load():
    use_plugin(PLUGIN)
    check_error("orti load %s/none.ort" % work, "could not load")
    bad = os.path.join(work, "bad.ort")
    with open(bad, "w") as f:
        f.write("VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\nIMPLEMENTATION {")
    check_error("orti load " + bad, "could not load")
    check_error("orti tasks", "no ORTI file is loaded")


def test_a_file_outside_the_grammar_loads_as_set_orti_extended_syntax_says():
    use_plugin(PLUGIN)
    dialect = os.path.join(root, "tests", "data", "orti", "dialect", "trailing_comma.ort")
    retry = "uses constructs of an OS generator outside the ORTI grammar"
    try:
        gdb.execute("set orti extended-syntax off")
        check_error("orti load " + dialect, "could not load")
        for mode in ("auto", "on"):
            gdb.execute("set orti extended-syntax " + mode)
            said = out("orti load " + dialect)
            check("loaded" in said, "%s: %r" % (mode, said))
            lines = [line for line in said.splitlines() if retry in line]
            check_equal(len(lines), 1 if mode == "auto" else 0, mode + ": the retry is one line")
            check("errors encountered" not in said, mode + ": the strict load's errors are kept")
            check_equal([r[2] for r in rows(out("orti tasks"))], ["T1"], mode + ": its task")
        # A file that does not load either way is refused, and the plug-in still answers.
        gdb.execute("set orti extended-syntax auto")
        bad = os.path.join(work, "outside.ort")
        with open(dialect) as f:
            text = f.read()
        with open(bad, "w") as f:
            f.write(text.replace("OS Os1 {", "OS Os1 { RUNNINGTASK = ;"))
        check_error("orti load " + bad, "could not load")
        check("ORTI OSA Module" in out("orti cmd version"), "the plug-in still answers")
    finally:
        gdb.execute("set orti extended-syntax auto")


def test_recorded_conversation_plays_back():
    load_real()
    out("orti tasks")
    out("orti show ALARM")
    out("orti cmd version")
    play = os.path.join(work, "session.play")
    check("wrote" in out("orti record " + play), "recorded")
    result = subprocess.run([PLUGIN, "-file", play], cwd=root, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=60)
    check_equal(result.returncode, 0, "playback exit status: %s" % result.stdout[-300:])
    with open(play, "rb") as f:
        lines = f.read().splitlines()
    check(all(l.startswith(b"TARNO: {") or l.startswith(b"PLUGIN: {") for l in lines),
          "every line is a tagged message")


def test_vendor_kinds_and_their_attributes_are_shown_by_name():
    load_real()
    output = out("orti show vs_isr")
    check(output.startswith("vs_ISR (Category 2 interrupts): 2 objects\n"), output[:80])
    header = output.splitlines()[1].split()
    check_equal(header, ["#", "NAME", "vs_EXCEPTION", "vs_PRIORITY", "vs_COUNT"], "columns")
    table = rows(output)
    for i, row in enumerate(table):
        isr = "OsIsr[%d]" % i
        check_equal(int(row[2], 0), int(gdb.parse_and_eval(isr + ".exception")), isr)
        check_equal(int(row[3], 0), int(gdb.parse_and_eval(isr + ".priority")), isr)
    check_equal(out("orti show 100"), output, "by its type id")
    # A list kind, whose element names are no object's names; without a process the list in
    # target memory is empty.
    check_equal(out("orti show VS_TIMER"), "vs_TIMER: no objects\n", "the list kind")


def test_the_conversation_kept_for_a_recording_is_bounded():
    load_real()
    process = host.HOST.session.process
    process.conversation_limit = sum(len(text) for _, text in process.conversation) + 20000
    for _ in range(20):
        out("orti tasks")
    kept = sum(len(text) for _, text in process.conversation)
    check(kept <= process.conversation_limit, "kept %d bytes over a limit of %d"
          % (kept, process.conversation_limit))
    play = os.path.join(work, "bounded.play")
    said = out("orti record " + play)
    check("holds only its first part" in said, "the recording says it is cut: %r" % said)
    result = subprocess.run([PLUGIN, "-file", play], cwd=root, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=60)
    check_equal(result.returncode, 0, "the cut recording replays: %s" % result.stdout[-300:])


def test_plugin_that_dies_gives_an_error_and_gdb_goes_on():
    load_real()
    proc = host.HOST.session.process._proc
    proc.kill()
    proc.wait()
    check_error("orti tasks", "the plug-in exited on signal 9")
    check_error("orti tasks", "the plug-in is not running")
    check("= 3" in out("print 1+2"), "GDB still works")


# -- stand-ins that misbehave ---------------------------------------------------------

def test_missing_plugin():
    use_plugin(os.path.join(work, "no-such-plugin"))
    check_error("orti load " + ORT, "does not exist")


def test_plugin_that_prints_garbage():
    marker = os.path.join(work, "garbage-child")
    use_plugin(fake_plugin("garbage", "echo hello there\nsleep 30 & echo $! > %s\nwait"
                           % marker))
    check_error("orti load " + ORT, "not a message")
    # What the stand-in started ends with it.
    time.sleep(0.3)
    with open(marker) as f:
        child = int(f.read())
    check(not running(child), "the stand-in's child still runs")


def test_plugin_that_exits():
    use_plugin(fake_plugin("exits", "echo 'out of luck' >&2\nexit 3"))
    check_error("orti load " + ORT, "exited with status 3 (out of luck)")


def test_plugin_that_never_answers_is_given_up_after_the_timeout():
    use_plugin(fake_plugin("hangs", "exec sleep 30"), timeout=1)
    started = time.monotonic()
    check_error("orti load " + ORT, "did not answer OSA_Client_OsaInit within 1 s")
    check(time.monotonic() - started < 5, "gave up in time")


def test_the_time_limit_is_the_whole_calls_while_the_plugin_asks_on():
    # Requests without end, each at once, and the response only after five seconds.
    use_plugin(fake_plugin("chatty", (
        "exec 3<&0\ncat <&3 > /dev/null &\n"
        "end=$(( $(date +%s) + 5 ))\n"
        "while [ \"$(date +%s)\" -lt \"$end\" ]; do\n"
        "  printf '{\"jsonrpc\":\"2.0\",\"method\":\"OSA_Service_MessageDisplay\",\"params\":"
        "{\"context\":1,\"messageType\":4,\"message\":\"x\"},\"id\":0}'\n"
        "done\n"
        "printf '{\"jsonrpc\":\"2.0\",\"result\":{\"return\":0},\"id\":1}'\n"
        "exec sleep 30")), timeout=1)
    started = time.monotonic()
    check_error("orti load " + ORT, "did not answer OSA_Client_OsaInit within 1 s")
    check(time.monotonic() - started < 4, "gave up in time")


def test_plugin_answer_without_a_result_object():
    use_plugin(fake_plugin("noresult", "printf '{\"jsonrpc\":\"2.0\",\"result\":[1],\"id\":1}'"
                           "\nexec sleep 30"))
    check_error("orti load " + ORT, "without a result object")


def test_request_of_the_plugin_is_answered_before_its_response():
    log = os.path.join(work, "requests.log")
    use_plugin(fake_plugin("asks", (
        "exec 3<&0\ncat <&3 > %s &\n"
        "printf '{\"jsonrpc\":\"2.0\",\"method\":\"OSA_Service_ExpressionEval\",\"params\":"
        "{\"context\":1,\"expression\":\"sizeof(OsTcb)\",\"valueType\":11,\"searchFlag\":0},"
        "\"id\":0}'\n"
        "printf '{\"jsonrpc\":\"2.0\",\"method\":\"OSA_Service_Nope\",\"params\":{},\"id\":1}'\n"
        "sleep 0.5\n"
        "printf '{\"jsonrpc\":\"2.0\",\"result\":{\"return\":1},\"id\":1}'\n"
        "exec sleep 30") % log))
    check_error("orti load " + ORT, "OSA_Client_OsaInit with return 1")
    with open(log) as f:
        sent = f.read()
    size = int(gdb.parse_and_eval("sizeof(OsTcb)"))
    check('{"jsonrpc":"2.0","result":{"output":%d,"return":0},"id":0}' % size in sent,
          "the evaluation was answered: %r" % sent)
    check('"error":{"code":-32601,"message":"unknown message"},"id":1' in sent,
          "an unknown request gets an error response: %r" % sent)


def test_the_cpu_follower_holds_gdb_and_moves_the_plugin_only_when_it_may_and_must():
    class System:
        def __init__(self, cpus, allowed, own, refused):
            self.cpus, self.allowed, self.own, self.refused = list(cpus), allowed, own, refused
            self.sets = []

        def current(self):
            return self.cpus.pop(0)

        def get(self, pid):
            return set(self.own if pid == 0 else self.allowed)

        def set(self, pid, cpus):
            if pid in self.refused:
                raise PermissionError("refused")
            self.sets.append((pid, cpus))

    all3 = {0, 1, 2}

    def held(cpu):  # GDB's thread held on cpu for a call, then given its CPUs back
        return [(0, {cpu}), (0, all3)]

    def moved(cpu):  # the same, with the plug-in moved there first
        return [(0, {cpu}), (77, {cpu}), (0, all3)]

    # (GDB's CPU at each call, the plug-in's CPUs, GDB's thread's CPUs, pids whose setting is
    # refused, the settings made, still enabled)
    cases = [
        ([1, 1, 1], all3, all3, (), moved(1) + held(1) + held(1), True),
        ([1, 0, 0, 2], all3, all3, (), moved(1) + moved(0) + held(0) + moved(2), True),
        ([-1, 2, -1], all3, all3, (), moved(2), True),  # a CPU the system cannot say
        ([3, 1, 3], all3, all3, (), moved(1), True),  # where the plug-in may not run
        ([1, 1], all3, {1}, (), [(77, {1})], True),  # GDB on one CPU already: not held
        ([1, 2], all3, all3, (0, 77), [], False),  # refused once, never asked again
        # The plug-in's move refused after GDB was held: GDB is let go at once.
        ([1, 2], all3, all3, (77,), held(1), False),
    ]
    for cpus, allowed, own, refused, sets, enabled in cases:
        system = System(cpus, allowed, own, refused)
        follower = CpuFollower(77, system.current, system.get, system.set)
        for _ in cpus:
            follower.follow()
            follower.let_go()
        check_equal(system.sets, sets, "settings for GDB on %s" % cpus)
        check_equal(follower.enabled, enabled, "following for GDB on %s" % cpus)
        check(not system.cpus or not enabled, "GDB's CPU asked at each call: %s" % cpus)


def test_gdb_is_held_on_the_plugins_cpu_until_it_waits_for_the_user_or_the_target():
    if len(GDB_CPUS) < 2:
        return  # one CPU: nothing to follow
    load_real()
    session = host.HOST.session
    pid = session.process._proc.pid
    mine = GDB_CPUS
    services = host.HOST.services
    inner, during = services.answer, []

    def answer(method, params):
        during.append((os.sched_getaffinity(0), os.sched_getaffinity(pid)))
        return inner(method, params)

    services.answer = answer
    try:
        session.notify()
        out("orti tasks")
    finally:
        services.answer = inner
    cpu = session.process._follower.cpu
    check(cpu in mine, "the plug-in was put on one of GDB's CPUs: %r" % cpu)
    check(during, "the command made requests")
    check_equal(set(map(str, during)), {str(({cpu}, {cpu}))},
                "GDB's thread and the plug-in on one CPU while the requests were answered")
    check_equal(os.sched_getaffinity(0), {cpu}, "GDB's thread's CPUs between calls")
    host.on_wait()  # the prompt
    check_equal(os.sched_getaffinity(0), mine, "GDB's thread's CPUs at the prompt")
    check_equal(os.sched_getaffinity(pid), {cpu}, "the plug-in's CPUs at the prompt")
    gdb.execute("set orti same-cpu off")
    try:
        out("orti tasks")
        check_equal(os.sched_getaffinity(pid), mine, "the plug-in's CPUs with same-cpu off")
        check_equal(os.sched_getaffinity(0), mine, "GDB's thread's CPUs with same-cpu off")
    finally:
        gdb.execute("set orti same-cpu on")


run(globals())
