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

import os
import sys

import gdb

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orti_file import MAX_LIST_ELEMENTS, is_char_pointer, list_elements, parse_file  # noqa: E402


def is_text(declarations, type_name, attr):
    """Whether the attribute is a text (a STRING other than a list's _NAME), not a formula."""
    if attr.upper() == "_NAME":
        return False
    decl = declarations.get(type_name.upper(), {}).get(attr.upper())
    return decl is not None and decl["kind"] == "STRING"


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
        declarations, definitions = parse_file(path)
        self.declarations = declarations
        self.count = 0
        self.failed = 0
        for type_name, name, is_list, attrs in definitions:
            decl = declarations.get(type_name.upper(), {})
            if is_list:
                self.list_object(type_name, name, attrs, decl)
            else:
                for attr, index, formula in attrs:
                    shown = name if index is None else "%s[%d]" % (name, index)
                    self.attribute(type_name, shown, attr, formula, decl.get(attr.upper()))
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
            if kind == "STRING" or (kind is None and is_char_pointer(value)):
                shown = '"%s"' % value.string() if is_char_pointer(value) else str(value)
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
        for k, element in enumerate(list_elements(attrs)):
            valid = self.evaluate("%s %s[%d]._NODE_VALID" % (type_name, obj, k), element.valid)
            if valid is None or int(valid) == 0:
                gdb.write("%s %s: %d elements (element %d: %s is false)\n"
                          % (type_name, obj, k, k, element.valid))
                return
            if element.name is not None:
                self.attribute(type_name, "%s[%d]" % (obj, k), "_NAME", element.name,
                               {"kind": "STRING"})
            for attr, formula in element.attrs:
                self.attribute(type_name, "%s[%d]" % (obj, k), attr, formula,
                               decl.get(attr.upper()))
        gdb.write("%s %s: stopped after %d elements\n" % (type_name, obj, MAX_LIST_ELEMENTS))


OrtiEval()
