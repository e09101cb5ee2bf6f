"""The GDB commands and settings of the host, and its hooks on GDB's events."""

import os
import shutil

import gdb

from . import cores, cpu, tables
from .services import ServiceAnswers
from .session import (OBJECT_NAME, OBJECT_NUMBER, OS_KIND, TASK_KIND, CallFailed, PluginError,
                      Session)

HOST_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPO_PLUGIN = os.path.join(HOST_DIR, "..", "..", "build", "default", "src", "osa_orti_plugin")

BACKTRACE_LIMIT = 64


class Host:
    """The one plug-in session of this GDB and the state around it."""

    def __init__(self):
        self.services = ServiceAnswers(gdb.write)
        self.services.kind_name = self.kind_name
        self.session = None
        self.dirty = False  # the target changed while the plug-in was busy

    def kind_name(self, type_id):
        return self.session.kind_name(type_id) if self.session is not None else None

    def plugin_path(self):
        setting = PLUGIN_PARAM.value
        if setting:
            return os.path.abspath(os.path.expanduser(setting))
        env = os.environ.get("ORTI_PLUGIN")
        if env:
            return os.path.abspath(env)
        built = os.path.normpath(REPO_PLUGIN)
        if os.path.isfile(built):
            return built
        return shutil.which("osa_orti_plugin") or built

    def need_session(self, loaded=True):
        s = self.session
        if s is None:
            raise gdb.GdbError("orti: no plug-in running; use 'orti load FILE' first")
        if s.gone:
            raise gdb.GdbError("orti: the plug-in is not running (%s); use 'orti load FILE'"
                               % s.gone)
        if loaded and not s.loaded:
            raise gdb.GdbError("orti: no ORTI file is loaded; use 'orti load FILE'")
        return s

    def stop_session(self):
        if self.session is not None:
            self.session.close()
            self.flush_notes()

    def flush_notes(self):
        s = self.session
        if s is None:
            return
        for line in s.stderr_notes().splitlines():
            if line.strip():
                gdb.write("orti: plug-in: %s\n" % line)

    def catch_up(self):
        """Tells the plug-in about a change of the target it has not heard of yet: a stop, or
        (a process started or connected since the load) another number of cores."""
        s = self.session
        if s is None or not s.loaded:
            return
        if cores.count() != s.cores:
            s.target_init(s.big_endian_target, cores.count())
        if self.dirty:
            self.dirty = False
            s.notify()


HOST = Host()


def target_state():
    """"none" (no process: formulas read the program file), "running" or "stopped"."""
    try:
        inferior = gdb.selected_inferior()
        thread = gdb.selected_thread()
    except gdb.error:
        return "none"
    if inferior.pid == 0 or thread is None or not thread.is_valid():
        return "none"
    return "running" if thread.is_running() else "stopped"


def need_halted(registers=False):
    state = target_state()
    if state == "running":
        raise gdb.GdbError("orti: the target is running; interrupt it first")
    if registers and state == "none":
        raise gdb.GdbError("orti: no process, so no registers: connect to the target or "
                           "start the program first")


def display_limit():
    width = gdb.parameter("width")
    return width if isinstance(width, int) and width >= 40 else 120


class OrtiCommand(gdb.Command):
    """A subcommand whose plug-in errors end as one line for the user."""

    def __init__(self, name):
        gdb.Command.__init__(self, "orti " + name, gdb.COMMAND_USER)

    def invoke(self, arg, from_tty):
        try:
            self.run(arg.strip())
        except PluginError as e:
            raise gdb.GdbError("orti: %s" % e)
        finally:
            end_line()
            HOST.flush_notes()


def end_line():
    if not HOST.services.display_ended_line:
        gdb.write("\n")
        HOST.services.display_ended_line = True


# -- settings -------------------------------------------------------------------------

class _SetOrti(gdb.Command):
    """Settings of the ORTI host."""

    def __init__(self, verb):
        gdb.Command.__init__(self, "%s orti" % verb, gdb.COMMAND_DATA, gdb.COMPLETE_NONE, True)


_SetOrti("set")
_SetOrti("show")


