# GDB command "orti-eval FILE": evaluates every formula of an ORTI file in the stopped
# program, the way a debugger host would hand them to GDB's evaluator, and prints one line
# per attribute (per element for the per-core arrays of ORTI 2.3: NAME[] declared,
# NAME[0], NAME[1], ... defined). ENUM values are looked up among the declared elements;
# STRING formulas that give a char pointer are read as strings; list objects are walked
# element by element.
#
# Counted as a failure, which makes the command fail at the end: a formula that does not
# evaluate, an ENUM value that is no element, an attribute that its kind does not declare,
# an index on a plain attribute or none on an array, an index given twice, and an array whose
# elements are not exactly 0 .. n-1 for the n cores (threads) of the program.
#
#   gdb-multiarch ... -x orti_eval.py -ex 'orti-eval demo_target_smp.ort'
#
# Scripts use evaluate_file(path), which returns the results instead of printing them.

import re

import gdb

_TOKEN = re.compile(
    r'\s+|/\*.*?\*/|//[^\n]*|"[^"]*"|0[xX][0-9a-fA-F]+|-?\d+|[A-Za-z_]\w*|.', re.S)

# STACKDIRECTION holds its text, not a formula.
_LITERAL = {("STACK", "STACKDIRECTION")}
_LIST_ATTRIBUTES = ("_PARENT_NODE", "_ITEM", "_NEXT_NODE", "_NODE_VALID", "_NAME", "_OWNER")
_MAX_LIST_ELEMENTS = 64


class OrtiSyntaxError(gdb.GdbError):
    pass


def _tokens(text):
    return [t for t in (m.group(0) for m in _TOKEN.finditer(text))
            if not (t.isspace() or t.startswith("/*") or t.startswith("//"))]


def _unquote(t):
    return t[1:-1] if t.startswith('"') else t


class _Parser:
    """The parts of the grammar the evaluator needs: declarations with their ENUM elements
    and array marks, and each object's attribute definitions with their indices."""

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


def _is_char_pointer(value):
    t = value.type.strip_typedefs()
    if t.code == gdb.TYPE_CODE_ARRAY:
        t = t.target().strip_typedefs()
        return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1
    if t.code != gdb.TYPE_CODE_PTR:
        return False
    t = t.target().strip_typedefs()
    return t.code == gdb.TYPE_CODE_INT and t.sizeof == 1


def core_count():
    return len(gdb.selected_inferior().threads())


class Result:
    """One evaluated attribute (element): label as 'KIND object.ATTR[index]', the number or
    text it gave, the ENUM label, and a message when it failed."""

    def __init__(self, label, formula, value=None, enum_label=None, failure=None):
        self.label = label
        self.formula = formula
        self.value = value
        self.enum_label = enum_label
        self.failure = failure

    @property
    def ok(self):
        return self.failure is None

    def line(self):
        if self.failure is not None:
            shown = "FAILED: " + self.failure
        elif self.enum_label is not None:
            shown = "%d %s" % (self.value, self.enum_label)
        elif isinstance(self.value, str):
            shown = '"%s"' % self.value
        else:
            shown = "0x%x (%d)" % (self.value & 0xFFFFFFFF, self.value)
        return "%-48s %s   [%s]" % (self.label, shown, self.formula)


def _evaluate(label, formula, decl, type_name, attr):
    if (type_name.upper(), attr.upper()) in _LITERAL:
        return Result(label, formula, value=formula)
    try:
        value = gdb.parse_and_eval(formula)
        kind = decl["kind"] if decl else None
        if kind == "STRING" or (kind is None and _is_char_pointer(value)):
            return Result(label, formula,
                          value=value.string() if _is_char_pointer(value) else str(value))
        number = int(value)
        if kind == "ENUM":
            element = decl["elements"].get(number)
            if element is None:
                return Result(label, formula, value=number,
                              failure="%d is no element of the ENUM" % number)
            return Result(label, formula, value=number, enum_label=element)
        return Result(label, formula, value=number)
    except gdb.error as e:
        return Result(label, formula, failure=str(e))


