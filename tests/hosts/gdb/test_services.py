# The host's answers to the plug-in's requests, against the demo firmware's ELF file loaded
# without a process (formulas then read the file's sections), and its framing and tables.
#   ORTI_TEST_ELF=build/demo_target/demo_target.elf gdb-multiarch -batch -nx -x THIS
import json
import os
import sys
import tempfile

import gdb

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(root, "hosts", "gdb"))

from testing import check, check_equal, run  # noqa: E402
from orti_gdb import model, tables  # noqa: E402
from orti_gdb import session as session_module  # noqa: E402
from orti_gdb.framing import FramingError, MessageScanner  # noqa: E402
from orti_gdb.services import ServiceAnswers, UnknownService  # noqa: E402
from orti_gdb.session import Session, parse_stack_records, parse_walk_records  # noqa: E402
from orti_gdb.transport import Deadline  # noqa: E402

gdb.execute("file %s" % os.environ["ORTI_TEST_ELF"], to_string=True)

shown = []
services = ServiceAnswers(shown.append)


def ask(method, **params):
    return services.answer("OSA_Service_" + method, params)


def value(expr):
    return int(gdb.parse_and_eval(expr))


# -- stack coverage -------------------------------------------------------------------

def test_stack_records_give_numbers_and_none_where_the_plug_in_read_nothing():
    rows = parse_stack_records(
        "stack\tS1\tok\t1024\t0x2000\tDOWN\t0xaaaaaaaa\t104\t920\t11\t\n"
        "stack\tS2\tunmeasured\t\t0x3000\tUP\t0xcc\t\t\t\tSIZE could not be evaluated\n"
        "kind\t3\tSTACK\t2\tStacks\n"
        "stack\tS3\tok\tmany\t0x0\tUP\t0xcc\t1\t1\t1\t\n")
    check_equal([(r.name, r.status, r.size, r.used, r.free, r.percent, r.note) for r in rows],
                [("S1", "ok", 1024, 104, 920, 11, ""),
                 ("S2", "unmeasured", None, None, None, None, "SIZE could not be evaluated")],
                "the two records; the line of another kind and the one with a bad number skipped")


# -- framing --------------------------------------------------------------------------

def test_message_split_over_three_reads_completes_once():
    s = MessageScanner()
    check_equal(s.feed(b'{"a":'), [], "first piece")
    check_equal(s.feed(b'{"b":1}'), [], "second piece")
    check_equal(s.feed(b'}'), [b'{"a":{"b":1}}'], "third piece")


def test_braces_and_escaped_quotes_inside_strings_do_not_end_a_message():
    s = MessageScanner()
    check_equal(s.feed(b'{"m":"x}\\"}"'), [], "closing brace inside a string")
    check_equal(s.feed(b'}'), [b'{"m":"x}\\"}"}'], "the real end")


def test_two_messages_with_blanks_between_in_one_read():
    s = MessageScanner()
    check_equal(s.feed(b' {"a":1}\r\n\t{"b":2} {"c"'), [b'{"a":1}', b'{"b":2}'], "messages")
    check_equal(s.pending(), 4, "begun message kept")


def test_text_outside_an_object_is_a_framing_error():
    s = MessageScanner()
    try:
        s.feed(b'{"a":1} hello')
    except FramingError as e:
        check("hello" in str(e), "the error shows the garbage: %s" % e)
        return
    check(False, "garbage was accepted")


def test_a_message_that_never_ends_is_a_framing_error():
    s = MessageScanner(limit=100)
    s.feed(b'{"a":"' + b"x" * 90)
    try:
        s.feed(b"y" * 20)
    except FramingError:
        return
    check(False, "an endless message was accepted")


# Reads as the pipe may deliver them, and the messages each read completes. Whatever path a
# read takes (one whole message at once, or the scan of pieces), the messages are the bytes
# from an object's opening brace to its closing one, and a value handed along with one is
# what the session's own parsing of those bytes gives.
READS = [
    ("one message with blanks around", [b' \n{"a":{"b":"}"}}\r\n'], [[b'{"a":{"b":"}"}}']]),
    ("two messages in one read", [b'{"a":1} {"b":{}}'], [[b'{"a":1}', b'{"b":{}}']]),
    ("a message and the start of the next", [b'{"a":1}{"b":', b'2}'],
     [[b'{"a":1}'], [b'{"b":2}']]),
    ("a message that is no JSON but framed", [b'{"a":tru}'], [[b'{"a":tru}']]),
    ("invalid UTF-8 and escapes in strings", [b'{"a":"\xff\\"}\\\\"}'],
     [[b'{"a":"\xff\\"}\\\\"}']]),
    ("a piece ending in a backslash", [b'{"a":"x\\', b'"}"}'], [[], [b'{"a":"x\\"}"}']]),
    ("a piece ending inside a string after a brace", [b'{"a":"{', b'"}'], [[], [b'{"a":"{"}']]),
    ("blanks alone", [b" \t", b'{"a":1}'], [[], [b'{"a":1}']]),
]