class _Param(gdb.Parameter):
    def __init__(self, name, kind, default, doc, show, choices=None):
        self.__doc__ = doc
        self.set_doc = doc
        self.show_doc = doc
        self._show = show
        if choices is None:
            gdb.Parameter.__init__(self, "orti " + name, gdb.COMMAND_DATA, kind)
        else:
            gdb.Parameter.__init__(self, "orti " + name, gdb.COMMAND_DATA, kind, choices)
        self.value = default

    def get_set_string(self):
        if self is VERBOSE_PARAM:
            HOST.services.verbose = bool(self.value)
        elif self is SAME_CPU_PARAM and HOST.session is not None:
            HOST.session.process.same_cpu = bool(self.value)
        return ""

    def get_show_string(self, svalue):
        return self._show % svalue


PLUGIN_PARAM = _Param("plugin", gdb.PARAM_OPTIONAL_FILENAME, "",
                      "The plug-in program that 'orti load' starts.",
                      "The plug-in program is %s (empty: $ORTI_PLUGIN or the build).")
TIMEOUT_PARAM = _Param("timeout", gdb.PARAM_ZUINTEGER, 10,
                       "Seconds to wait for each message of the plug-in.",
                       "Each message of the plug-in is awaited %s seconds.")
VERBOSE_PARAM = _Param("verbose", gdb.PARAM_BOOLEAN, False,
                       "Whether the plug-in's log copies of its messages are shown.",
                       "Showing the plug-in's log copies is %s.")
MAX_OBJECTS_PARAM = _Param("max-objects", gdb.PARAM_ZUINTEGER, 200,
                           "How many objects of one kind are shown at most (a list in target "
                           "memory may not end).",
                           "At most %s objects of one kind are shown.")
SAME_CPU_PARAM = _Param("same-cpu", gdb.PARAM_BOOLEAN, True,
                        "Whether the plug-in is moved to the CPU GDB runs on before each "
                        "call, so that the two, which take turns, wake each other on one "
                        "CPU (Linux).",
                        "Keeping the plug-in on GDB's CPU is %s.")
EXTENDED_SYNTAX_PARAM = _Param(
    "extended-syntax", gdb.PARAM_ENUM, "auto",
    "How 'orti load' loads: auto (strictly, and again with extended syntax when the file uses "
    "a construct of an OS generator outside the ORTI grammar), on (with extended syntax), off "
    "(strictly only).",
    "'orti load' loads with extended syntax: %s.", ["auto", "on", "off"])


def timeout_seconds():
    return float(max(1, TIMEOUT_PARAM.value))


# -- commands -------------------------------------------------------------------------

class Orti(gdb.Command):
    """Operating-system awareness from an ORTI file, through osa_orti_plugin.

orti load FILE      start the plug-in and load the ORTI file
orti tasks          every task: name, state, priority; the running one marked
orti show [KIND]    every object of a kind (or of every kind) with its attributes
orti stacks [NAME]  how full each stack is, and which task owns it
orti regs TASK      the saved registers of a task
orti bt TASK        the backtrace of a task from its saved registers
orti cmd TEXT       a plug-in command (help, version, expr Task.STATE, ...)
orti record FILE    write the conversation with the plug-in as a playback file
orti plugin [PATH]  show or set the plug-in program
orti stop           end the plug-in
Settings: set orti plugin|timeout|verbose|max-objects|extended-syntax|same-cpu."""

    def __init__(self):
        gdb.Command.__init__(self, "orti", gdb.COMMAND_USER, gdb.COMPLETE_NONE, True)

    def invoke(self, arg, from_tty):
        if arg.strip():
            raise gdb.GdbError("orti: unknown subcommand '%s'; see 'help orti'" % arg.strip())
        gdb.write(self.__doc__.split("\n", 2)[2] + "\n")


class OrtiPlugin(OrtiCommand):
    """Show or set the plug-in program that 'orti load' starts.
Usage: orti plugin [PATH]"""

    def __init__(self):
        OrtiCommand.__init__(self, "plugin")

    def run(self, arg):
        if arg:
            PLUGIN_PARAM.value = gdb.string_to_argv(arg)[0]
        gdb.write("orti: plug-in %s\n" % HOST.plugin_path())


