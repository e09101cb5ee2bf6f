"""One conversation with the plug-in: the OSA_Client_* calls a debugger makes, with the
plug-in's OSA_Service_* requests answered while each call is served."""

import json
import re
import sys

from . import cpu
from .services import KIND_NAMES, UnknownService
from .transport import Deadline, PluginError, PluginGone, PluginProcess

CONTEXT = 1

# Standard attribute ids 3 to 9 of each kind, as the plug-in numbers them.
STANDARD_ATTRIBUTES = {
    0: ["RUNNINGTASK", "RUNNINGTASKPRIORITY", "RUNNINGISR2", "SERVICETRACE", "LASTERROR",
        "CURRENTAPPMODE", "_RUNNINGTASK"],
    1: ["PRIORITY", "STATE", "STACK", "CURRENTACTIVATIONS", "REMAININGACTIVATIONS",
        "CONTEXT", "TASK_ID"],
    2: ["ADDRESS", "SIZE"],
    3: ["SIZE", "BASEADDRESS", "STACKDIRECTION", "FILLPATTERN"],
    4: ["ALARMTIME", "CYCLETIME", "STATE", "ACTION", "COUNTER"],
    5: ["STATE", "LOCKER", "PRIORITY"],
    6: ["MSGNAME", "MSGTYPE", "QUEUESIZE", "QUEUECOUNT", "FIRSTELEMENT"],
}

FIRST_VENDOR_KIND = 100
MAX_VENDOR_KINDS = 64
MAX_CUSTOM_ATTRIBUTES = 256