def test_every_read_gives_the_framed_messages_and_their_values():
    for what, reads, expected in READS:
        s = MessageScanner()
        for data, messages in zip(reads, expected):
            got = s.feed(data)
            check_equal([bytes(m) for m in got], messages, what)
            for m in got:
                if m.value is not None:
                    check_equal(m.value, json.loads(bytes(m).decode("utf-8", "replace")),
                                what + ": the value handed along")
        check_equal(s.pending(), 0, what + ": nothing left")


def test_messages_go_out_as_compact_json_does_write_them():
    for message in [{"jsonrpc": "2.0", "method": "OSA_Client_TaskNameGet",
                     "params": {"context": 1, "taskId": -4}, "id": 7},
                    {"jsonrpc": "2.0", "result": {"value": "\u00e9\"\\\n\x01", "return": 0},
                     "id": None},
                    {"a": [True, False, None, [], {}], "b": 18446744073709551615}]:
        check_equal(session_module._encode(message),
                    json.dumps(message, separators=(",", ":")).encode("ascii"), repr(message))


# -- tables ---------------------------------------------------------------------------

def test_table_columns_are_as_wide_as_their_widest_cell():
    text = tables.format_table(["ID", "NAME"], [[1, "Task_Control"], [12, None]])
    check_equal(text.splitlines(), ["ID  NAME", "--  ------------", "1   Task_Control", "12"],
                "table lines")