def _check_elements(prefix, attrs, decl_of, cores):
    """Failures of the index structure of one object's definitions."""
    failures = []
    indices = {}
    for attr, index, formula in attrs:
        decl = decl_of(attr)
        if decl is None:
            if attr.upper() not in _LIST_ATTRIBUTES:
                failures.append(Result("%s.%s" % (prefix, attr), formula,
                                       failure="not declared for this kind"))
            continue
        if decl["array"] and index is None:
            failures.append(Result("%s.%s" % (prefix, attr), formula,
                                   failure="declared as an array, defined without an index"))
        elif not decl["array"] and index is not None:
            failures.append(Result("%s.%s[%d]" % (prefix, attr, index), formula,
                                   failure="an index on an attribute that is no array"))
        elif index is not None:
            _, seen = indices.setdefault(attr.upper(), (attr, []))
            if index in seen:
                failures.append(Result("%s.%s[%d]" % (prefix, attr, index), formula,
                                       failure="index defined twice"))
            seen.append(index)
    for attr, seen in indices.values():
        if sorted(seen) != list(range(cores)):
            failures.append(Result("%s.%s[]" % (prefix, attr), "",
                                   failure="elements %s, but the program has %d cores"
                                   % (sorted(seen), cores)))
    return failures


def _list_object(type_name, obj, attrs, decl_of):
    results = []
    special = dict((a.upper(), f) for a, _, f in attrs if a.upper() in _LIST_ATTRIBUTES)
    others = [(a, f) for a, _, f in attrs if a.upper() not in _LIST_ATTRIBUTES]
    node = special["_PARENT_NODE"]
    for k in range(_MAX_LIST_ELEMENTS):
        prefix = "%s %s[%d]" % (type_name, obj, k)
        valid_formula = special["_NODE_VALID"].replace("$NODE", node)
        valid = _evaluate(prefix + "._NODE_VALID", valid_formula, None, type_name, "")
        results.append(valid)
        if not valid.ok or valid.value == 0:
            return results
        item = special["_ITEM"].replace("$NODE", node)
        if "_NAME" in special:
            name = special["_NAME"].replace("$ITEM", item).replace("$NODE", node)
            results.append(_evaluate(prefix + "._NAME", name, {"kind": "STRING"}, type_name,
                                     "_NAME"))
        for attr, formula in others:
            results.append(_evaluate("%s.%s" % (prefix, attr), formula.replace("$ITEM", item),
                                     decl_of(attr), type_name, attr))
        node = special["_NEXT_NODE"].replace("$NODE", node)
    results.append(Result("%s %s" % (type_name, obj), "",
                          failure="no end after %d elements" % _MAX_LIST_ELEMENTS))
    return results


def evaluate_file(path):
    """Every formula of the ORTI file at path, evaluated in the stopped program: a list of
    Result, in file order."""
    with open(path, encoding="latin-1") as f:
        declarations, definitions = _Parser(f.read()).parse()
    cores = core_count()
    results = []
    for type_name, name, is_list, attrs in definitions:
        decls = declarations.get(type_name.upper(), {})

        def decl_of(attr):
            return decls.get(attr.upper())

        prefix = "%s %s" % (type_name, name)
        results.extend(_check_elements(prefix, attrs, decl_of, cores))
        if is_list:
            results.extend(_list_object(type_name, name, attrs, decl_of))
            continue
        for attr, index, formula in attrs:
            label = "%s.%s" % (prefix, attr) + ("" if index is None else "[%d]" % index)
            results.append(_evaluate(label, formula, decl_of(attr), type_name, attr))
    return results


class OrtiEval(gdb.Command):
    """orti-eval FILE: evaluate every formula of the ORTI file FILE in the stopped program."""

    def __init__(self):
        super().__init__("orti-eval", gdb.COMMAND_DATA, gdb.COMPLETE_FILENAME)

    def invoke(self, argument, from_tty):
        path = argument.strip()
        if not path:
            raise gdb.GdbError("usage: orti-eval FILE")
        results = evaluate_file(path)
        for r in results:
            gdb.write(r.line() + "\n")
        failed = sum(1 for r in results if not r.ok)
        gdb.write("orti-eval: %d formulas evaluated, %d failed\n" % (len(results), failed))
        if failed:
            raise gdb.GdbError("orti-eval: %d formulas failed" % failed)


OrtiEval()
