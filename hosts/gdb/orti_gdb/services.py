"""Answers to the plug-in's OSA_Service_* requests, from GDB.

Each answer is the "result" object of the response: "return" 0 with the outputs the plug-in
reads, or "return" 1 when GDB cannot do what is asked. The plug-in waits for an answer to
every request it sends, so nothing here raises but UnknownService: a GDB error, a missing
parameter, one of the wrong type, whatever goes wrong becomes a failed answer.
"""

import contextlib
import os
import re

import gdb

from . import cores, cpu

MASK64 = (1 << 64) - 1

# Texts and data handed back are bounded so that an answer stays far below the 64 KiB a
# plug-in message may hold.
MAX_TEXT = 4096
MAX_COMMAND_OUTPUT = 16384
MAX_MEMORY_BYTES = 16384

_OSAEXPLORER = re.compile(r"\s*osaexplorer\s+-tabidx\s+(-?\d+)\s+-mslrow\s+(-?\d+)\s*$")


class UnknownService(Exception):
    """A method this host does not answer; the plug-in gets a JSON-RPC error."""


def signed64(n):
    """n masked to 64 bits, written as the signed integer a JSON reader of i64 accepts."""
    n &= MASK64
    return n - (1 << 64) if n >> 63 else n


def value_to_int(value):
    """The value as an integer: numbers, booleans, enums, characters and pointers."""
    code = value.type.strip_typedefs().code
    if code == gdb.TYPE_CODE_FLT:
        return int(float(value))
    return int(value)


def _is_char(t):
    t = t.strip_typedefs()
    return t.sizeof == 1 and t.code in (gdb.TYPE_CODE_INT, gdb.TYPE_CODE_CHAR)


def read_c_string(address, limit=MAX_TEXT):
    """The NUL-terminated text at address, read in small steps so that a string near the
    end of readable memory is still found; at most limit bytes."""
    inferior = gdb.selected_inferior()
    data = bytearray()
    while len(data) < limit:
        step = min(64, limit - len(data))
        try:
            chunk = bytes(inferior.read_memory(address + len(data), step))
        except gdb.MemoryError:
            if step == 1:
                if not data:
                    raise
                break
            # Byte by byte up to the end of readable memory.
            chunk = bytes(inferior.read_memory(address + len(data), 1))
        end = chunk.find(b"\0")
        if end >= 0:
            data += chunk[:end]
            break
        data += chunk
    return data.decode("utf-8", "replace")


def value_text(value):
    """The text a formula stands for: the C string of a char pointer or array, else GDB's
    own rendering of the value."""
    t = value.type.strip_typedefs()
    if t.code == gdb.TYPE_CODE_PTR and _is_char(t.target()):
        return read_c_string(int(value))
    if t.code == gdb.TYPE_CODE_ARRAY and _is_char(t.target()):
        return value.string(errors="replace")[:MAX_TEXT]
    return str(value)[:MAX_TEXT]


# The register names of each architecture GDB has shown (an architecture's registers do not
# change): asked once, not for every register of every task.
_REGISTER_NAMES = {}


def _register_names(frame):
    """The names of the frame's architecture's registers, or None when GDB cannot list them."""
    try:
        architecture = frame.architecture()
    except (AttributeError, gdb.error):
        return None
    names = _REGISTER_NAMES.get(architecture)
    if names is None:
        try:
            names = frozenset(r.name for r in architecture.registers())
        except (AttributeError, gdb.error):
            return None
        _REGISTER_NAMES[architecture] = names
    return names


def register_name(frame, reg_id, family):
    """The name under which the selected frame's architecture knows register reg_id."""
    names = family.gdb_names(reg_id)
    if not names:
        return None
    known = _register_names(frame)
    for name in names:
        if known is None or name in known:
            return name
    return None


def _failed():
    return {"return": 1}


def _text(p, key, default=None):
    """Parameter key, which must be a string when it is there."""
    value = p.get(key, default) if default is not None else p[key]
    if not isinstance(value, str):
        raise TypeError("%s is not a string" % key)
    return value