def test_turned_blocks_hold_as_many_objects_as_fit():
    # 47 columns wide as it is; turned, a first column 4 wide ("NAME") and a column per object
    # 4 wide ("long"): k objects take 4 + 6k columns.
    headers = ["#", "NAME"] + ["A%d" % i for i in range(10)]
    rows = [[n, "long"] + ["x"] * 10 for n in range(1, 8)]
    for k in (1, 2, 3, 6):
        lines = tables.format_objects(headers, rows, 4 + 6 * k).splitlines()
        firsts = [line.split() for line in lines if line.startswith("# ")]
        check_equal([len(f) - 1 for f in firsts], [k] * (7 // k) + ([7 % k] if 7 % k else []),
                    "objects per block at width %d" % (4 + 6 * k))


def test_a_table_too_wide_is_turned_one_column_per_object():
    headers = ["#", "NAME", "VERY_LONG_ATTRIBUTE_NAME_A", "VERY_LONG_ATTRIBUTE_NAME_B"]
    rows = [[1, "a", "x" * 20, "y"], [2, "b", "z", "w"]]
    text = tables.format_objects(headers, rows, 60)
    lines = text.splitlines()
    check(lines[0].split() == ["#", "1", "2"], "objects head the columns: %r" % lines[0])
    check(lines[3].split() == ["VERY_LONG_ATTRIBUTE_NAME_A", "x" * 20, "z"], repr(lines[3]))
    check(all(len(line) <= 60 for line in lines), "width kept")
    check_equal(tables.format_objects(headers[:2], [r[:2] for r in rows], 60).splitlines()[0],
                "#  NAME", "narrow table stays as it is")


# -- expressions and texts ------------------------------------------------------------

def test_expression_value_is_an_integer():
    check_equal(ask("ExpressionEval", expression="sizeof(OsTcb)/sizeof(OsTcb[0])",
                    valueType=11, searchFlag=0), {"output": 6, "return": 0}, "task count")


def test_pointer_expression_gives_its_address():
    got = ask("ExpressionEval", expression="OsTcb[2].name", valueType=11, searchFlag=0)
    check_equal(got["output"], value("(unsigned int)OsTcb[2].name"), "pointer value")
    check(got["output"] != 0, "a real address")


def test_negative_and_64_bit_values_are_sent_as_signed_64_bit():
    check_equal(ask("ExpressionEval", expression="-1", valueType=11, searchFlag=0)["output"],
                -1, "minus one")
    check_equal(ask("ExpressionEval", expression="0xffffffffffffffff", valueType=11,
                    searchFlag=0)["output"], -1, "all ones")
    check_equal(ask("ExpressionEval", expression="(unsigned int)0xAAAAAAAA", valueType=11,
                    searchFlag=0)["output"], 0xAAAAAAAA, "32-bit unsigned")


def test_expression_gdb_cannot_evaluate_is_a_failed_answer():
    check_equal(ask("ExpressionEval", expression="NoSuchSymbol + 1", valueType=11,
                    searchFlag=0), {"return": 1}, "unknown symbol")
    check_equal(ask("ExpressionEval", expression="OsTcb[0]", valueType=11, searchFlag=0),
                {"return": 1}, "a structure is not a number")
    check_equal(ask("ExpressionEval", valueType=11), {"return": 1}, "no expression")


def test_name_formula_gives_the_string_it_points_at():
    check_equal(ask("StringEval", input="print /n OsTcb[2].name"),
                {"value": "Task_Logger", "return": 0}, "char pointer")
    check_equal(ask("StringEval", input="print /n OsVersion")["value"],
                "demo kernel 1.0 (cortex-m3)", "char array")


def test_name_formula_of_a_number_gives_gdbs_text():
    check_equal(ask("StringEval", input="print /n sizeof(OsTcb)")["value"],
                str(gdb.parse_and_eval("sizeof(OsTcb)")), "number text")


def test_other_print_formats_go_through_gdb():
    check_equal(ask("StringEval", input="print /x 255+0")["value"], "0xff", "print /x")


def test_string_formula_gdb_cannot_evaluate_is_a_failed_answer():
    check_equal(ask("StringEval", input="print /n NoSuchSymbol"), {"return": 1}, "unknown")
    check_equal(ask("StringEval", input="print /n (char *)0xFFFFFF00"), {"return": 1},
                "unreadable pointer")


# -- memory, registers, symbols -------------------------------------------------------

def test_memory_read_gives_two_hex_digits_per_byte():
    got = ask("MemoryRead", memorySpace=0, address=value("&OsVersion"), count=4)
    check_equal(got, {"value": b"demo".hex(), "return": 0}, "bytes of OsVersion")


def test_memory_read_that_cannot_be_done_fails():
    check_equal(ask("MemoryRead", memorySpace=0, address=0xFFFFFF00, count=4), {"return": 1},
                "unmapped address")
    check_equal(ask("MemoryRead", memorySpace=0, address=value("&OsVersion"), count=1 << 20),
                {"return": 1}, "too much for one answer")


def test_memory_write_with_a_wrong_count_or_no_process_fails():
    address = value("&demo_breakpoint_hits")
    check_equal(ask("MemoryWrite", memorySpace=0, address=address, count=2, value="01"),
                {"return": 1}, "count differs from the data")
    check_equal(ask("MemoryWrite", memorySpace=0, address=address, count=1, value="zz"),
                {"return": 1}, "not hexadecimal")
    check_equal(ask("MemoryWrite", memorySpace=0, address=address, count=1, value="01"),
                {"return": 1}, "no process to write to")


def test_register_read_without_a_process_fails():
    check_equal(ask("RegisterRead", register=15, width=-1, fromDebugger=0), {"return": 1},
                "pc without a process")
    for core in (1, 2, 0, -1):
        check_equal(ask("RegisterRead", register=15, width=-1, fromDebugger=0, coreId=core),
                    {"return": 1}, "pc of core %d without a process" % core)
        check_equal(ask("RegisterWrite", register=15, width=-1, forMemoryAccess=0,
                        fromDebugger=0, value=0, coreId=core),
                    {"return": 1}, "pc of core %d written without a process" % core)


def test_symbol_and_type_lookups():
    check_equal(ask("SymbolLookup", name="OsTcb")["address"], value("&OsTcb"), "address")
    check_equal(ask("SymbolLookup", name="NoSuchSymbol"), {"return": 1}, "unknown symbol")
    field = ask("StructFieldSearch", structName="os_tcb", fieldName="cur_prio", useOsaSym=0)
    check_equal(field["byteOffset"], value("(unsigned int)&((struct os_tcb *)0)->cur_prio"),
                "field offset")
    check_equal(field["byteWidth"], 1, "field width")
    check_equal(ask("StructFieldSearch", structName="os_tcb", fieldName="nope", useOsaSym=0),
                {"return": 1}, "unknown field")
    check_equal(ask("StructSizeGet", name="os_tcb", useOsaSym=0)["value"],
                value("sizeof(struct os_tcb)"), "structure size")
    check_equal(ask("SymbolFromAddress", address=value("&OsTcb"), symbolType=0)["name"],
                "OsTcb", "symbol at an address")


# -- the user and the host ------------------------------------------------------------

def test_log_copies_are_shown_only_when_verbose():
    del shown[:]
    ask("MessageDisplay", messageType=4, message="log copy\n")
    ask("MessageDisplay", messageType=0, message="for the user\n")
    check_equal(shown, ["for the user\n"], "quiet")
    services.verbose = True
    try:
        ask("MessageDisplay", messageType=4, message="log copy\n")
    finally:
        services.verbose = False
    check_equal(shown, ["for the user\n", "log copy\n"], "verbose")


def test_osaexplorer_command_only_says_which_row():
    del shown[:]
    services.kind_name = {4: "ALARM"}.get
    try:
        check_equal(ask("CommandExec", command="osaexplorer -tabidx 4 -mslrow 2", outputMask=0,
                        allowBpOps=0, searchFlag=0), {"output": "", "return": 0}, "answer")
        ask("CommandExec", command="osaexplorer -tabidx 105 -mslrow 0", outputMask=0,
            allowBpOps=0, searchFlag=0)
    finally:
        services.kind_name = lambda type_id: None
    check_equal(shown, ["orti: the OSA Explorer would show row 2 of the ALARM list\n",
                        "orti: the OSA Explorer would show row 0 of the object kind 105 list\n"],
                "text")


def test_other_commands_run_in_gdb_with_their_output():
    got = ask("CommandExec", command="print 6*7", outputMask=1, allowBpOps=0, searchFlag=0)
    check(got["return"] == 0 and "42" in got["output"], "output %r" % got)
    check_equal(ask("CommandExec", command="nosuchcommand", outputMask=1, allowBpOps=0,
                    searchFlag=0), {"return": 1}, "unknown command")


def test_config_file_search_looks_in_the_search_directories():
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "os.ort")
        open(path, "w").close()
        services.search_dirs = lambda: [os.path.join(d, "missing"), d]
        check_equal(ask("ConfigFileSearch", fileName="os.ort", permission=4,
                        onlySearchDistDir=0), {"filePath": path, "return": 0}, "found")
        check_equal(ask("ConfigFileSearch", fileName="other/dir/os.ort", permission=4,
                        onlySearchDistDir=0)["filePath"], path, "by its last component")
        check_equal(ask("ConfigFileSearch", fileName="nope.ort", permission=4,
                        onlySearchDistDir=0), {"return": 1}, "missing")
        check_equal(ask("ConfigFileSearch", fileName=path, permission=4,
                        onlySearchDistDir=0)["filePath"], path, "absolute")


