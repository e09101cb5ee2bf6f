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

import os
import sys

import gdb

# The file is read as the single-core demo's evaluator reads it.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "demo_target"))
from orti_file import (LIST_ATTRIBUTES, MAX_LIST_ELEMENTS, is_char_pointer,  # noqa: E402
                       list_elements, parse_file)

# STACKDIRECTION holds its text, not a formula.
_LITERAL = {("STACK", "STACKDIRECTION")}


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
        if kind == "STRING" or (kind is None and is_char_pointer(value)):
            return Result(label, formula,
                          value=value.string() if is_char_pointer(value) else str(value))
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
            if attr.upper() not in LIST_ATTRIBUTES:
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
    for k, element in enumerate(list_elements(attrs)):
        prefix = "%s %s[%d]" % (type_name, obj, k)
        valid = _evaluate(prefix + "._NODE_VALID", element.valid, None, type_name, "")
        results.append(valid)
        if not valid.ok or valid.value == 0:
            return results
        if element.name is not None:
            results.append(_evaluate(prefix + "._NAME", element.name, {"kind": "STRING"},
                                     type_name, "_NAME"))
        for attr, formula in element.attrs:
            results.append(_evaluate("%s.%s" % (prefix, attr), formula, decl_of(attr),
                                     type_name, attr))
    results.append(Result("%s %s" % (type_name, obj), "",
                          failure="no end after %d elements" % MAX_LIST_ELEMENTS))
    return results


def evaluate_file(path):
    """Every formula of the ORTI file at path, evaluated in the stopped program: a list of
    Result, in file order."""
    declarations, definitions = parse_file(path)
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
