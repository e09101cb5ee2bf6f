# GDB command "orti-eval [--quit] FILE": evaluates every formula of an ORTI file in the stopped
# program, the way a debugger host would hand them to GDB's evaluator, and prints one line
# per attribute. ENUM values are looked up among the declared elements; a list's _NAME, which
# gives a char pointer, is read as a string; other STRING attributes are texts, shown as they
# stand; list objects are walked element by element. A formula that does not evaluate, or an
# ENUM value that is no element, is counted as a failure and makes the command fail at the end.
# With --quit GDB then exits, with status 0 when every formula evaluated and 1 otherwise: a
# script run by "gdb -batch" whose command fails would still leave GDB with status 0.
#
#   gdb-multiarch ... -x orti_eval.py -ex 'orti-eval demo_target.ort'

import re

import gdb

_TOKEN = re.compile(
    r'\s+|/\*.*?\*/|//[^\n]*|"(?:[^"\\]|\\.)*"|0[xX][0-9a-fA-F]+|-?\d+|[A-Za-z_]\w*|.',
    re.S)

_LIST_ATTRIBUTES = ("_PARENT_NODE", "_ITEM", "_NEXT_NODE", "_NODE_VALID", "_NAME", "_OWNER")
_MAX_LIST_ELEMENTS = 64


def _tokens(text):
    out = []
    for m in _TOKEN.finditer(text):
        t = m.group(0)
        if t.isspace() or t.startswith("/*") or t.startswith("//"):
            continue
        out.append(t)
    return out


def _unquote(t):
    return t[1:-1] if t.startswith('"') else t


class _Parser:
    def __init__(self, text):
        self.t = _tokens(text)
        self.i = 0

    def peek(self):
        return self.t[self.i] if self.i < len(self.t) else None

    def next(self):
        tok = self.peek()
        self.i += 1
        return tok

    def expect(self, tok):
        got = self.next()
        if got != tok:
            raise gdb.GdbError("orti-eval: expected %r, found %r" % (tok, got))

    def skip_block(self):
        self.expect("{")
        depth = 1
        while depth:
            tok = self.next()
            if tok is None:
                raise gdb.GdbError("orti-eval: unbalanced braces")
            depth += {"{": 1, "}": -1}.get(tok, 0)

    def attribute_declaration(self):
        decl = {"kind": None, "ctype": None, "elements": {}}
        if self.peek() == "TOTRACE":
            self.next()
        decl["kind"] = self.next()
        if self.peek().startswith('"'):
            decl["ctype"] = _unquote(self.next())
        if decl["kind"] == "ENUM" and self.peek() == "[":
            self.next()
            while True:
                label = _unquote(self.next())
                if self.peek() == ":":
                    self.next()
                    self.next()
                self.expect("=")
                value = self.next()
                if value.startswith('"'):
                    decl["elements"][_unquote(value)] = label
                else:
                    decl["elements"][int(value, 0)] = label
                if self.next() == "]":
                    break
        name = self.next()
        if self.peek() == ",":
            self.next()
            self.next()
        self.expect(";")
        return name, decl

    def parse(self):
        declarations = {}
        definitions = []
        while self.peek() is not None:
            head = self.next()
            if head == "VERSION":
                self.skip_block()
                self.expect(";")
            elif head == "IMPLEMENTATION":
                self.next()
                self.expect("{")
                while self.peek() != "}":
                    type_name = self.next()
                    self.expect("{")
                    attrs = {}
                    while self.peek() != "}":
                        name, decl = self.attribute_declaration()
                        attrs[name.upper()] = decl
                    self.expect("}")
                    if self.peek() == ",":
                        self.next()
                        self.next()
                    self.expect(";")
                    declarations[type_name.upper()] = attrs
                self.expect("}")
                self.expect(";")
            else:
                is_list = False
                if self.peek() == "*":
                    self.next()
                    is_list = True
                name = self.next()
                self.expect("{")
                attrs = []
                while self.peek() != "}":
                    attr = self.next()
                    self.expect("=")
                    attrs.append((attr, _unquote(self.next())))
                    self.expect(";")
                self.expect("}")
                self.expect(";")
                definitions.append((head, name, is_list, attrs))
        return declarations, definitions


def is_text(declarations, type_name, attr):
    """Whether the attribute is a text (a STRING other than a list's _NAME), not a formula."""
    if attr.upper() == "_NAME":
        return False
    decl = declarations.get(type_name.upper(), {}).get(attr.upper())
    return decl is not None and decl["kind"] == "STRING"