class OrtiLoad(OrtiCommand):
    """Start the plug-in and load an ORTI file.
Usage: orti load FILE
A plug-in started before is ended first. The plug-in is initialised for the program's CPU
family, then loads FILE as written; a relative name is resolved against GDB's working
directory, and the plug-in runs there."""

    def __init__(self):
        OrtiCommand.__init__(self, "load")

    def run(self, arg):
        args = gdb.string_to_argv(arg)
        if len(args) != 1:
            raise gdb.GdbError("orti: usage: orti load FILE")
        path = args[0]
        HOST.stop_session()
        plugin = HOST.plugin_path()
        services = HOST.services
        services.search_dirs = lambda: _search_dirs(path)
        family = _cpu_family()
        services.family = family
        HOST.session = Session([plugin], os.getcwd(), services, timeout_seconds)
        HOST.session.selected_core = cores.selected
        HOST.session.process.same_cpu = bool(SAME_CPU_PARAM.value)
        HOST.dirty = False
        HOST.session.start(family, _big_endian(), cores.count())
        if not _load(HOST.session, path, EXTENDED_SYNTAX_PARAM.value):
            raise gdb.GdbError("orti: the plug-in could not load %s" % path)
        gdb.write("orti: %s loaded\n" % path)


def _load(s, path, mode):
    """Loads path as mode says (auto, on, off); False when it does not load. In auto mode a
    strict load that fails on a construct of an OS generator (the plug-in's messages point at
    --extended_syntax) is followed by one with extended syntax, said in one line; the strict
    load's messages are then shown only with 'set orti verbose on'."""
    if mode == "on":
        try:
            s.load(path, extended_syntax=True)
            return True
        except CallFailed:
            return False
    caught = []
    outer, s.services.capture = s.services.capture, caught
    try:
        s.load(path)
        loaded = True
    except CallFailed:
        loaded = False
    finally:
        s.services.capture = outer
    hinted = any("--extended_syntax" in text for _, text in caught)
    retry = not loaded and mode == "auto" and hinted and not s.gone
    if retry and not s.services.verbose:
        s.stderr_notes()  # the strict load's complaints, which the next load answers
    else:
        for kind, text in caught:
            s.services.show(kind, text)
    if not retry:
        return loaded
    end_line()
    gdb.write("orti: %s uses constructs of an OS generator outside the ORTI grammar; loading "
              "it with extended syntax\n" % path)
    try:
        s.load(path, extended_syntax=True)
        return True
    except CallFailed:
        return False


def _search_dirs(orti_path):
    dirs = [os.path.dirname(os.path.abspath(orti_path))]
    program = gdb.current_progspace().filename
    if program:
        dirs.append(os.path.dirname(os.path.abspath(program)))
    dirs.append(os.getcwd())
    return dirs


def _architecture():
    try:
        return gdb.selected_inferior().architecture().name()
    except (AttributeError, gdb.error, RuntimeError):
        return ""


def _cpu_family():
    """The CPU family of the program's architecture; the first one the host knows when none
    matches, with a note (task registers will then not be found)."""
    architecture = _architecture()
    family = cpu.family_for(architecture)
    if family is None:
        family = cpu.FAMILIES[0]
        gdb.write("orti: the host knows no CPU family of architecture '%s'; it tells the "
                  "plug-in %s\n" % (architecture, family.name))
    return family


def _big_endian():
    try:
        return "big endian" in gdb.execute("show endian", to_string=True)
    except gdb.error:
        return False


class OrtiTasks(OrtiCommand):
    """Show every task with its name, state and priority.
Usage: orti tasks
'*' marks the running task. When the ORTI file gives each core a running task of its own, the
CORE column says which core (counted from 0) runs it, every core asked on its own thread."""

    def __init__(self):
        OrtiCommand.__init__(self, "tasks")

    def run(self, arg):
        need_halted()
        s = HOST.need_session()
        HOST.catch_up()
        tasks, cut = s.task_list(MAX_OBJECTS_PARAM.value)
        running, problems = running_tasks(s)
        if ALL_CORES in running:
            current = running[ALL_CORES]
            rows = [["*" if t.task_id == current else "", t.task_id, t.name, t.state, t.priority]
                    for t in tasks]
            gdb.write(tables.format_table(["", "ID", "NAME", "STATE", "PRIORITY"], rows))
        else:
            rows = [["*" if cores_of(running, t.task_id) else "", t.task_id, t.name, t.state,
                     t.priority, ",".join(str(c) for c in cores_of(running, t.task_id))]
                    for t in tasks]
            gdb.write(tables.format_table(["", "ID", "NAME", "STATE", "PRIORITY", "CORE"], rows))
        if cut:
            gdb.write("orti: stopped after %d tasks\n" % len(tasks))
        for line in problems:
            gdb.write(line + "\n")
        names = dict((t.task_id, t.name) for t in tasks)
        for core, task_id in sorted(running.items(), key=lambda item: _core_order(item[0])):
            on_core = "" if core is ALL_CORES else " on core %d" % core
            if task_id is None:
                gdb.write("orti: the plug-in could not tell which task runs%s\n" % on_core)
            elif task_id not in names:
                gdb.write("orti: no task is running%s\n" % on_core)
            elif core is not ALL_CORES and cores.known() and core >= cores.known():
                gdb.write("orti: %s is the running task of core %d, which the target lacks (it "
                          "has %d)\n" % (names[task_id], core, cores.known()))