def test_unknown_request_and_bad_parameters():
    try:
        services.answer("OSA_Service_NoSuchThing", {})
        check(False, "an unknown request was answered")
    except UnknownService:
        pass
    check_equal(services.answer("OSA_Service_ExpressionEval", [1, 2]), {"return": 1},
                "params not an object")


# Requests the plug-in could send by mistake, or a broken one could: each must still get one
# answer, or the plug-in waits for it for ever.
MALFORMED_REQUESTS = [
    ("OSA_Service_StringEval", {"input": 5}),
    ("OSA_Service_StringEval", {"input": None}),
    ("OSA_Service_StringEval", {}),
    ("OSA_Service_MessageDisplay", {"messageType": 0, "message": 7}),
    ("OSA_Service_MessageDisplay", {"messageType": "0", "message": "text"}),
    ("OSA_Service_MessageDisplay", {"messageType": 0, "message": ["a"]}),
    ("OSA_Service_ExpressionEval", {"expression": {"a": 1}, "valueType": 11}),
    ("OSA_Service_MemoryRead", {"memorySpace": 0, "address": "OsVersion", "count": 4}),
    ("OSA_Service_MemoryWrite", {"memorySpace": 0, "address": 0, "count": 1, "value": 1}),
    ("OSA_Service_RegisterRead", {"register": "pc"}),
    ("OSA_Service_CommandExec", {"command": None}),
    ("OSA_Service_ConfigFileSearch", {"fileName": 3}),
    ("OSA_Service_SymbolLookup", {"name": ["OsTcb"]}),
    ("OSA_Service_StructFieldSearch", {"structName": "os_tcb", "fieldName": 1}),
    ("OSA_Service_YesNoChoose", {"message": 1, "default": 0}),
    ("OSA_Service_ExpressionEval", "not an object"),
]


