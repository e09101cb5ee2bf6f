// The object commands: expr (object display, attribute display, formula replacement, levels),
// getprop and getpropval, showlink (rows, notices, list walks and their bound), bad input.
#include "command_fixture.h"

#include "awareness/attribute_eval.h"
#include "awareness/object_types.h"
#include "host_link/simple_json/json_parse.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"

namespace {

// Shared is both a TASK and a RESOURCE. Timers is a list whose elements belong to tasks
// through _OWNER; Ring is a list whose next node is always the same one (a cycle).
const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS {
    ENUM "unsigned char" [ "NO_TASK" = 0, "Shared" = 1 ] RUNNINGTASK, "Running task";
    ENUM [ "Timers" : Timers = 1 ] vs_TIMER;
  }, "Operating System";
  TASK {
    CTYPE "unsigned char" PRIORITY, "Priority";
    ENUM [ "SUSPENDED" = 0, "RUNNING" = 3 ] STATE, "Task state";
    ENUM [ "StackA" : StackA = 1, "StackB" : StackB = 2, "None" = 0 ] STACK, "Task stack";
    ENUM [ "Ctx1" : Ctx1 = 1 ] CONTEXT;
    ENUM [ "Timers" : Timers = 1 ] vs_TIMER, "Timer of the task";
    ENUM [ "Ring" : Ring = 1 ] vs_RING;
    CTYPE TASK_ID;
    CTYPE vs_EVENTS;
  }, "Tasks";
  STACK { CTYPE SIZE, "Stack size"; CTYPE VALID; }, "Stacks";
  CONTEXT { CTYPE "unsigned int" _CPU_PC, "Program counter"; CTYPE ADDRESS; };
  RESOURCE { ENUM [ "UNLOCKED" = 0 ] STATE; STRING PRIORITY; }, "Resources";
  vs_TIMER { CTYPE vs_LEFT; }, "Timers";
  vs_RING { CTYPE vs_R; };
};
OS Os { RUNNINGTASK = "OsRunning"; vs_TIMER = "1"; };
TASK Shared { PRIORITY = "Prio[0]"; STATE = "St[0]"; STACK = "Stk[0]"; CONTEXT = "1";
              vs_TIMER = "1"; vs_RING = "1"; TASK_ID = "Tid[0]"; vs_EVENTS = "Ev[0]"; };
TASK Idle { PRIORITY = "Prio[1]"; STATE = "St[1]"; STACK = "Stk[1]"; CONTEXT = "1"; };
STACK StackA { SIZE = "10"; VALID = "VA"; };
STACK StackB { SIZE = "20"; VALID = "VB"; };
CONTEXT Ctx1 { _CPU_PC = "Ctx[0].pc"; ADDRESS = "&Ctx[0]"; };
RESOURCE Shared { STATE = "Res[0]"; PRIORITY = "7"; };
vs_TIMER * Timers { vs_LEFT = "($ITEM)->left"; _PARENT_NODE = "Head"; _NEXT_NODE = "($NODE)->next";
                    _ITEM = "($NODE)"; _NODE_VALID = "($NODE) != 0"; _OWNER = "($ITEM)->owner"; };
vs_RING * Ring { vs_R = "1"; _PARENT_NODE = "RingHead"; _NEXT_NODE = "RingNext"; _ITEM = "($NODE)";
                 _NODE_VALID = "($NODE) != 0"; _OWNER = "($ITEM)->owner"; };
)ORTI";

class ObjectCommandsTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    load(kFile);
    image();
  }
  // The target image every test starts from.
  void image() {
    invalidate_caches(state);
    debugger->clear_script();
    debugger->clear_record();
    debugger->on("OSA_Service_MessageDisplay").always();
    debugger->on("OSA_Service_CommandExec").always();
    for (const auto& [expression, value] :
         std::vector<std::pair<std::string, int64_t>>{{"St[0]", 3},
                                                      {"Prio[0]", 5},
                                                      {"Prio[1]", 1},
                                                      {"Ev[0]", 9},
                                                      {"Ctx[0].pc", 0x100},
                                                      {"Tid[0]", 7},
                                                      {"VA", 1},
                                                      {"VB", 1},
                                                      {"Stk[0]", 2},
                                                      {"1", 1}}) {
      answer(expression, value);
    }
  }
  // A timer list whose k-th element belongs to the task with id owners[k].
  void timers(const std::vector<int>& owners) {
    std::string node = "Head";
    for (std::size_t k = 0; k <= owners.size(); ++k) {
      answer("(" + node + ") != 0", k < owners.size() ? 1 : 0);
      if (k < owners.size()) {
        answer("((" + node + "))->owner", owners[k]);
      }
      node = "(" + node + ")->next";
    }
  }
  AttributeDecl* task_priority() { return state.model->tasks[0].standard[kTaskPriority].get(); }
};