# The key of running_tasks() when one running task serves every core.
ALL_CORES = None


def _core_order(core):
    return -1 if core is ALL_CORES else core


def running_tasks(s):
    """Which task runs on each core: {core: task id (0: none, None: the plug-in could not
    tell)}, keyed ALL_CORES alone when the file gives one running task for every core; and a
    line for each core that could not be asked. Each core is asked on its own thread, so that
    its answer is made from that core."""
    model_cores = s.model_cores()
    if model_cores <= 1:
        return {ALL_CORES: s.current_task()}, []
    running, problems = {}, []
    for core in range(max(model_cores, cores.known())):
        caught = []
        outer, s.services.capture = s.services.capture, caught
        try:
            with cores.on_if_there(core), s.for_core(core):
                running[core] = s.current_task(core)
        except cores.CoreUnavailable as e:
            problems.append("orti: core %d is not shown: %s" % (core, e))
            continue
        finally:
            s.services.capture = outer
        why = " ".join(text.strip() for kind, text in caught if kind == 2 and text.strip())
        if running[core] is None and why:
            # One line: the plug-in's reason takes the place of the plain report below.
            problems.append("orti: the plug-in could not tell which task runs on core %d: %s"
                            % (core, why))
            del running[core]
        elif running[core] is not None:
            for kind, text in caught:
                s.services.show(kind, text)
    return running, problems


def cores_of(running, task_id):
    """The cores (in order) whose running task is task_id."""
    return [core for core, t in sorted(running.items(), key=lambda item: _core_order(item[0]))
            if core is not ALL_CORES and t == task_id and t]


def kind_title(kind, count):
    described = " (%s)" % kind.description if kind.description else ""
    return "%s%s: %d object%s" % (kind.name, described, count, "" if count == 1 else "s")


def object_table(kind, objects, lead=None):
    """The objects' table; lead, when given, is (heading, one cell per object) of a first
    column."""
    ids = sorted(set(i for obj in objects for i in obj))
    headers = [lead[0]] if lead else []
    for i in ids:
        if i == OBJECT_NUMBER:
            headers.append("#")
        elif i == OBJECT_NAME:
            headers.append("NAME")
        else:
            headers.append(kind.column(i))
    rows = [[obj.get(i) for i in ids] for obj in objects]
    if lead:
        rows = [[cell] + row for cell, row in zip(lead[1], rows)]
    return tables.format_objects(headers, rows, display_limit())


class OrtiShow(OrtiCommand):
    """Show every object of a kind with its attributes.
Usage: orti show [KIND]
Lists in target memory are walked. KIND: OS, TASK, CONTEXT, STACK, ALARM, RESOURCE,
MESSAGECONTAINER, a vendor kind's name, or a kind id (0-6, 100 and up). Without KIND, every
kind."""

    def __init__(self):
        OrtiCommand.__init__(self, "show")

    def run(self, arg):
        need_halted()
        s = HOST.need_session()
        HOST.catch_up()
        limit = MAX_OBJECTS_PARAM.value
        description = s.model()
        if arg:
            kinds = [self._resolve(description, arg)]
        else:
            kinds = [description.kind(t) for t in description.type_ids()]
        for n, kind in enumerate(kinds):
            if n:
                gdb.write("\n")
            if kind.type_id == OS_KIND and kind.max_elements() > 1:
                show_os_per_core(s, kind)
                continue
            # A kind without objects is not walked: the plug-in would refuse the walk.
            objects, cut = s.walk_all(kind, limit) if kind.count else ([], False)
            if not objects:
                gdb.write("%s: no objects\n" % kind.name)
                continue
            gdb.write(kind_title(kind, len(objects)) + "\n")
            gdb.write(object_table(kind, objects))
            if cut:
                gdb.write("orti: stopped after %d objects (set orti max-objects)\n" % limit)

    def _resolve(self, description, arg):
        word = arg.split()[0]
        kind = description.find(word)
        if kind is not None:
            return kind
        try:
            number = int(word, 0)
        except ValueError:
            raise gdb.GdbError("orti: no object kind '%s'" % word)
        raise gdb.GdbError("orti: no object kind %d (the file has %s)"
                           % (number, ", ".join(str(t) for t in description.type_ids())))