class RecordingProcess:
    """Stands in for the plug-in's pipes: keeps what the host sends."""

    def __init__(self):
        self.sent = []

    def begin_call(self):
        pass

    def send(self, text, deadline, what):
        self.sent.append(json.loads(text.decode("ascii")))


def test_every_malformed_request_gets_one_failed_answer():
    session = Session(["/nonexistent"], None, services)
    session.process = RecordingProcess()
    del shown[:]
    for ident, (method, params) in enumerate(MALFORMED_REQUESTS):
        what = "%s %r" % (method, params)
        session._serve({"jsonrpc": "2.0", "method": method, "params": params, "id": ident},
                       Deadline(5), "test")
        check_equal(len(session.process.sent), ident + 1, what + ": one answer")
        answer = session.process.sent[-1]
        check_equal(answer.get("id"), ident, what + ": its id")
        check_equal(answer.get("result"), {"return": 1}, what)
    check_equal(shown, [], "nothing shown")


def test_an_answer_that_cannot_be_made_is_an_error_response():
    session = Session(["/nonexistent"], None, services)
    session.process = RecordingProcess()
    answers = ServiceAnswers(shown.append)
    answers._CpuModeGet = lambda p: {"inUserMode": object(), "return": 0}  # no JSON for it
    session.services = answers
    session._serve({"jsonrpc": "2.0", "method": "OSA_Service_CpuModeGet", "params": {},
                    "id": 3}, Deadline(5), "test")
    check_equal(session.process.sent, [{"jsonrpc": "2.0", "id": 3, "error": {
        "code": -32603, "message": "internal error"}}], "the answer")


def test_model_description_names_kinds_columns_and_objects():
    d = model.parse("kind\t1\tTASK\t2\tTasks\n"
                    "attr\t1\t*\t3\tPRIORITY\tCTYPE\t1\tPriority\n"
                    "attr\t1\t0\t100\tvs_A\tCTYPE\t1\tA\n"
                    "attr\t1\t1\t100\tvs_B\tENUM\t1\t\n"
                    "kind\t100\tvs_QUEUE\t0\t\n"
                    "garbage\tline\n")
    check_equal(d.type_ids(), [1, 100], "kinds in id order")
    task = d.find("task")
    check_equal((task.name, task.count, task.description), ("TASK", 2, "Tasks"), "kind")
    check_equal(d.find("100").name, "vs_QUEUE", "by id")
    check_equal(d.find("vs_queue").type_id, 100, "by name, letter case ignored")
    check(d.find("7") is None and d.find("vs_nothing") is None, "no such kinds")
    check_equal([task.column(3), task.column(100)], ["PRIORITY", "vs_A/vs_B"], "columns")
    check_equal([task.has(3, 1), task.has(100, 0), task.has(100, 2)], [True, True, False],
                "which objects have which attributes")
    check_equal(task.id_of("priority"), 3, "id by name")


def test_model_description_counts_elements_per_core():
    d = model.parse("kind\t0\tOS\t1\t\n"
                    "attr\t0\t*\t3\tRUNNINGTASK\tENUM\t2\t\n"
                    "attr\t0\t*\t8\tCURRENTAPPMODE\tENUM\t1\t\n"
                    "kind\t1\tTASK\t2\t\n"
                    "attr\t1\t0\t100\tvs_LOAD\tCTYPE\t3\t\n"
                    "attr\t1\t1\t100\tvs_LOAD\tCTYPE\t1\t\n")
    os_kind, task = d.kind(0), d.kind(1)
    check_equal([os_kind.elements(3), os_kind.elements(8), os_kind.elements(9)], [2, 1, 0],
                "elements by attribute")
    check_equal([os_kind.max_elements(), task.max_elements()], [2, 3], "most elements")


class AnsweringProcess(RecordingProcess):
    """Answers every call at once with "return" 0."""

    def receive(self, deadline, what):
        return b'{"jsonrpc":"2.0","result":{"return":0},"id":1}'


