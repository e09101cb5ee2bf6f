# Runs inside gdb-multiarch: evaluates expressions with GDB exactly as the GDB host answers
# the plug-in (its value for ExpressionEval, its text for "print /n"), then with the proxy's
# evaluator (rsp_eval_cli) over the same memory, and fails on any difference.
#
# Environment: EVAL_CLI, the evaluator's filter; then either EVAL_EXPRESSIONS, a file of
# expressions for the program GDB has loaded (memory: its file image), or EVAL_ORTI, an ORTI
# file whose every formula is compared in the stopped target (memory: the file image with a
# dump of the target's RAM taken here).
import importlib.util
import os
import subprocess
import sys
import tempfile

import gdb

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "hosts", "gdb"))
from orti_gdb import services  # noqa: E402

# The demo board's SRAM (lm3s6965: 64 KiB at 0x20000000).
RAM = (0x20000000, 0x10000)


def gdb_answers(expression):
    """What the GDB host answers: (value or None, text or None)."""
    try:
        value = str(services.signed64(services.value_to_int(gdb.parse_and_eval(expression))))
    except Exception:
        value = None
    try:
        text = services.value_text(gdb.parse_and_eval(expression))
    except Exception:
        text = None
    return value, text


def orti_formulas(path):
    """Every formula of the ORTI file as the plug-in sends it, list elements expanded."""
    found = importlib.util.spec_from_file_location(
        "orti_eval", os.path.join(ROOT, "examples", "demo_target", "orti_eval.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    declarations, definitions = module.parse_file(path)
    out = []
    for type_name, _, is_list, attrs in definitions:
        if not is_list:
            out += [f for a, _, f in attrs if not module.is_text(declarations, type_name, a)]
            continue
        for element in module.list_elements(attrs):
            out += [element.valid, element.item]
            if element.name is not None:
                out.append(element.name)
            out += [f for a, f in element.attrs if not module.is_text(declarations, type_name, a)]
            answer, _ = gdb_answers(element.valid)
            if answer is None or int(answer) == 0:
                break
    return out


def main():
    cli = os.environ["EVAL_CLI"]
    elf = gdb.current_progspace().filename
    command = [cli, elf]
    work = tempfile.mkdtemp(prefix="rsp_eval_compare.")
    try:
        if "EVAL_ORTI" in os.environ:
            expressions = orti_formulas(os.environ["EVAL_ORTI"])
            dump = os.path.join(work, "ram.bin")
            gdb.execute("dump binary memory %s 0x%x 0x%x" % (dump, RAM[0], RAM[0] + RAM[1]))
            command += ["--dump", "0x%x" % RAM[0], dump]
        else:
            with open(os.environ["EVAL_EXPRESSIONS"]) as f:
                expressions = [line.rstrip("\n") for line in f
                               if line.strip() and not line.startswith("#")]
        ours = subprocess.run(command, input="\n".join(expressions) + "\n", text=True,
                              capture_output=True, check=True).stdout.splitlines()
    finally:
        for name in os.listdir(work):
            os.remove(os.path.join(work, name))
        os.rmdir(work)
    if len(ours) != len(expressions):
        gdb.write("gdb_compare: %d answers for %d expressions\n" % (len(ours), len(expressions)))
        return False
    mismatches = 0
    numbers = 0
    for expression, line in zip(expressions, ours):
        kind_v, value, kind_t, text = line.split("\t", 3)
        our_value = value if kind_v == "V" else None
        our_text = bytes.fromhex(text).decode("utf-8") if kind_t == "T" else None
        gdb_value, gdb_text = gdb_answers(expression)
        numbers += gdb_value is not None
        if our_value != gdb_value or our_text != gdb_text:
            mismatches += 1
            gdb.write("MISMATCH %s\n  GDB:  %r %r\n  ours: %r %r\n"
                      % (expression, gdb_value, gdb_text,
                         our_value if kind_v == "V" else value,
                         our_text if kind_t == "T" else text))
    gdb.write("gdb_compare: %s: %d expressions, %d with a number, %d differ\n"
              % (os.path.basename(elf), len(expressions), numbers, mismatches))
    # A comparison where GDB itself evaluates little proves nothing.
    if numbers < len(expressions) // 2:
        gdb.write("gdb_compare: GDB evaluated only %d of %d expressions\n"
                  % (numbers, len(expressions)))
        return False
    return mismatches == 0


# An exception in a script leaves gdb -batch with status 0, so the verdict is the exit status.
try:
    passed = main()
except Exception as e:  # noqa: BLE001 - any failure of the comparison is a failed test
    gdb.write("gdb_compare: %s\n" % e)
    passed = False
if not passed:
    gdb.execute("quit 1")