def show_os_per_core(s, kind):
    """The OS as each core sees it, one row per core (counted from 0): every element of an
    array attribute, and with one OS object per core each core's own. Each row is read on its
    core's thread."""
    described = kind.max_elements()
    rows, shown, notes = [], [], []
    for core in range(max(described, cores.known())):
        try:
            with cores.on_if_there(core), s.for_core(core):
                objects, _ = s.walk(kind, 1)
        except cores.CoreUnavailable as e:
            notes.append("orti: core %d is not shown: %s" % (core, e))
            continue
        rows += objects[:1]
        shown += [core] * len(objects[:1])
    if not rows:
        gdb.write("%s: no objects\n" % kind.name)
    else:
        gdb.write("%s, one row per core\n" % kind_title(kind, 1))
        gdb.write(object_table(kind, rows, ("CORE", shown)))
    if cores.known() and described != cores.known():
        notes.append("orti: the ORTI file describes %d cores, the target has %d"
                     % (described, cores.known()))
    for line in notes:
        gdb.write(line + "\n")


def running_core(running, task_id):
    """Where task_id runs: (True, ALL_CORES) when one running task serves every core,
    (True, core) for the first core whose running task it is, (False, None) when it runs
    nowhere."""
    if ALL_CORES in running:
        return running[ALL_CORES] == task_id, ALL_CORES
    on = cores_of(running, task_id)
    return (True, on[0]) if on else (False, None)


def stack_owners(s, rows):
    """For each stack row's name, the tasks whose STACK attribute names it, and the tasks
    whose STACK names none of the rows (with what it names)."""
    kind = s.model().kind(TASK_KIND)
    stack_id = kind.id_of("STACK") if kind is not None else None
    owners = dict((row.name, []) for row in rows)
    strays = []
    if stack_id is None or not kind.count:
        return owners, strays
    objects, _ = s.walk(kind, MAX_OBJECTS_PARAM.value, only=(OBJECT_NAME, stack_id))
    by_lower = dict((name.lower(), name) for name in owners)
    for obj in objects:
        task, label = obj.get(OBJECT_NAME), obj.get(stack_id)
        if task is None or label is None:
            continue
        # The label names the stack; letter case is the only liberty taken with it.
        name = label if label in owners else by_lower.get(str(label).lower())
        if name is None:
            strays.append((task, label))
        else:
            owners[name].append(task)
    return owners, strays


class OrtiStacks(OrtiCommand):
    """Show how full each stack is, and which task owns it.
Usage: orti stacks [NAME]
From each STACK object's size, base address, direction and fill pattern, the plug-in reads the
stack's memory from its far end and finds the last byte ever used; the bar shows the used
share, '!' a stack that probably overflowed. A task owns the stack its STACK attribute names.
NAME: only the STACK object of that name."""

    def __init__(self):
        OrtiCommand.__init__(self, "stacks")

    def run(self, arg):
        need_halted()
        s = HOST.need_session()
        HOST.catch_up()
        name = arg.split()[0] if arg else None
        try:
            rows = s.stack_usage(name)
        except CallFailed as e:
            raise gdb.GdbError("orti: %s" % e)
        if not rows:
            gdb.write("orti: the ORTI file describes no stacks\n")
            return
        owners, strays = stack_owners(s, rows)
        table = [[r.name, ", ".join(owners.get(r.name, [])), r.size, r.used, r.free,
                  "" if r.percent is None else "%d%%" % r.percent,
                  tables.usage_bar(r.used, r.size, r.status == "overflow")
                  if r.status in ("ok", "overflow") else "", r.note]
                 for r in rows]
        gdb.write(tables.format_table(
            ["STACK", "TASK", "SIZE", "USED", "FREE", "USED%", "", "NOTE"], table))
        if name is None:
            for task, label in strays:
                gdb.write("orti: the STACK attribute of %s is %s, which names no stack\n"
                          % (task, label))