def test_calls_carry_their_core_only_on_a_target_of_several_cores():
    session = Session(["/nonexistent"], None, services)
    session.process = AnsweringProcess()
    selected = [1]
    session.selected_core = lambda: selected[0]
    # Target cores, the selected thread's core, a core for_core() names; the hostCoreId sent.
    cases = [(1, 1, None, None), (2, 1, None, 2), (2, 1, 0, 1), (2, None, None, None),
             (2, None, 1, 2), (3, 0, 2, 3)]
    for cores, selected[0], named, host_core in cases:
        what = "%d cores, thread of core %s, for core %s" % (cores, selected[0], named)
        session.cores = cores
        session.process.sent = []
        if named is None:
            session.call("OSA_Client_TaskNameGet", {"taskId": 4})
        else:
            with session.for_core(named):
                session.call("OSA_Client_TaskNameGet", {"taskId": 4})
        params = session.process.sent[0]["params"]
        check_equal(list(params)[0], "context", what + ": context first")
        check_equal(params.get("hostCoreId"), host_core, what)
        check_equal(params["taskId"], 4, what + ": the call's own parameters")
    session.cores, selected[0] = 2, 0
    session.process.sent = []
    session.current_task(1)
    session.current_task()
    check_equal([m["params"].get("coreId") for m in session.process.sent], [2, None],
                "CurrentTaskGet names its core only when asked for one")


class TaskCallsProcess(RecordingProcess):
    """A plug-in with the tasks 1 and 2 whose task calls fail for the ids in failing."""

    def __init__(self, failing):
        RecordingProcess.__init__(self)
        self.failing = failing
        self.current = 0

    def receive(self, deadline, what):
        call = self.sent[-1]
        method, p = call["method"][len("OSA_Client_"):], call["params"]
        result = {"return": 0}
        if method == "ObjectListInit":
            self.current = 1
        elif method == "ObjectListNext":
            self.current += 1
            result["return"] = 0 if self.current <= 2 else 2
        elif method == "ObjectListAttribute":
            result["objAtrValue"] = {1: self.current, 2: "T%d" % self.current, 3: "0x5",
                                     4: "STATE%d" % self.current}[p["objAtrId"]]
        elif method in ("TaskNameGet", "TaskStatusGet"):
            if (method, p["taskId"]) in self.failing:
                result["return"] = 1
            elif method == "TaskNameGet":
                result["name"] = "Task%d" % p["taskId"]
            else:
                result["status"] = "READY%d" % p["taskId"]
        return json.dumps({"jsonrpc": "2.0", "result": result, "id": call["id"]}).encode()


# The task calls give names and states; an attribute stands in only where a call fails, and
# only then is it read. (failing task calls, states wanted, tasks shown, attributes read)
TASK_LISTS = [
    ((), True, [(1, "Task1", "READY1", "0x5"), (2, "Task2", "READY2", "0x5")], [1, 3, 1, 3]),
    ((), False, [(1, "Task1", None, None), (2, "Task2", None, None)], [1, 1]),
    ((("TaskNameGet", 1),), True, [(1, "T1", "READY1", "0x5"), (2, "Task2", "READY2", "0x5")],
     [1, 3, 1, 3, 1, 2, 4, 1, 2, 4]),
    ((("TaskStatusGet", 2),), True, [(1, "Task1", "READY1", "0x5"), (2, "Task2", "STATE2", "0x5")],
     [1, 3, 1, 3, 1, 2, 4, 1, 2, 4]),
    ((("TaskNameGet", 2),), False, [(1, "Task1", None, None), (2, "T2", None, None)],
     [1, 1, 1, 2, 1, 2]),
]


def test_task_lists_read_an_attribute_only_where_a_task_call_fails():
    description = model.parse("kind\t1\tTASK\t2\t\n"
                              "attr\t1\t*\t3\tPRIORITY\tCTYPE\t1\t\n"
                              "attr\t1\t*\t4\tSTATE\tENUM\t1\t\n")
    for failing, states, expected, reads in TASK_LISTS:
        what = "failing %s, states %s" % (failing, states)
        session = Session(["/nonexistent"], None, services)
        session.process = TaskCallsProcess(failing)
        session._model = description
        tasks, cut = session.task_list(10, states=states)
        check_equal([(t.task_id, t.name, t.state, t.priority) for t in tasks], expected, what)
        check(not cut, what + ": not cut")
        sent = session.process.sent
        check_equal([m["params"]["objAtrId"] for m in sent
                     if m["method"] == "OSA_Client_ObjectListAttribute"], reads,
                    what + ": the attributes read")
        check_equal(any(m["method"] == "OSA_Client_TaskStatusGet" for m in sent), states,
                    what + ": states asked for")


