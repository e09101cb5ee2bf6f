# A small test runner for GDB's Python: every function named test_* of the calling module
# runs, in the order of their names; a failed check is reported with its message, and GDB
# exits with 1 when any failed. ORTI_TEST_ORDER=reverse runs them in the reverse order,
# ORTI_TEST_ONLY=name,name only the ones named, to show that tests do not depend on others.
import os
import sys
import traceback

import gdb


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def check_equal(got, expected, what):
    if got != expected:
        raise CheckFailed("%s: got %r, expected %r" % (what, got, expected))


def check_error(command, fragment):
    """The GDB command must fail with a message that holds fragment, on one line."""
    try:
        gdb.execute(command, to_string=True)
    except gdb.error as e:
        text = str(e)
        check(fragment in text, "%s: error %r lacks %r" % (command, text, fragment))
        check("\n" not in text.strip(), "%s: error is not one line: %r" % (command, text))
        return text
    raise CheckFailed("%s did not fail" % command)


def run(namespace):
    names = sorted(n for n in namespace if n.startswith("test_") and callable(namespace[n]))
    only = [n for n in os.environ.get("ORTI_TEST_ONLY", "").split(",") if n]
    if only:
        unknown = [n for n in only if n not in names]
        if unknown:
            print("no such tests: %s" % ", ".join(unknown))
            sys.stdout.flush()
            gdb.execute("quit 1")
        names = [n for n in names if n in only]
    if os.environ.get("ORTI_TEST_ORDER") == "reverse":
        names.reverse()
    failed = []
    for name in names:
        try:
            namespace[name]()
            print("PASS %s" % name)
        except CheckFailed as e:
            failed.append(name)
            print("FAIL %s: %s" % (name, e))
        except Exception:
            failed.append(name)
            print("FAIL %s: unexpected exception" % name)
            traceback.print_exc(file=sys.stdout)
    print("%d tests, %d failed" % (len(names), len(failed)))
    sys.stdout.flush()
    gdb.execute("quit %d" % (1 if failed else 0))