def find_task(s, arg):
    if not arg:
        raise gdb.GdbError("orti: name a task (its name or its id)")
    tasks, _ = s.task_list(MAX_OBJECTS_PARAM.value, states=False)
    running, _ = running_tasks(s)
    word = arg.split()[0]
    for match in (lambda t: t.name == word, lambda t: (t.name or "").lower() == word.lower(),
                  lambda t: word.isdigit() and t.task_id == int(word)):
        for t in tasks:
            if match(t):
                return t, running
    raise gdb.GdbError("orti: no task '%s'" % word)


def symbol_of(address):
    try:
        out = gdb.execute("info symbol 0x%x" % address, to_string=True).strip()
    except gdb.error:
        return ""
    if out.startswith("No symbol"):
        return ""
    return out.split(" in section ")[0]


class OrtiRegs(OrtiCommand):
    """Show the saved registers of a task.
Usage: orti regs TASK
TASK is a task's name or id. The running task's registers are the live ones."""

    def __init__(self):
        OrtiCommand.__init__(self, "regs")

    def run(self, arg):
        need_halted(registers=True)
        s = HOST.need_session()
        HOST.catch_up()
        task, running = find_task(s, arg)
        is_running, core = running_core(running, task.task_id)
        live = ""
        if is_running:
            live = (" (running: live registers)" if core is ALL_CORES else
                    " (running on core %d: the live registers of thread %s)"
                    % (core, cores.thread_name(core)))
        gdb.write("%s%s\n" % (task.name, live))
        family = s.family
        rows = []
        for name, reg_id, status, value in s.task_registers(task.task_id):
            if status == 0:
                where = symbol_of(family.word(value)) if name in family.code_registers else ""
                rows.append([name, family.hex(value), where])
            else:
                rows.append([name, "not saved" if status == 2 else "unreadable", ""])
        end_line()
        gdb.write(tables.format_table(["REGISTER", "VALUE", "SYMBOL"], rows))
        if is_running and core is not ALL_CORES and core >= cores.known():
            gdb.write("orti: %s runs on core %d, which the target lacks (it has %d)\n"
                      % (task.name, core, cores.known()))


class OrtiBt(OrtiCommand):
    """Show the backtrace of a task from its saved registers.
Usage: orti bt TASK
The task's saved registers are loaded into the core for the moment of the backtrace; the live
registers and the selected frame are put back afterwards."""

    def __init__(self):
        OrtiCommand.__init__(self, "bt")

    def run(self, arg):
        need_halted(registers=True)
        s = HOST.need_session()
        HOST.catch_up()
        task, running = find_task(s, arg)
        is_running, core = running_core(running, task.task_id)
        if is_running and core is ALL_CORES:
            gdb.write("%s is running; its backtrace is the live one:\n" % task.name)
            gdb.write(gdb.execute("bt %d" % BACKTRACE_LIMIT, to_string=True))
            return
        if is_running:
            try:
                with cores.on(core):
                    trace = gdb.execute("bt %d" % BACKTRACE_LIMIT, to_string=True)
            except cores.CoreUnavailable as e:
                raise gdb.GdbError("orti: %s runs on core %d, but %s" % (task.name, core, e))
            gdb.write("%s is running on core %d; its backtrace is the live one of thread %s:\n"
                      % (task.name, core, cores.thread_name(core)))
            gdb.write(trace)
            return
        family = s.family
        registers = s.task_registers(task.task_id)
        saved = dict((name, family.word(value)) for name, _, status, value in registers
                     if status == 0)
        unreadable = [name for name, _, status, _ in registers
                      if status not in (0, 2) and name in family.backtrace_needs]
        if unreadable:
            raise gdb.GdbError("orti: the saved %s of %s could not be read (a corrupt context?)"
                               % (" and ".join(unreadable), task.name))
        missing = [n for n in family.backtrace_needs if n not in saved]
        if missing:
            raise gdb.GdbError("orti: %s has no saved %s (no valid context for it, or the ORTI "
                               "file does not say where they are)"
                               % (task.name, " and ".join(missing)))
        lacking = [n for n in family.unwind_helpers if n not in saved]
        gdb.write("backtrace of %s:\n" % task.name)
        gdb.write(backtrace_with(saved, family))
        if lacking:
            gdb.write("orti: %s has no saved %s; the backtrace may end early\n"
                      % (task.name, " and ".join(lacking)))