TEST_F(ObjectCommandsTest, ExprAnswers) {
  const std::string long_name(2049, 'x');
  struct Case {
    std::string line;
    int32_t status;
    std::vector<std::string> shown; // messageType 0
  } cases[] = {
      {"expr", 1, {"error: missing expression\n"}},
      {"expr  \t ", 1, {"error: missing expression\n"}},
      {"expr " + long_name + "x", 1, {"error: expression is too long\n"}},
      {"expr " + long_name, 1, {"error: " + long_name + " not found\n"}},
      {"expr shared.STATE", 1, {"error: shared not found\n"}},
      {"expr %s%n.x", 1, {"error: %s%n not found\n"}},
      {"expr Shared.state", 1, {"error: Shared.state not found\n"}},
      {"expr Shared.TASK_ID", 1, {"error: Shared.TASK_ID not found\n"}},
      {"expr Shared.STATE=x", 1, {"error: Shared.STATE=x not found\n"}},
      {"expr Shared.STATE",
       0,
       {"ENUM STATE [Task state]<none> = \"St[0]\" := RUNNING",
        "ENUM STATE [none]<none> = \"Res[0]\" := Error evaluating: Res[0]"}},
      {"expr Shared.vs_EVENTS", 0, {"CTYPE vs_EVENTS [none]<none> = \"Ev[0]\" := 0x9"}},
      {"expr Ctx1._CPU_PC",
       0,
       {"CTYPE _CPU_PC [Program counter]<unsigned int> = \"Ctx[0].pc\" := 0x100"}},
      {"expr Timers.vs_LEFT",
       0,
       {"CTYPE vs_LEFT [none]<none> = \"($ITEM)->left\" := Error evaluating: ((Head))->left"}},
      {"expr Idle.vs_EVENTS", 1, {"error: Idle.vs_EVENTS not found\n"}},
  };
  for (const Case& c : cases) {
    debugger->clear_record();
    EXPECT_EQ(run(c.line), c.status) << c.line.substr(0, 40);
    EXPECT_EQ(messages(0), c.shown) << c.line.substr(0, 40);
  }
}

TEST_F(ObjectCommandsTest, WholeObjectDisplayIsSilentAndRestoresLevels) {
  run("set debuglevel 60");
  state.cursors[kTypeTask] = 1;
  state.list_position = 3;
  EXPECT_EQ(run("expr Shared"), 0);
  const std::vector<std::string> shown = messages(0);
  const std::vector<std::string> task = {
      "TASK Shared : Tasks\n{\n", "\tID = 0x1\n",       "\tNAME = Shared\n",   "\tPRIORITY = 0x5\n",
      "\tSTATE = RUNNING\n",      "\tSTACK = StackB\n", "\tCONTEXT = Ctx1\n",  "\tTASK_ID = 0x7\n",
      "\tvs_TIMER = Timers\n",    "\tvs_RING = Ring\n", "\tvs_EVENTS = 0x9\n", "}\n"};
  ASSERT_GE(shown.size(), task.size() + 1);
  EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + task.size()), task);
  EXPECT_EQ(shown[task.size()], "RESOURCE Shared : Resources\n{\n");
  EXPECT_EQ(shown.back(), "}\n");
  // Only the lookup's own trace, made before the reads, reaches the user.
  EXPECT_EQ(messages(2), std::vector<std::string>{"getobj(name:Shared)\n"});
  EXPECT_EQ(state.debug_level, 60);
  EXPECT_EQ(state.log_level, 60);
  EXPECT_EQ(state.cursors[kTypeTask], 1);
  EXPECT_EQ(state.list_position, 3);
  debugger->clear_record();
  EXPECT_EQ(run("expr Ctx1"), 0);
  EXPECT_EQ(messages(0).front(), "CONTEXT Ctx1 : none\n{\n"); // no description: "none"
}

