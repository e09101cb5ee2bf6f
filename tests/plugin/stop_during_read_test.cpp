// Reads during which the target stops: the debugger sends TargetNotify while the plug-in waits
// for one of the read's evaluations. Invariant for every cache: the interrupted read answers
// with what it read, and the next read asks the debugger again and gives the value after the
// stop.
#include "osa_session_fixture.h"

#include <ostream>

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "Task_A" = 1, "Task_B" = 2 ] RUNNINGTASK; };
  TASK { CTYPE PRIORITY; ENUM [ "Stack_A" : Stack_A = 1, "Stack_B" : Stack_B = 2 ] STACK; };
  STACK { CTYPE SIZE; };
};
OS Os { RUNNINGTASK = "Running"; };
TASK Task_A { PRIORITY = "PrioA"; STACK = "StackOfA"; };
TASK Task_B { PRIORITY = "PrioB"; STACK = "StackOfB"; };
STACK Stack_A { SIZE = "256"; };
STACK Stack_B { SIZE = "512"; };
)ORTI";

struct StopCase {
  const char* name;
  const char* formula; // the evaluation the stop interrupts
  int64_t before;      // its value before the stop ...
  int64_t after;       // ... and after it
  // One read: the calls made in order; the result of the last one is compared.
  std::vector<std::pair<const char*, const char*>> calls;
  const char* result_before;
  const char* result_after;
};
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.name;
}

const StopCase kStopCases[] = {
    {"attribute",
     "PrioA",
     5,
     7,
     {{"OSA_Client_ObjectListInit", R"({"objTypeId":1})"},
      {"OSA_Client_ObjectListAttribute", R"({"objTypeId":1,"objAtrId":3,"valueType":0})"}},
     R"({ "objAtrValue" : "0x5", "return" : 0 })",
     R"({ "objAtrValue" : "0x7", "return" : 0 })"},
    {"current_task",
     "Running",
     1,
     2,
     {{"OSA_Client_CurrentTaskGet", R"({"checkInKernel":0})"}},
     R"({ "taskId" : 1, "return" : 0 })",
     R"({ "taskId" : 2, "return" : 0 })"},
    {"reference",
     "StackOfA",
     1,
     2,
     {{"OSA_Client_ObjectListInit",
       R"({"objTypeId":3,"parentObjTypeId":1,"parentObjId":1,"parentObjListId":5})"},
      {"OSA_Client_ObjectListAttribute", R"({"objTypeId":3,"objAtrId":2,"valueType":0})"}},
     R"({ "objAtrValue" : "Stack_A", "return" : 0 })",
     R"({ "objAtrValue" : "Stack_B", "return" : 0 })"},
};

class StopDuringReadTest : public OsaSessionTest, public ::testing::WithParamInterface<StopCase> {
protected:
  std::string read(const StopCase& c) {
    std::string result;
    for (const auto& [method, params] : c.calls) {
      result = call(method, params);
    }
    return result;
  }
};

TEST_P(StopDuringReadTest, TheNextReadAsksAgain) {
  const StopCase& c = GetParam();
  init();
  ASSERT_EQ(command("load_orti " + write_file("stop.ort", kFile)), 0);
  answer("PrioA", 5);
  answer("PrioB", 6);
  answer("Running", 1);
  answer("StackOfA", 1);
  answer(c.formula, c.after);
  // Newest first: this one answers the first evaluation, the line above every later one.
  debugger
      ->on("OSA_Service_ExpressionEval",
           "{\"expression\": " + ScriptedDebugger::json_quote(c.formula) + "}")
      .result("{\"output\": " + std::to_string(c.before) + ", \"return\": 0}")
      .inject_request(ScriptedDebugger::client_request("OSA_Client_TargetNotify",
                                                       R"({"context":1,"notice":1})", 90));
  EXPECT_EQ(read(c), c.result_before);
  ASSERT_EQ(debugger->injected_responses().size(), 1u) << "the stop came in during the read";
  EXPECT_EQ(read(c), c.result_after);
  EXPECT_EQ(debugger->asked(c.formula), 2u);
}

INSTANTIATE_TEST_SUITE_P(Caches, StopDuringReadTest, ::testing::ValuesIn(kStopCases),
                         [](const ::testing::TestParamInfo<StopCase>& info) {
                           return std::string(info.param.name);
                         });

// A walk that the debugger starts while an element of a list is read moves the list position;
// the value read still belongs to the element it was read for.
TEST_F(OsaSessionTest, AWalkNestedInAListReadLeavesTheValueWithItsElement) {
  init();
  ASSERT_EQ(command("load_orti " + write_file("list.ort", R"(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T { OS { CTYPE vs_TICKS; }; TASK { CTYPE PRIORITY; };
                   vs_QUEUE { CTYPE vs_LENGTH; }; };
OS Os { vs_TICKS = "Ticks"; };
TASK Task_A { PRIORITY = "Prio"; };
vs_QUEUE * Queues { _PARENT_NODE = "Head"; _NEXT_NODE = "$NODE->next"; _ITEM = "$NODE";
  _NODE_VALID = "$NODE != 0"; vs_LENGTH = "($ITEM)->length"; };
)")),
            0);
  for (const char* node : {"Head != 0", "Head->next != 0"}) {
    answer(node, 1);
  }
  answer("Head->next->next != 0", 0);
  answer("(Head)->length", 3);
  debugger->on("OSA_Service_ExpressionEval", R"({"expression": "(Head->next)->length"})")
      .result(R"({"output": 4, "return": 0})")
      .inject_request(ScriptedDebugger::client_request("OSA_Client_ObjectListInit",
                                                       R"({"context":1,"objTypeId":100})", 90));
  const std::string length = R"({"objTypeId":100,"objAtrId":100,"valueType":0})";
  ASSERT_EQ(ret("OSA_Client_ObjectListInit", R"({"objTypeId":100})"), 0);
  ASSERT_EQ(ret("OSA_Client_ObjectListNext", R"({"objTypeId":100})"), 0);
  EXPECT_EQ(call("OSA_Client_ObjectListAttribute", length),
            R"({ "objAtrValue" : "0x4", "return" : 0 })");
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  ASSERT_EQ(ret("OSA_Client_ObjectListInit", R"({"objTypeId":100})"), 0);
  EXPECT_EQ(call("OSA_Client_ObjectListAttribute", length),
            R"({ "objAtrValue" : "0x3", "return" : 0 })");
  EXPECT_EQ(debugger->asked("(Head)->length"), 1u);
}

} // namespace
