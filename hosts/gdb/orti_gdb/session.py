"""One conversation with the plug-in: the OSA_Client_* calls a debugger makes, with the
plug-in's OSA_Service_* requests answered while each call is served."""

import contextlib
import json
import json.encoder
import re
import sys

from . import cpu, model
from .services import UnknownService
from .transport import Deadline, PluginError, PluginGone, PluginProcess

CONTEXT = 1

# The generated attributes of every object.
OBJECT_NUMBER = 1
OBJECT_NAME = 2
OS_KIND = 0
TASK_KIND = 1
# The OS attributes whose elements say which task runs on each core: RUNNINGTASK, _RUNNINGTASK.
RUNNING_TASK_IDS = (3, 9)


class CallFailed(PluginError):
    """The plug-in answered a call with a "return" other than 0."""

    def __init__(self, text, status):
        PluginError.__init__(self, text)
        self.status = status


class TaskObject:
    def __init__(self, task_id, name, state, priority):
        self.task_id = task_id
        self.name = name
        self.state = state
        self.priority = priority


class StackRow:
    """One record of the plug-in's stackusage: texts as the plug-in gives them, numbers as
    int (None where the plug-in could not read the value)."""

    FIELDS = ("name", "status", "size", "base", "direction", "pattern", "used", "free",
              "percent", "note")
    NUMBERS = ("size", "used", "free", "percent")

    def __init__(self, fields):
        for key, value in zip(self.FIELDS, fields):
            if key in self.NUMBERS:
                value = int(value) if value else None
            setattr(self, key, value)


def parse_stack_records(text):
    """The StackRows of stackusage --records; a line that is no record is skipped."""
    rows = []
    for line in text.split("\n"):
        fields = line.split("\t")
        if fields[0] != "stack" or len(fields) != 1 + len(StackRow.FIELDS):
            continue
        try:
            rows.append(StackRow(fields[1:]))
        except ValueError:
            continue
    return rows


def _object_index(kind, number):
    """The index among the kind's objects of the object with this object number (a list's
    elements are one object), or None without a number."""
    if not isinstance(number, int):
        return None
    return number - 1 if 0 < number <= kind.count else 0