TEST_F(ObjectCommandsTest, FormulaReplacementKeepsTheModelsText) {
  const char* original = task_priority()->formula;
  const AttributeDecl* resource_priority =
      state.model->resources[0].standard[kResourcePriority].get();
  struct Case {
    std::string tail;
    std::string formula; // of the TASK's PRIORITY afterwards
  } cases[] = {
      {"", "Prio[0]"},
      {" =", "Prio[0]"},
      {" = \"\"", "Prio[0]"},
      {" = Prio[1]", "Prio[1]"},
      {"  =  \" a b \"  ", " a b "},
      {" = \"x", "\"x"},
      {" =%n", "%n"},
  };
  for (const Case& c : cases) {
    task_priority()->formula = original;
    const uint64_t generation = state.generation;
    const std::size_t kept = state.owned_texts.size();
    EXPECT_EQ(run("expr Shared.PRIORITY" + c.tail), 0) << c.tail;
    EXPECT_EQ(std::string(task_priority()->formula), c.formula) << c.tail;
    const bool replaced = c.formula != "Prio[0]";
    EXPECT_EQ(state.owned_texts.size(), kept + (replaced ? 1 : 0)) << "one copy for both objects";
    EXPECT_EQ(state.generation > generation, replaced) << c.tail;
    if (replaced) {
      EXPECT_EQ(task_priority()->formula, state.owned_texts.back().c_str());
      EXPECT_EQ(resource_priority->formula, task_priority()->formula);
    }
  }
  EXPECT_STREQ(original, "Prio[0]") << "the model's own text is never written";
}

TEST_F(ObjectCommandsTest, GetpropAndGetpropval) {
  struct Case {
    const char* line;
    int32_t status;
    const char* shown; // null: nothing shown
  } cases[] = {
      {"getprop 1 1 4", 0, "St[0]"},     {"getpropval 1 1 4", 0, "RUNNING"},
      {"getprop 1 2 3", 0, "Prio[1]"},   {"getpropval 1 2 3", 0, "0x1"},
      {"getpropval 0 1 2", 0, "Os"},     {"getprop 100 2 100", 0, "(((Head)->next))->left"},
      {"getprop 1 3 3", 1, nullptr},     {"getprop 1 0 3", 1, nullptr},
      {"getprop 1 -1 3", 1, nullptr},    {"getprop 1 99999999999 3", 1, nullptr},
      {"getprop 100 0 100", 1, nullptr}, {"getprop 100 4097 100", 1, nullptr},
      {"getprop 7 1 1", 1, nullptr},     {"getprop 102 1 1", 1, nullptr},
      {"getprop 1 1 99", 1, nullptr},    {"getprop 1 1", 1, nullptr},
      {"getpropval", 1, nullptr},        {"getprop x 1 1", 1, nullptr},
  };
  for (const bool symbols : {false, true}) {
    state.show_symbols = symbols;
    for (const Case& c : cases) {
      debugger->clear_record();
      EXPECT_EQ(run(c.line), c.status) << c.line;
      EXPECT_EQ(messages(0),
                c.shown ? std::vector<std::string>{c.shown} : std::vector<std::string>{})
          << c.line;
      EXPECT_EQ(displays(), c.shown ? 1u : 0u) << c.line;
      EXPECT_EQ(state.show_symbols, symbols) << c.line;
    }
  }
  run("getprop 1 2 3");
  EXPECT_EQ(state.cursors[kTypeTask], 1);
}

