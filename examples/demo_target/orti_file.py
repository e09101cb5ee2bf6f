# Reading an ORTI file the way the GDB evaluators of the demo targets need it (orti_eval.py
# here and in demo_target_smp): each kind's attribute declarations with their ENUM elements
# and array marks, each object's attribute definitions with their indices, and the
# formulas of a list object's elements. Runs inside GDB (its errors are GDB's).

import re

import gdb

_TOKEN = re.compile(
    r'\s+|/\*.*?\*/|//[^\n]*|"(?:[^"\\]|\\.)*"|0[xX][0-9a-fA-F]+|-?\d+|[A-Za-z_]\w*|.',
    re.S)

# The attributes that make an object a list (and its elements' names), not formulas of their own.
LIST_ATTRIBUTES = ("_PARENT_NODE", "_ITEM", "_NEXT_NODE", "_NODE_VALID", "_NAME", "_OWNER")
MAX_LIST_ELEMENTS = 64


class OrtiSyntaxError(gdb.GdbError):
    pass


def _tokens(text):
    return [t for t in (m.group(0) for m in _TOKEN.finditer(text))
            if not (t.isspace() or t.startswith("/*") or t.startswith("//"))]


def _unquote(t):
    return t[1:-1] if t.startswith('"') else t


class Parser:
    """parse() gives (declarations, definitions): declarations by upper-case kind, then by
    upper-case attribute, each a dict of kind, ctype, ENUM elements (value to label) and
    array (declared NAME[]); definitions in file order as (kind, object, is_list, attrs),
    attrs as (attribute, index or None, formula)."""

    def __init__(self, text):
        self.t = _tokens(text)
        self.i = 0

    def peek(self):
        return self.t[self.i] if self.i < len(self.t) else None

    def next(self):
        tok = self.peek()
        if tok is None:
            raise OrtiSyntaxError("orti-eval: the file ends in the middle of a construct")
        self.i += 1
        return tok

    def expect(self, tok):
        got = self.next()
        if got != tok:
            raise OrtiSyntaxError("orti-eval: expected %r, found %r" % (tok, got))

    def skip_block(self):
        self.expect("{")
        depth = 1
        while depth:
            depth += {"{": 1, "}": -1}.get(self.next(), 0)

    def index(self):
        """An element index after a name: None when there is none, -1 for '[]'."""
        if self.peek() != "[":
            return None
        self.next()
        if self.peek() == "]":
            self.next()
            return -1
        tok = self.next()
        if not tok.isdigit():
            raise OrtiSyntaxError("orti-eval: index %r is no number" % tok)
        self.expect("]")
        return int(tok)

    def attribute_declaration(self):
        decl = {"kind": None, "ctype": None, "elements": {}, "array": False}
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
        index = self.index()
        if index is not None and index != -1:
            raise OrtiSyntaxError("orti-eval: declaration of %s gives an index" % name)
        decl["array"] = index == -1
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
                    index = self.index()
                    self.expect("=")
                    attrs.append((attr, index, _unquote(self.next())))
                    self.expect(";")
                self.expect("}")
                self.expect(";")
                definitions.append((head, name, is_list, attrs))
        return declarations, definitions


def parse_file(path):
    with open(path, encoding="latin-1") as f:
        return Parser(f.read()).parse()


class ListElement:
    """The formulas of one element of a list object: valid (its _NODE_VALID), item, name
    (None without _NAME) and attrs, the other attributes as (attribute, formula)."""

    def __init__(self, valid, item, name, attrs):
        self.valid = valid
        self.item = item
        self.name = name
        self.attrs = attrs


def list_elements(attrs):
    """The formulas of a list object's elements, first to last, for at most
    MAX_LIST_ELEMENTS of them. Each next node is the text of the one before put into
    _NEXT_NODE, so the walk needs no target: the caller stops at the element whose valid
    formula gives 0."""
    special = dict((a.upper(), f) for a, _, f in attrs if a.upper() in LIST_ATTRIBUTES)
    others = [(a, f) for a, _, f in attrs if a.upper() not in LIST_ATTRIBUTES]
    node = special["_PARENT_NODE"]
    for _ in range(MAX_LIST_ELEMENTS):
        item = special["_ITEM"].replace("$NODE", node)
        name = None
        if "_NAME" in special:
            name = special["_NAME"].replace("$ITEM", item).replace("$NODE", node)
        yield ListElement(special["_NODE_VALID"].replace("$NODE", node), item, name,
                          [(a, f.replace("$ITEM", item)) for a, f in others])
        node = special["_NEXT_NODE"].replace("$NODE", node)


def is_char_pointer(value):
    t = value.type.strip_typedefs()
    if t.code == gdb.TYPE_CODE_ARRAY:
        t = t.target().strip_typedefs()
        return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1
    if t.code != gdb.TYPE_CODE_PTR:
        return False
    t = t.target().strip_typedefs()
    return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1