def _number(p, key, default=None):
    """Parameter key, which must be an integer (not a Boolean) when it is there."""
    value = p.get(key, default) if default is not None else p[key]
    if not isinstance(value, int) or isinstance(value, bool):
        raise TypeError("%s is not an integer" % key)
    return value


class ServiceAnswers:
    """What the host answers; output(text) shows text to the user."""

    def __init__(self, output):
        self.output = output
        self.verbose = False
        self.family = cpu.ARM
        # The name of an object type id, when the host knows it.
        self.kind_name = lambda type_id: None
        # Directories to look in for a file the plug-in cannot open itself.
        self.search_dirs = lambda: [os.getcwd()]
        # When a list, displayed messages are collected there instead of shown.
        self.capture = None
        self.display_ended_line = True
        self._handlers = {}  # method name -> its handler, as found once

    def answer(self, method, params):
        handler = self._handlers.get(method)
        if handler is None:
            handler = getattr(self, "_" + method[len("OSA_Service_"):], None) \
                if method.startswith("OSA_Service_") else None
            if handler is None:
                raise UnknownService(method)
            self._handlers[method] = handler
        if not isinstance(params, dict):
            return _failed()
        try:
            return handler(params)
        except Exception:
            return _failed()

    # -- evaluation ---------------------------------------------------------------------

    def _ExpressionEval(self, p):
        # An assignment text "(F)=V" is evaluated like any other expression: GDB performs it.
        value = gdb.parse_and_eval(_text(p, "expression"))
        return {"output": signed64(value_to_int(value)), "return": 0}

    def _StringEval(self, p):
        text = _text(p, "input")
        if text.startswith("print /n "):
            # The formula's value as text; GDB has no /n format.
            return {"value": value_text(gdb.parse_and_eval(text[len("print /n "):])),
                    "return": 0}
        if text.startswith("print "):
            # "output" prints like "print" without the history number.
            out = gdb.execute("output " + text[len("print "):], to_string=True)
            return {"value": out[:MAX_TEXT], "return": 0}
        return {"value": value_text(gdb.parse_and_eval(text)), "return": 0}

    # -- registers ----------------------------------------------------------------------

    @contextlib.contextmanager
    def _frame_of(self, p):
        """The frame whose registers a request means: the selected frame, or for a request
        that names a core (coreId, from 1) the live registers of that core's thread, its
        innermost frame. A core the target lacks fails the request."""
        if "coreId" not in p:
            yield gdb.selected_frame()
            return
        with cores.live(_number(p, "coreId") - 1) as frame:
            yield frame

    def _RegisterRead(self, p):
        with self._frame_of(p) as frame:
            name = register_name(frame, _number(p, "register"), self.family)
            if name is None:
                return _failed()
            value = frame.read_register(name)
            return {"value": signed64(value_to_int(value)), "return": 0}

    def _RegisterWrite(self, p):
        with self._frame_of(p) as frame:
            name = register_name(frame, _number(p, "register"), self.family)
            if name is None:
                return _failed()
            bits = 8 * frame.read_register(name).type.sizeof
            value = _number(p, "value") & ((1 << bits) - 1)
            gdb.execute("set var $%s = %d" % (name, value), to_string=True)
            return {"return": 0}

    # -- memory -------------------------------------------------------------------------

    def _MemoryRead(self, p):
        count = _number(p, "count")
        if count < 0 or count > MAX_MEMORY_BYTES:
            return _failed()
        address = _number(p, "address") & MASK64
        data = bytes(gdb.selected_inferior().read_memory(address, count))
        return {"value": data.hex(), "return": 0}

    def _MemoryWrite(self, p):
        count = _number(p, "count")
        data = bytes.fromhex(_text(p, "value"))
        if count != len(data):
            return _failed()
        gdb.selected_inferior().write_memory(_number(p, "address") & MASK64, data)
        return {"return": 0}

    def _MemoryPreFetch(self, p):
        return {"return": 0}

    # -- symbols and types --------------------------------------------------------------

    def _SymbolLookup(self, p):
        name = _text(p, "name")
        symbol = gdb.lookup_global_symbol(name) or gdb.lookup_symbol(name)[0]
        if symbol is None:
            return _failed()
        value = symbol.value()
        address = value.address if value.address is not None else value
        return {"address": signed64(int(address)), "storageClass": 0, "return": 0}

    def _SymbolFromAddress(self, p):
        out = gdb.execute("info symbol %d" % (_number(p, "address") & MASK64), to_string=True)
        if out.startswith("No symbol"):
            return _failed()
        return {"name": out.split(" ")[0], "return": 0}

    def _lookup_type(self, name):
        for candidate in (name, "struct " + name, "union " + name, "enum " + name):
            try:
                return gdb.lookup_type(candidate)
            except gdb.error:
                continue
        raise gdb.error("no type " + name)

    def _StructFieldSearch(self, p):
        t = self._lookup_type(_text(p, "structName")).strip_typedefs()
        wanted = _text(p, "fieldName")
        for field in t.fields():
            if field.name == wanted:
                size = field.bitsize if field.bitsize else 8 * field.type.sizeof
                return {"byteOffset": field.bitpos // 8, "byteWidth": (size + 7) // 8,
                        "bitOffset": field.bitpos % 8, "bitWidth": size, "return": 0}
        return _failed()

    def _StructSizeGet(self, p):
        return {"value": self._lookup_type(_text(p, "name")).sizeof, "return": 0}

    def _EnumValueGet(self, p):
        t = self._lookup_type(_text(p, "enumName")).strip_typedefs()
        wanted = _text(p, "enumMemberName")
        for field in t.fields():
            if field.name == wanted:
                return {"value": signed64(field.enumval), "return": 0}
        return _failed()

    def _MacroGet(self, p):
        name = _text(p, "macroName")
        out = gdb.execute("macro expand " + name, to_string=True)
        expansion = out.split("expands to:", 1)[-1].strip()
        if not expansion or expansion == name:
            return _failed()
        return {"value": expansion, "return": 0}

    # -- target -------------------------------------------------------------------------

    def _TargetStatus(self, p):
        # 0: halted, 1: running.
        thread = gdb.selected_thread()
        return {"status": 1 if thread is not None and thread.is_running() else 0, "return": 0}

    def _CpuModeGet(self, p):
        return {"inUserMode": 0, "return": 0}

    def _ThreadRegisterRead(self, p):
        return _failed()

    def _ThreadRegisterWrite(self, p):
        return _failed()

    # -- the user -----------------------------------------------------------------------

    def show(self, kind, text):
        """Shows a message of the plug-in, or collects it while capture is set."""
        # Type 4 is the plug-in's copy of a message for its log.
        if kind == 4 and not self.verbose:
            return
        if self.capture is not None:
            self.capture.append((kind, text))
        else:
            self.output(text)
            if text:
                self.display_ended_line = text.endswith("\n")

    def _MessageDisplay(self, p):
        self.show(_number(p, "messageType", 0), _text(p, "message"))
        return {"return": 0}

    def _YesNoChoose(self, p):
        # No one to ask in the middle of a call: the plug-in's own default stands.
        message, choice = _text(p, "message", ""), _number(p, "default", 0)
        self.output(message)
        return {"choice": choice, "return": 0}

    def _CommandExec(self, p):
        command = _text(p, "command")
        m = _OSAEXPLORER.match(command)
        if m:
            tab, row = int(m.group(1)), int(m.group(2))
            kind = self.kind_name(tab) or "object kind %d" % tab
            self.output("orti: the OSA Explorer would show row %d of the %s list\n" % (row, kind))
            return {"output": "", "return": 0}
        out = gdb.execute(command, to_string=True)
        return {"output": out[:MAX_COMMAND_OUTPUT], "return": 0}

    def _ConfigFileSearch(self, p):
        name = _text(p, "fileName")
        if os.path.isabs(name):
            return {"filePath": name, "return": 0} if os.path.isfile(name) else _failed()
        for directory in self.search_dirs():
            for candidate in (os.path.join(directory, name),
                              os.path.join(directory, os.path.basename(name))):
                if os.path.isfile(candidate):
                    return {"filePath": candidate, "return": 0}
        return _failed()