TEST_F(ObjectCommandsTest, ShowlinkRowsAndNotices) {
  struct Case {
    std::vector<std::pair<std::string, int64_t>> image;
    const char* line;
    int32_t status;
    const char* command; // the osaexplorer command run, or null
    const char* notice;  // messageType 1, or null
  } cases[] = {
      {{}, "showlink 1 1 5 3", 0, "osaexplorer -tabidx 3 -mslrow 1", nullptr},
      {{{"VA", 0}}, "showlink 1 1 5 3", 0, "osaexplorer -tabidx 3 -mslrow 0", nullptr},
      {{{"VB", 0}}, "showlink 1 1 5 3", 0, nullptr, "STACK is not available\n"},
      {{}, "showlink 1 1 8 2", 0, "osaexplorer -tabidx 2 -mslrow 0", nullptr},
      {{{"Tid[0]", 4}}, "showlink 1 1 100 100", 0, "osaexplorer -tabidx 100 -mslrow 1", nullptr},
      {{}, "showlink 1 1 100 100", 0, nullptr, "Object is not available\n"},
      {{}, "showlink 0 1 100 100", 1, nullptr, nullptr},
      {{}, "showlink 1 1 5 2", 1, nullptr, nullptr},
      {{}, "showlink 1 1 3 3", 1, nullptr, nullptr},
      {{{"Stk[0]", 0}}, "showlink 1 1 5 3", 1, nullptr, nullptr},
      {{}, "showlink 1 3 5 3", 1, nullptr, nullptr},
      {{}, "showlink 1 0 5 3", 1, nullptr, nullptr},
      {{}, "showlink 1 1 5", 1, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    image();
    timers({1, 4, 4});
    for (const auto& [expression, value] : c.image) {
      answer(expression, value);
    }
    state.show_symbols = true; // the link is read as a value all the same
    EXPECT_EQ(run(c.line), c.status) << c.line;
    EXPECT_TRUE(state.show_symbols);
    EXPECT_EQ(commands_run(),
              c.command ? std::vector<std::string>{c.command} : std::vector<std::string>{})
        << c.line;
    EXPECT_EQ(messages(1),
              c.notice ? std::vector<std::string>{c.notice} : std::vector<std::string>{})
        << c.line;
  }
  debugger->on("OSA_Service_CommandExec").result("{\"return\": 1}");
  EXPECT_EQ(run("showlink 1 1 5 3"), 1) << "the debugger refused the command";
}

TEST_F(ObjectCommandsTest, ShowlinkStopsWalkingACyclicList) {
  answer("(RingHead) != 0", 1);
  answer("(RingNext) != 0", 1);
  answer("((RingHead))->owner", 1);
  answer("((RingNext))->owner", 1);
  EXPECT_EQ(run("showlink 1 1 101 101"), 1);
  EXPECT_EQ(messages(2).back(),
            "showlink: the list of object type 101 has more than 4096 elements; the walk stops "
            "there (the list in target memory may be corrupt or cyclic)\n");
  EXPECT_TRUE(commands_run().empty());
}

// The whole plug-in behind the client methods, so that the debugger can call in while a
// command waits for an evaluation.
class NestedCallTest : public ::testing::Test {
protected:
  void SetUp() override {
    osa_reset_for_tests();
    debugger = std::make_unique<ScriptedDebugger>();
    debugger->prefer_newest(true);
    osa_set_plugin_registration(plugin_register_handlers);
    OSA_Client_CmdInit(0, nullptr, &ScriptedDebugger::transport);
    set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
    debugger->on("OSA_Service_MessageDisplay").always();
    debugger->on("OSA_Service_ExpressionEval").result(R"({"output": 5, "return": 0})").always();
    call("OSA_Client_OsaInit", R"({"context": 7})");
    ASSERT_EQ(command("load_orti " OSA_SOURCE_DIR "/examples/demo_os.ort"), 0);
  }
  void TearDown() override {
    reset_message_sink();
    osa_reset_for_tests();
    debugger.reset();
  }
  static int64_t call(const std::string& method, const std::string& params) {
    const char* response =
        OSA_Client_CmdParser(ScriptedDebugger::client_request(method, params, 1).c_str());
    std::string error;
    JsonPtr tree = json_parse(response, error);
    const JsonValue* result = nullptr;
    int64_t status = -1;
    if (tree && json_object_get(tree.get(), "result", &result)) {
      json_object_get_integer(result, "return", &status);
    }
    return status;
  }
  static std::string command_params(const std::string& line) {
    return "{\"context\": 7, \"command\": " + quoted(line) + "}";
  }
  static int64_t command(const std::string& line) {
    return call("OSA_Client_OsaCmd_Execute", command_params(line));
  }
  // While the next evaluation of expression waits, the debugger sends these client calls.
  void interrupt(const std::string& expression,
                 const std::vector<std::pair<std::string, std::string>>& calls, int output = 3) {
    ScriptEntry& entry =
        debugger->on("OSA_Service_ExpressionEval", "{\"expression\": " + quoted(expression) + "}");
    entry.result("{\"output\": " + std::to_string(output) + ", \"return\": 0}");
    int64_t id = 50;
    for (const auto& [method, params] : calls) {
      entry.inject_request(ScriptedDebugger::client_request(method, params, id++));
    }
  }
  static PluginState* plugin_state() {
    OSA_ServiceCntx* record = context_find(osa_layer_state().contexts, 7);
    return record != nullptr ? record->area.plugin_state : nullptr;
  }
  std::unique_ptr<ScriptedDebugger> debugger;
};

TEST_F(NestedCallTest, CommandsAndNotificationsInsideADisplayLeaveItWhole) {
  interrupt("OsTaskPrio[0]", {{"OSA_Client_TargetNotify", R"({"context": 7, "notice": 1})"},
                              {"OSA_Client_OsaCmd_Execute", command_params("set debuglevel 9")},
                              {"OSA_Client_OsaCmd_Execute", command_params("togglesymbols")},
                              {"OSA_Client_OsaCmd_Execute",
                               command_params("expr Task_Init.PRIORITY = OsTaskPrio[9]")}});
  EXPECT_EQ(command("expr Task_Init"), 0);
  ASSERT_EQ(debugger->injected_responses().size(), 4u);
  PluginState* state = plugin_state();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->debug_level, 4) << "the display's levels are put back";
  EXPECT_EQ(state->log_level, 5);
  EXPECT_TRUE(state->show_symbols) << "expr leaves the flag alone";
  EXPECT_STREQ(state->model->tasks[0].standard[kTaskPriority]->formula, "OsTaskPrio[9]");
  interrupt("OsTaskState[0]", {{"OSA_Client_OsaCmd_Execute", command_params("togglesymbols")}});
  EXPECT_EQ(command("getpropval 1 1 4"), 0);
  EXPECT_TRUE(state->show_symbols) << "getpropval puts back the flag it found";
}