def backtrace_with(registers, family):
    """GDB's backtrace with registers loaded into the core; the live registers and the
    selected frame are put back on every path."""
    selected = gdb.selected_frame()
    level = selected.level()
    newest = gdb.newest_frame()
    newest.select()
    loaded = family.backtrace_registers()
    live = [(name, family.word(int(newest.read_register(name)))) for name in loaded]
    HOST.dirty = True
    try:
        for name in loaded:
            if name in registers:
                gdb.execute("set var $%s = %d" % (name, registers[name]), to_string=True)
        try:
            return gdb.execute("bt %d" % BACKTRACE_LIMIT, to_string=True)
        except gdb.error as e:
            return "orti: the backtrace stopped: %s\n" % e
    finally:
        failed = []
        for name, value in live:
            try:
                gdb.execute("set var $%s = %d" % (name, value), to_string=True)
            except gdb.error:
                failed.append(name)
        cores.select_level(level)
        if failed:
            gdb.write("orti: could not put back %s\n" % ", ".join(failed))


class OrtiCmd(OrtiCommand):
    """Run a plug-in command and show what it displays.
Usage: orti cmd TEXT
For example: help, version, expr OBJECT.ATTRIBUTE, mapregname ID NAME, saveconfig FILE."""

    def __init__(self):
        OrtiCommand.__init__(self, "cmd")

    def run(self, arg):
        if not arg:
            raise gdb.GdbError("orti: usage: orti cmd TEXT")
        need_halted()
        s = HOST.need_session(loaded=False)
        HOST.catch_up()
        status = s.command(arg)
        end_line()
        if status != 0:
            raise gdb.GdbError("orti: the plug-in could not run '%s' (return %s)" % (arg, status))


class OrtiRecord(OrtiCommand):
    """Write the conversation with the plug-in as a playback file.
Usage: orti record FILE
The whole conversation since the plug-in started; 'osa_orti_plugin -file FILE' replays it."""

    def __init__(self):
        OrtiCommand.__init__(self, "record")

    def run(self, arg):
        args = gdb.string_to_argv(arg)
        if len(args) != 1:
            raise gdb.GdbError("orti: usage: orti record FILE")
        if HOST.session is None:
            raise gdb.GdbError("orti: nothing to record; use 'orti load FILE' first")
        process = HOST.session.process
        lines = process.conversation
        try:
            with open(args[0], "wb") as f:
                for tag, text in lines:
                    f.write(tag.encode("ascii") + b": " + text + b"\n")
        except OSError as e:
            raise gdb.GdbError("orti: cannot write %s: %s" % (args[0], e.strerror))
        gdb.write("orti: wrote %d lines to %s\n" % (len(lines), args[0]))
        if process.conversation_cut:
            gdb.write("orti: the conversation grew past %d MiB, so the recording holds only its "
                      "first part, up to the last whole call before that (it replays to there); "
                      "'orti load' starts a new one\n" % (process.conversation_limit >> 20))


class OrtiStop(OrtiCommand):
    """End the plug-in (OsaCleanup, Exit).
Usage: orti stop"""

    def __init__(self):
        OrtiCommand.__init__(self, "stop")

    def run(self, arg):
        HOST.stop_session()


# -- events ---------------------------------------------------------------------------

def on_stop(event):
    s = HOST.session
    if s is None or not s.loaded or s.gone:
        return
    if s.busy:
        HOST.dirty = True
        return
    try:
        HOST.dirty = False
        s.notify()
    except PluginError as e:
        gdb.write("orti: %s\n" % e)
    HOST.flush_notes()


def on_change(event):
    HOST.dirty = True


def on_wait(event=None):
    """GDB waits for the user (its prompt) or for the target (it resumed it)."""
    if HOST.session is not None:
        HOST.session.process.let_go_cpu()


def on_exit(event):
    try:
        HOST.stop_session()
    except Exception:
        pass


def install():
    Orti()
    for command in (OrtiPlugin, OrtiLoad, OrtiTasks, OrtiShow, OrtiStacks, OrtiRegs, OrtiBt,
                    OrtiCmd, OrtiRecord, OrtiStop):
        command()
    gdb.events.stop.connect(on_stop)
    gdb.events.memory_changed.connect(on_change)
    gdb.events.register_changed.connect(on_change)
    gdb.events.gdb_exiting.connect(on_exit)
    gdb.events.before_prompt.connect(on_wait)
    gdb.events.cont.connect(on_wait)