# Failure notes that the host's own probing provokes: asking for an attribute an object does
# not define, or for a vendor kind past the last one. They say nothing about the target.
_PROBE_NOTES = re.compile(r"^(get_\w+_attribute\(\): Failure|ObjectListInit\(\d+\) Failed)\n$")


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
        self._attribute_names = {}  # kind -> {attribute id: name}
        self._kind_titles = None

    # -- the exchange ---------------------------------------------------------------------

    def call(self, method, params=None, context=True):
        """Sends one call and serves the plug-in's requests until its response comes; gives
        the response's "result" object. The time limit is the whole call's, the requests it
        makes and their answers included: GDB is held for no longer."""
        if self.gone:
            raise PluginGone("the plug-in is not running (%s); use 'orti load FILE'" % self.gone)
        body = dict(params or {})
        if context:
            body = dict([("context", CONTEXT)] + list(body.items()))
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

    def call_ok(self, method, params=None):
        """A call that must answer "return" 0."""
        result = self.call(method, params)
        status = result.get("return")
        if status != 0:
            raise CallFailed("the plug-in answered %s with return %s" % (method, status), status)
        return result

    def _decode(self, text):
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

    def start(self, family, big_endian_target):
        self.family = family
        self.process.start()
        self.call_ok("OSA_Client_OsaInit", {"versionRequired": 2, "treatMasterProcessAsKernel": 1})
        self.call_ok("OSA_Client_TargetInit", {
            "majorCpuType": family.major_cpu_type, "minorCpuType": family.minor_cpu_type,
            "bigEndianTarget": 1 if big_endian_target else 0,
            "bigEndianHost": 1 if sys.byteorder == "big" else 0, "coreCount": 1})

    def load(self, path):
        quoted = '"%s"' % path if any(c.isspace() for c in path) else path
        status = self.command("load_orti " + quoted)
        if status != 0:
            raise CallFailed("the plug-in could not load %s" % path, status)
        self.loaded = True
        self.orti_path = path

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

    def command(self, text):
        return self.call("OSA_Client_OsaCmd_Execute", {"command": text}).get("return")

    def quietly(self, fn, *args):
        """Runs fn with the plug-in's messages collected; shows those that are not the
        expected failure notes of probing afterwards."""
        outer = self.services.capture
        self.services.capture = []
        try:
            return fn(*args)
        finally:
            caught, self.services.capture = self.services.capture, outer
            for kind, text in caught:
                if not _PROBE_NOTES.match(text):
                    self.services.show(kind, text)

    def _attribute(self, kind, attr_id, value_type=0):
        result = self.call("OSA_Client_ObjectListAttribute", {
            "objTypeId": kind, "objAtrId": attr_id, "valueType": value_type})
        if result.get("return") != 0 or "objAtrValue" not in result:
            return None
        return result["objAtrValue"]

    def _read_object(self, kind, only=None):
        values = {}
        number = self._attribute(kind, 1, 11)
        if number is not None:
            values[1] = number
        for attr_id in range(2, 3 + len(STANDARD_ATTRIBUTES.get(kind, []))):
            if only is not None and attr_id not in only:
                continue
            value = self._attribute(kind, attr_id)
            if value is not None:
                values[attr_id] = value
        if only is not None:
            return values
        for n in range(MAX_CUSTOM_ATTRIBUTES):
            value = self._attribute(kind, 100 + n)
            if value is None:
                break
            values[100 + n] = value
        return values

    def walk(self, kind, max_objects, only=None):
        """Every object of a kind as the OSA Explorer sees it: a list of {attribute id:
        value} (the object number and the ids in only, or every attribute that answers) and
        whether the walk stopped at max_objects."""
        return self.quietly(self._walk, kind, max_objects, only)

    def _walk(self, kind, max_objects, only):
        status = self.call("OSA_Client_ObjectListInit", {"objTypeId": kind, "showAllObjects": 1})
        status = status.get("return")
        objects = []
        cut = False
        try:
            while status == 0:
                objects.append(self._read_object(kind, only))
                if kind == 0:
                    break
                if len(objects) >= max_objects:
                    cut = True
                    break
                status = self.call("OSA_Client_ObjectListNext", {"objTypeId": kind}).get("return")
        finally:
            self.call("OSA_Client_ObjectListCleanup", {"objTypeId": kind})
        return objects, cut

    def vendor_kinds(self):
        """The ids of the vendor kinds: the first ids from 100 on that have objects."""
        kinds = []
        for kind in range(FIRST_VENDOR_KIND, FIRST_VENDOR_KIND + MAX_VENDOR_KINDS):
            status = self.quietly(self.call, "OSA_Client_ObjectListInit",
                                  {"objTypeId": kind, "showAllObjects": 1}).get("return")
            self.call("OSA_Client_ObjectListCleanup", {"objTypeId": kind})
            if status == 1:
                break
            kinds.append(kind)
        return kinds

    def describe(self, kind, objects):
        """The kind's name and description and the names of its custom attributes, learnt
        from the plug-in's expr command on an object of the kind (vendor kinds have no
        fixed name). Ids it cannot name keep a number."""
        if kind in self._attribute_names:
            return self._attribute_names[kind]
        info = {"kind": KIND_NAMES.get(kind), "description": None, "names": {}}
        for obj in objects[:1]:
            name = obj.get(2)
            if not isinstance(name, str) or not name or any(c.isspace() for c in name):
                continue
            blocks = self._expr_blocks(name)
            for type_name, obj_name, description, lines in blocks:
                if obj_name != name:
                    continue
                if kind in KIND_NAMES:
                    if type_name.upper() != KIND_NAMES[kind]:
                        continue
                elif type_name.upper() in KIND_NAMES.values():
                    continue
                info["kind"] = type_name
                info["description"] = description
                standard = set(STANDARD_ATTRIBUTES.get(kind, [])) | {"ID", "NAME"}
                custom = [label for label, _ in lines if label not in standard]
                ids = sorted(i for i in obj if i >= 100)
                # Named only when the count fits: expr shows the attributes that read, the
                # same ones that answered in the walk.
                if len(custom) == len(ids):
                    info["names"] = dict(zip(ids, custom))
                break
        self._attribute_names[kind] = info
        return info

    def _expr_blocks(self, name):
        outer = self.services.capture
        self.services.capture = []
        try:
            self.command("expr " + name)
            caught = self.services.capture
        finally:
            self.services.capture = outer
        blocks = []
        current = None
        for kind, text in caught:
            if kind != 0:
                continue
            header = re.match(r"^(\S+) (\S+) : (.*)\n\{\n$", text, re.S)
            if header:
                current = (header.group(1), header.group(2), header.group(3), [])
                blocks.append(current)
                continue
            line = re.match(r"^\t(\S+) = (.*)\n$", text, re.S)
            if line and current is not None:
                current[3].append((line.group(1), line.group(2)))
        return blocks

    def current_task(self):
        result = self.call("OSA_Client_CurrentTaskGet", {"checkInKernel": 0})
        return result.get("taskId") if result.get("return") == 0 else None

    def task_name(self, task_id):
        result = self.call("OSA_Client_TaskNameGet", {"taskId": task_id})
        return result.get("name") if result.get("return") == 0 else None

    def task_status(self, task_id):
        result = self.call("OSA_Client_TaskStatusGet", {"taskId": task_id})
        return result.get("status") if result.get("return") == 0 else None

    def tasks(self, max_objects):
        """The tasks in the plug-in's order, whether the list was cut, and the running
        task's id (0: none, None: the plug-in could not tell)."""
        objects, cut = self.walk(1, max_objects, only=(2, 3, 4))
        tasks = []
        for obj in objects:
            task_id = obj.get(1)
            if not isinstance(task_id, int):
                continue
            name = self.task_name(task_id)
            state = self.task_status(task_id)
            tasks.append(TaskObject(task_id, name if name is not None else obj.get(2),
                                    state if state is not None else obj.get(4), obj.get(3)))
        return tasks, cut, self.current_task()

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


def _encode(message):
    return json.dumps(message, separators=(",", ":")).encode("ascii")