TEST_F(NestedCallTest, LocationsAddedDuringADisplayAreShownToo) {
  // The nested commands grow the attribute list of the very object on display.
  interrupt("OsCtx[0].pc", {{"OSA_Client_OsaCmd_Execute", command_params("mapregloc2 0 r7 R7")},
                            {"OSA_Client_OsaCmd_Execute", command_params("mapregloc2 0 r8 R8")},
                            {"OSA_Client_OsaCmd_Execute", command_params("mapregname 3 x")}});
  debugger->clear_record();
  EXPECT_EQ(command("expr Ctx_Init"), 0);
  std::vector<std::string> shown;
  for (const ReceivedRequest* r : debugger->requests_of("OSA_Service_MessageDisplay")) {
    int64_t type = -1;
    const char* text = nullptr;
    if (json_object_get_integer(r->params.get(), "messageType", &type) && type == 0 &&
        json_object_get_string(r->params.get(), "message", &text)) {
      shown.emplace_back(text);
    }
  }
  const std::vector<std::string> expected = {"CONTEXT Ctx_Init : none\n{\n",
                                             "\tID = 0x1\n",
                                             "\tNAME = Ctx_Init\n",
                                             "\t_CPU_PC = 0x3\n",
                                             "\t_CPU_SP = 0x5\n",
                                             "\t_CPU_R0 = 0x5\n",
                                             "\t_CPU_r7 = 0x5\n",
                                             "\t_CPU_r8 = 0x5\n",
                                             "}\n"};
  EXPECT_EQ(shown, expected);
}

TEST_F(NestedCallTest, ShowlinkReadsTheTaskIdOfItsOwnTask) {
  for (const auto& [expression, value] : std::vector<std::pair<std::string, int>>{
           {"0", 0}, {"1", 1}, {"((struct tp *)OsTimePointHead)->owner", 1}}) {
    debugger->on("OSA_Service_ExpressionEval", "{\"expression\": " + quoted(expression) + "}")
        .result("{\"output\": " + std::to_string(value) + ", \"return\": 0}")
        .always();
  }
  debugger->on("OSA_Service_CommandExec").always();
  // The nested getprop moves the task cursor to Task_Init while the link of Task_Cyclic is read.
  interrupt("OsTaskHasTimePoint[1]",
            {{"OSA_Client_OsaCmd_Execute", command_params("getprop 1 1 4")}}, 1);
  EXPECT_EQ(command("showlink 1 2 101 102"), 0);
  const auto run = debugger->requests_of("OSA_Service_CommandExec");
  ASSERT_EQ(run.size(), 1u);
  const char* text = nullptr;
  ASSERT_TRUE(json_object_get_string(run[0]->params.get(), "command", &text));
  EXPECT_STREQ(text, "osaexplorer -tabidx 102 -mslrow 0");
}

TEST_F(NestedCallTest, ACleanupInsideACommandRetiresTheStateUntilTheCommandEnds) {
  const std::pair<const char*, const char*> cases[] = {{"expr Task_Init", "OsTaskState[0]"},
                                                       {"expr Task_Init.STATE", "OsTaskState[0]"},
                                                       {"getpropval 1 1 4", "OsTaskState[0]"},
                                                       {"showlink 1 1 5 3", "&OsStack_Init[0]"}};
  for (const auto& [line, expression] : cases) {
    SCOPED_TRACE(line);
    interrupt(expression, {{"OSA_Client_OsaCleanup", R"({"context": 7})"}});
    command(line);
    EXPECT_EQ(plugin_states_retired(), 0u);
    EXPECT_EQ(plugin_state(), nullptr);
    call("OSA_Client_OsaInit", R"({"context": 7})");
    ASSERT_EQ(command("load_orti " OSA_SOURCE_DIR "/examples/demo_os.ort"), 0);
  }
}

} // namespace