_UNESCAPE = {"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}
# A backslash and the character after it; one at the very end stands for itself.
_ESCAPE = re.compile(r"\\(.)", re.S)


def _unescape_one(match):
    c = match.group(1)
    return _UNESCAPE.get(c, c)


def _unescape(text):
    return _ESCAPE.sub(_unescape_one, text) if "\\" in text else text


def parse_walk_records(text):
    """The objects of the plug-in's walk records, as walk() gives them: ([{attribute id:
    value}], cut), or None when the records do not end the way a whole walk ends.

        object
        value<TAB>ATTRID<TAB>n<TAB>NUMBER
        value<TAB>ATTRID<TAB>s<TAB>TEXT (backslash escapes for \\, tab, LF, CR)
        end<TAB>done | end<TAB>cut
    """
    objects = []
    for line in text.split("\n"):
        fields = line.split("\t")
        if fields[0] == "object" and len(fields) == 1:
            objects.append({})
        elif fields[0] == "value" and len(fields) == 4 and objects:
            try:
                attr_id = int(fields[1])
                value = int(fields[3]) if fields[2] == "n" else _unescape(fields[3])
            except ValueError:
                return None
            if fields[2] not in ("n", "s"):
                return None
            objects[-1][attr_id] = value
        elif fields[0] == "end" and len(fields) == 2 and fields[1] in ("done", "cut"):
            return objects, fields[1] == "cut"
    return None


class Session:
    """The plug-in process and the calls made to it."""

    def __init__(self, argv, cwd, services, timeout=lambda: 10.0, notes=None):
        self.process = PluginProcess(argv, cwd)
        self.services = services
        self.timeout = timeout
        self.notes = notes or (lambda text: sys.stdout.write(text))
        self.busy = False
        self.loaded = False
        self.orti_path = None
        self.gone = None  # why the plug-in cannot be used any more
        self.family = cpu.ARM
        self._next_id = 1
        self._model = None  # the plug-in's description of the loaded model
        self._model_stale = False
        # Cores of the target, as TargetInit told the plug-in. With more than one, every call
        # carries the core it is for: the one for_core() names, else selected_core()'s (the
        # core of GDB's selected thread, counted from 0; None when there is none).
        self.cores = 1
        self.selected_core = lambda: None
        self._for_core = None

    # -- the exchange ---------------------------------------------------------------------

    def call(self, method, params=None, context=True):
        """Sends one call and serves the plug-in's requests until its response comes; gives
        the response's "result" object. The time limit is the whole call's, the requests it
        makes and their answers included: GDB is held for no longer."""
        if self.gone:
            raise PluginGone("the plug-in is not running (%s); use 'orti load FILE'" % self.gone)
        if context:
            body = {"context": CONTEXT}
            core = self._core_of_call()
            if core is not None and not (params and "hostCoreId" in params):
                body["hostCoreId"] = core + 1
            if params:
                body.update(params)
        else:
            body = dict(params or {})
        request = {"jsonrpc": "2.0", "method": method, "params": body, "id": self._next_id}
        self._next_id += 1
        self.busy = True
        deadline = Deadline(self.timeout())
        self.process.begin_call()
        try:
            self.process.send(_encode(request), deadline, method)
            while True:
                text = self.process.receive(deadline, method)
                message = self._decode(text)
                if "method" in message:
                    self._serve(message, deadline, method)
                    continue
                if "error" in message:
                    error = message["error"] if isinstance(message["error"], dict) else {}
                    raise PluginError("the plug-in answered %s with error %s: %s" % (
                        method, error.get("code"), error.get("message")))
                result = message.get("result")
                if not isinstance(result, dict):
                    self._give_up("the plug-in answered %s without a result object" % method)
                return result
        except KeyboardInterrupt:
            # Half a conversation cannot be picked up again: its answer may still come.
            self.gone = "interrupted while it served %s" % method
            self.loaded = False
            self.process.stop(grace=0.2)
            raise PluginGone("interrupted; the plug-in was ended (use 'orti load FILE')")
        except PluginGone as e:
            self.gone = str(e)
            self.loaded = False
            raise
        finally:
            self.busy = False

    def _core_of_call(self):
        if self.cores <= 1:
            return None
        return self._for_core if self._for_core is not None else self.selected_core()

    @contextlib.contextmanager
    def for_core(self, core):
        """The calls made in the body are for core (counted from 0)."""
        outer, self._for_core = self._for_core, core
        try:
            yield
        finally:
            self._for_core = outer

    def call_ok(self, method, params=None):
        """A call that must answer "return" 0."""
        result = self.call(method, params)
        status = result.get("return")
        if status != 0:
            raise CallFailed("the plug-in answered %s with return %s" % (method, status), status)
        return result

    def _decode(self, text):
        message = getattr(text, "value", None)  # parsed already while it was framed
        if message is None:
            try:
                message = json.loads(text.decode("utf-8", "replace"))
            except ValueError:
                self._give_up("the plug-in sent a message that is not JSON: %r" % text[:60])
        if not isinstance(message, dict):
            self._give_up("the plug-in sent a message that is not a JSON object")
        return message

    def _give_up(self, why):
        self.process.stop(grace=0.2)
        raise PluginGone(why)

    def _serve(self, message, deadline, call):
        """Answers one request of the plug-in, which waits for exactly one answer to it."""
        ident = message.get("id")
        try:
            result = self.services.answer(str(message.get("method")), message.get("params"))
            text = _encode({"jsonrpc": "2.0", "result": result, "id": ident})
        except UnknownService:
            text = _encode({"jsonrpc": "2.0",
                            "error": {"code": -32601, "message": "unknown message"},
                            "id": ident})
        except Exception:
            # The answer could not be made (or not written as JSON); the plug-in still gets one.
            text = _encode({"jsonrpc": "2.0",
                            "error": {"code": -32603, "message": "internal error"},
                            "id": ident})
        if len(text) > 65535:
            text = _encode({"jsonrpc": "2.0", "result": {"return": 1}, "id": ident})
        self.process.send(text, deadline, call)

    # -- start and end ------------------------------------------------------------------

    def start(self, family, big_endian_target, cores=1):
        self.family = family
        self.process.start()
        self.call_ok("OSA_Client_OsaInit", {"versionRequired": 2, "treatMasterProcessAsKernel": 1})
        self.target_init(big_endian_target, cores)

    def target_init(self, big_endian_target, cores):
        """Tells the plug-in the target and its cores (again, when they changed)."""
        self.big_endian_target = big_endian_target
        self.cores = max(1, cores)
        params = {"majorCpuType": self.family.major_cpu_type,
                  "minorCpuType": self.family.minor_cpu_type,
                  "bigEndianTarget": 1 if big_endian_target else 0,
                  "bigEndianHost": 1 if sys.byteorder == "big" else 0, "coreCount": self.cores}
        if self.cores > 1:
            params["coreIdList"] = list(range(1, self.cores + 1))
        self.call_ok("OSA_Client_TargetInit", params)

    def load(self, path, extended_syntax=False):
        quoted = '"%s"' % path if any(c.isspace() for c in path) else path
        option = "--extended_syntax " if extended_syntax else ""
        status = self.command("load_orti " + option + quoted)
        if status != 0:
            raise CallFailed("the plug-in could not load %s" % path, status)
        self.loaded = True
        self.orti_path = path
        # Read now, so that the kind names are known even inside a later command's requests.
        self.model()

    def close(self):
        """Ends the conversation the way a debugger does, then the process."""
        if not self.gone and self.process.alive():
            # A plug-in on its way out gets little time: ending GDB must not wait long.
            timeout, self.timeout = self.timeout, lambda: min(timeout(), 2.0)
            try:
                self.call("OSA_Client_OsaCleanup")
                self.call("OSA_Client_Exit", context=False)
            except PluginError:
                pass
            finally:
                self.timeout = timeout
        self.process.stop()
        self.gone = self.gone or "it was stopped"
        self.loaded = False

    def stderr_notes(self):
        return self.process.new_stderr()

    # -- calls --------------------------------------------------------------------------

    def notify(self):
        """Tells the plug-in that the target stopped, so that it drops its cached values."""
        return self.call("OSA_Client_TargetNotify", {"notice": 1}).get("return")

    def command(self, text, reads_only=False):
        """Runs a plug-in command; reads_only: one of the host's own reading commands, which
        leave the model as it is."""
        status = self.call("OSA_Client_OsaCmd_Execute", {"command": text}).get("return")
        # Any other command may add attributes (a register location is one) to the model.
        if not reads_only:
            self._model_stale = True
        return status

    def model(self):
        """The plug-in's description of the loaded model (model.Model), asked for again after
        any command."""
        if self._model is None or self._model_stale:
            status, output, why = self.captured_command("describe", reads_only=True)
            if status != 0:
                raise PluginError("the plug-in could not describe its model (%s)" % why)
            self._model = model.parse(output)
            self._model_stale = False
        return self._model

    def _command_caught(self, text, reads_only=False):
        """Runs a plug-in command without showing what it shows: its status and the
        (message type, text) pairs it showed, in order."""
        outer = self.services.capture
        self.services.capture = []
        try:
            status = self.command(text, reads_only)
            return status, self.services.capture
        finally:
            self.services.capture = outer

    def captured_command(self, text, reads_only=False):
        """Runs a plug-in command and gives its status, the text it showed as output (message
        type 0) and the rest of what it showed (its refusals), without showing any of it."""
        status, caught = self._command_caught(text, reads_only)
        output = "".join(t for kind, t in caught if kind == 0)
        why = "".join(t for kind, t in caught if kind != 0).strip()
        return status, output, why

    def stack_usage(self, name=None):
        """The plug-in's stack coverage rows (StackRow), of every stack or the one named."""
        status, output, why = self.captured_command(
            "stackusage --records" + (" " + name if name else ""), reads_only=True)
        if status != 0:
            raise CallFailed(why or "the plug-in could not measure the stacks", status)
        return parse_stack_records(output)

    def kind_name(self, type_id):
        """The name of an object type, as the model last described it; None when unknown.
        Never asks the plug-in, so that it may be used while a call waits: names do not
        change once a file is loaded."""
        kind = self._model.kind(type_id) if self._model is not None else None
        return kind.name if kind is not None else None

    def _attribute(self, kind, attr_id, value_type=0):
        """One attribute of the current object, or None. The plug-in's notes about a read that
        gives nothing (an object without the attribute) are shown only in verbose mode: the
        empty cell says it."""
        outer = self.services.capture
        self.services.capture = []
        try:
            result = self.call("OSA_Client_ObjectListAttribute", {
                "objTypeId": kind, "objAtrId": attr_id, "valueType": value_type})
        finally:
            caught, self.services.capture = self.services.capture, outer
        failed = result.get("return") != 0 or "objAtrValue" not in result
        if not failed or self.services.verbose:
            for message_type, text in caught:
                self.services.show(message_type, text)
        return None if failed else result["objAtrValue"]

    def _read_object(self, kind, only=None):
        values = {}
        number = self._attribute(kind.type_id, OBJECT_NUMBER, 11)
        if number is not None:
            values[OBJECT_NUMBER] = number
        index = _object_index(kind, number)
        for attr_id in [OBJECT_NAME] + kind.attribute_ids():
            if only is not None and attr_id not in only:
                continue
            if attr_id != OBJECT_NAME and not kind.has(attr_id, index):
                continue
            value = self._attribute(kind.type_id, attr_id)
            if value is not None:
                values[attr_id] = value
        return values

    def walk_all(self, kind, max_objects):
        """walk() of every attribute in one call: the plug-in's walk command reads what the
        separate calls would and answers with records (see parse_walk_records), so that a
        table costs one exchange instead of one per value. The notes of a read show as
        _attribute shows them. A plug-in that does not know the command is walked call by
        call."""
        ids = " ".join(str(i) for i in kind.attribute_ids())
        status, caught = self._command_caught(
            "walk %s%d %d %s" % ("--notes " if self.services.verbose else "", kind.type_id,
                                 max_objects, ids), reads_only=True)
        parsed = parse_walk_records("".join(t for k, t in caught if k == 0))
        if status != 0 or parsed is None:
            return self.walk(kind, max_objects)
        for message_type, text in caught:
            if message_type != 0:
                self.services.show(message_type, text)
        objects, cut = parsed
        for values in objects:
            # What the call-by-call walk would not have asked for is dropped.
            index = _object_index(kind, values.get(OBJECT_NUMBER))
            for attr_id in list(values):
                if attr_id not in (OBJECT_NUMBER, OBJECT_NAME) and not kind.has(attr_id, index):
                    del values[attr_id]
        return objects, cut

    def walk(self, kind, max_objects, only=None):
        """Every object of a kind (a model.Kind) as the OSA Explorer sees it: a list of
        {attribute id: value} (the object number and the ids in only, or every attribute
        that answers) and whether the walk stopped at max_objects."""
        status = self.call("OSA_Client_ObjectListInit",
                           {"objTypeId": kind.type_id, "showAllObjects": 1}).get("return")
        objects = []
        cut = False
        try:
            while status == 0:
                objects.append(self._read_object(kind, only))
                if kind.type_id == 0:
                    break
                if len(objects) >= max_objects:
                    cut = True
                    break
                status = self.call("OSA_Client_ObjectListNext",
                                   {"objTypeId": kind.type_id}).get("return")
        finally:
            self.call("OSA_Client_ObjectListCleanup", {"objTypeId": kind.type_id})
        return objects, cut

    def current_task(self, core=None):
        """The running task of core (counted from 0), or without core of the call's core."""
        params = {"checkInKernel": 0}
        if core is not None:
            params["coreId"] = core + 1
        result = self.call("OSA_Client_CurrentTaskGet", params)
        return result.get("taskId") if result.get("return") == 0 else None

    def model_cores(self):
        """How many cores the loaded file gives a running task of their own: the elements of
        the OS's RUNNINGTASK (or _RUNNINGTASK), as describe counts them; 1 for one running task
        that serves every core."""
        kind = self.model().kind(OS_KIND)
        if kind is None:
            return 1
        return max([1] + [kind.elements(attr_id) for attr_id in RUNNING_TASK_IDS])

    def task_name(self, task_id):
        result = self.call("OSA_Client_TaskNameGet", {"taskId": task_id})
        return result.get("name") if result.get("return") == 0 else None

    def task_status(self, task_id):
        result = self.call("OSA_Client_TaskStatusGet", {"taskId": task_id})
        return result.get("status") if result.get("return") == 0 else None

    def tasks(self, max_objects):
        """The tasks in the plug-in's order, whether the list was cut, and the running
        task's id (0: none, None: the plug-in could not tell)."""
        tasks, cut = self.task_list(max_objects)
        return tasks, cut, self.current_task()

    def task_list(self, max_objects, states=True):
        """The tasks in the plug-in's order, and whether the list was cut; without states only
        their ids and names (state and priority None)."""
        kind = self.model().kind(TASK_KIND)
        priority, status = kind.id_of("PRIORITY"), kind.id_of("STATE")
        # The task calls give the names and states: the walk reads only the rest, and the
        # attributes the calls stand for only for a task they do not answer for.
        objects, cut = self.walk(kind, max_objects, only=(priority,) if states else ())
        found = []
        for obj in objects:
            task_id = obj.get(OBJECT_NUMBER)
            if not isinstance(task_id, int):
                continue
            found.append((task_id, obj, self.task_name(task_id),
                          self.task_status(task_id) if states else None))
        fallback = {}
        if any(name is None or (states and state is None) for _, _, name, state in found):
            again, _ = self.walk(kind, max_objects,
                                 only=(OBJECT_NAME, status) if states else (OBJECT_NAME,))
            fallback = dict((obj.get(OBJECT_NUMBER), obj) for obj in again)
        tasks = []
        for task_id, obj, name, state in found:
            spare = fallback.get(task_id, {})
            tasks.append(TaskObject(task_id, name if name is not None else spare.get(OBJECT_NAME),
                                    state if state is not None or not states
                                    else spare.get(status), obj.get(priority)))
        return tasks, cut

    def task_register(self, task_id, reg_id):
        """(status, value): status 0 with the value, 2 when the ORTI file does not give the
        register for this task, 1 on failure."""
        result = self.call("OSA_Client_TaskRegisterRead", {"taskId": task_id, "register": reg_id})
        status = result.get("return")
        value = result.get("value")
        if status == 0 and not isinstance(value, int):
            status = 1
        return status, value

    def task_registers(self, task_id):
        return [(r.shown, r.reg_id) + self.task_register(task_id, r.reg_id)
                for r in self.family.registers]


def _unencodable(value):
    raise TypeError("%s is not JSON serializable" % type(value).__name__)


def _make_encode():
    """The function that writes a message as compact ASCII JSON, as json.dumps does. json.dumps
    makes its encoder anew for every message, which costs more than encoding a small message
    itself; the one made here serves every message, once it has written a probe exactly as
    json.dumps writes it (the encoder's own constructor is not a documented interface)."""
    compact = json.JSONEncoder(separators=(",", ":"), default=_unencodable)
    try:
        encoder = json.encoder.c_make_encoder(
            None, _unencodable, json.encoder.encode_basestring_ascii, None, ":", ",", False,
            False, True)
        probe = {"a": [1, -2, "\u00e9\"\n", None, True], "b": {"c": False}}
        if "".join(encoder(probe, 0)) == compact.encode(probe):
            return lambda message: "".join(encoder(message, 0)).encode("ascii")
    except Exception:
        pass
    return lambda message: compact.encode(message).encode("ascii")


_encode = _make_encode()