# The walk command's records (text, expected objects and cut, or None for records that do not
# end the way a whole walk ends).
WALK_RECORDS = [
    ("object\nvalue\t1\tn\t1\nvalue\t2\ts\tTask_A\nend\tdone\n", ([{1: 1, 2: "Task_A"}], False)),
    ("object\nvalue\t3\ts\ta\\tb\\\\c\\nd\\re\nobject\nend\tcut\n",
     ([{3: "a\tb\\c\nd\re"}, {}], True)),
    ("object\nvalue\t3\tn\t-9223372036854775808\nend\tdone", ([{3: -(1 << 63)}], False)),
    ("end\tdone\n", ([], False)),
    ("object\nvalue\t1\tn\t1\n", None),  # cut short
    ("object\nvalue\t1\tx\t1\nend\tdone\n", None),
    ("object\nvalue\t1\tn\tone\nend\tdone\n", None),
    ("", None),
]


def test_walk_records_give_the_objects_of_the_walk():
    for text, expected in WALK_RECORDS:
        check_equal(parse_walk_records(text), expected, repr(text))


class WalkProcess(TaskCallsProcess):
    """A plug-in whose walk command answers with records in two pieces and a note, or refuses
    (then the ObjectList calls of TaskCallsProcess answer)."""

    def __init__(self, records):
        TaskCallsProcess.__init__(self, ())
        self.records = records
        self.pending = []

    def receive(self, deadline, what):
        if self.pending:
            return self.pending.pop(0)
        call = self.sent[-1]
        if call.get("method") != "OSA_Client_OsaCmd_Execute":
            return TaskCallsProcess.receive(self, deadline, what)
        def display(kind, text):
            return json.dumps({"jsonrpc": "2.0", "method": "OSA_Service_MessageDisplay", "id": 90,
                               "params": {"messageType": kind, "message": text}}).encode()
        status = 1
        if self.records is not None:
            half = len(self.records) // 2
            self.pending = [display(0, self.records[half:]), display(2, "a note\n")]
            first, status = display(0, self.records[:half]), 0
        done = json.dumps({"jsonrpc": "2.0", "result": {"return": status}, "id": call["id"]})
        if self.records is None:
            return done.encode()
        self.pending.append(done.encode())
        return first


def test_walk_all_takes_the_records_and_falls_back_to_calls():
    description = model.parse("kind\t1\tTASK\t2\t\n"
                              "attr\t1\t*\t3\tPRIORITY\tCTYPE\t1\t\n"
                              "attr\t1\t1\t4\tSTATE\tENUM\t1\t\n")
    by_calls = [{1: 1, 2: "T1", 3: "0x5"}, {1: 2, 2: "T2", 3: "0x5", 4: "STATE2"}]
    records = ("object\nvalue\t1\tn\t1\nvalue\t2\ts\tT\\t1\nvalue\t4\ts\tdropped\n"
               "object\nvalue\t1\tn\t2\nvalue\t4\ts\tS\nend\tdone\n")
    cases = [
        # records, expected objects, a walk command sent, ObjectList calls made, note shown
        (records, [{1: 1, 2: "T\t1"}, {1: 2, 4: "S"}], True, False, True),
        (None, by_calls, True, True, False),
        (records[:-9], by_calls, True, True, False),
    ]
    for text, expected, walked, calls, noted in cases:
        what = repr(text)[:40]
        session = Session(["/nonexistent"], None, services)
        session.process = WalkProcess(text)
        session._model = description
        del shown[:]
        objects, cut = session.walk_all(description.kind(1), 10)
        check_equal(objects, expected, what)
        check(not cut, what + ": not cut")
        sent = [m.get("method") for m in session.process.sent]
        commands = [m["params"]["command"] for m in session.process.sent
                    if m.get("method") == "OSA_Client_OsaCmd_Execute"]
        check_equal(commands, ["walk 1 10 3 4"], what + ": the command")
        check_equal("OSA_Client_ObjectListInit" in sent, calls, what + ": calls made")
        check_equal("a note\n" in shown, noted, what + ": the note")


run(globals())