def _is_char_pointer(value):
    t = value.type.strip_typedefs()
    if t.code == gdb.TYPE_CODE_ARRAY:
        t = t.target().strip_typedefs()
        return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1
    if t.code != gdb.TYPE_CODE_PTR:
        return False
    t = t.target().strip_typedefs()
    return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1


class OrtiEval(gdb.Command):
    """orti-eval FILE: evaluate every formula of the ORTI file FILE in the stopped program."""

    def __init__(self):
        super().__init__("orti-eval", gdb.COMMAND_DATA, gdb.COMPLETE_FILENAME)

    def invoke(self, argument, from_tty):
        path = argument.strip()
        quit_after = path == "--quit" or path.startswith("--quit ")
        if quit_after:
            path = path[len("--quit"):].strip()
        try:
            self.evaluate_file(path)
        except Exception:
            if quit_after:
                gdb.execute("quit 1")
            raise
        if quit_after:
            gdb.execute("quit 0")

    def evaluate_file(self, path):
        if not path:
            raise gdb.GdbError("usage: orti-eval [--quit] FILE")
        with open(path, encoding="latin-1") as f:
            declarations, definitions = _Parser(f.read()).parse()
        self.declarations = declarations
        self.count = 0
        self.failed = 0
        for type_name, name, is_list, attrs in definitions:
            decl = declarations.get(type_name.upper(), {})
            if is_list:
                self.list_object(type_name, name, attrs, decl)
            else:
                for attr, formula in attrs:
                    self.attribute(type_name, name, attr, formula, decl.get(attr.upper()))
        gdb.write("orti-eval: %d formulas evaluated, %d failed\n" % (self.count, self.failed))
        if self.failed:
            raise gdb.GdbError("orti-eval: %d formulas failed" % self.failed)

    def evaluate(self, label, formula):
        self.count += 1
        try:
            return gdb.parse_and_eval(formula)
        except gdb.error as e:
            self.failed += 1
            gdb.write("%-44s FAILED: %s   [%s]\n" % (label, e, formula))
            return None

    def attribute(self, type_name, obj, attr, formula, decl):
        label = "%s %s.%s" % (type_name, obj, attr)
        if is_text(self.declarations, type_name, attr):
            gdb.write("%-44s %s   (text)\n" % (label, formula))
            return
        value = self.evaluate(label, formula)
        if value is None:
            return
        kind = decl["kind"] if decl else None
        try:
            if kind == "STRING" or (kind is None and _is_char_pointer(value)):
                shown = '"%s"' % value.string() if _is_char_pointer(value) else str(value)
            elif kind == "ENUM":
                number = int(value)
                element = decl["elements"].get(number)
                if element is None:
                    self.failed += 1
                    shown = "%d, FAILED: no element has this value" % number
                else:
                    shown = "%d %s" % (number, element)
            else:
                number = int(value)
                shown = "0x%x (%d)" % (number & 0xFFFFFFFF, number)
        except gdb.error as e:
            self.failed += 1
            shown = "FAILED: %s" % e
        gdb.write("%-44s %s   [%s]\n" % (label, shown, formula))

    def list_object(self, type_name, obj, attrs, decl):
        special = {a.upper(): f for a, f in attrs if a.upper() in _LIST_ATTRIBUTES}
        others = [(a, f) for a, f in attrs if a.upper() not in _LIST_ATTRIBUTES]
        node = special["_PARENT_NODE"]
        for k in range(_MAX_LIST_ELEMENTS):
            valid_formula = special["_NODE_VALID"].replace("$NODE", node)
            valid = self.evaluate("%s %s[%d]._NODE_VALID" % (type_name, obj, k), valid_formula)
            if valid is None or int(valid) == 0:
                gdb.write("%s %s: %d elements (element %d: %s is false)\n"
                          % (type_name, obj, k, k, valid_formula))
                return
            item = special["_ITEM"].replace("$NODE", node)
            if "_NAME" in special:
                self.attribute(type_name, "%s[%d]" % (obj, k), "_NAME",
                               special["_NAME"].replace("$ITEM", item).replace("$NODE", node),
                               {"kind": "STRING"})
            for attr, formula in others:
                self.attribute(type_name, "%s[%d]" % (obj, k), attr,
                               formula.replace("$ITEM", item), decl.get(attr.upper()))
            node = special["_NEXT_NODE"].replace("$NODE", node)
        gdb.write("%s %s: stopped after %d elements\n" % (type_name, obj, _MAX_LIST_ELEMENTS))


OrtiEval()
