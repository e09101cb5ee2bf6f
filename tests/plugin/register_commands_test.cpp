// The register commands through OsaCmd_Execute, and task register reads through the whole OSA
// layer while the debugger calls in again in the middle of them.
#include "osa/osa_test_util.h"

#include "awareness/task_registers.h"
#include "osa/service_context.h"
#include "plugin/plugin_registration.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "Task_A" = 1, "Task_B" = 2, "Task_C" = 3 ] RUNNINGTASK; };
  TASK {
    ENUM [ "Ctx_A" : Ctx_A = 1, "Ctx_B" : Ctx_B = 2 ] CONTEXT;
    CTYPE PRIORITY;
  };
  CONTEXT { CTYPE _CPU_SP; CTYPE _CPU_r0; };
};
OS Os { RUNNINGTASK = "Running"; };
TASK Task_A { CONTEXT = "CtxOf[0]"; };
TASK Task_B { CONTEXT = "CtxOf[1]"; };
TASK Task_C { PRIORITY = "1"; };
CONTEXT Ctx_A { _CPU_SP = "CtxA.sp"; _CPU_r0 = "CtxA.r0"; };
CONTEXT Ctx_B { _CPU_r0 = "CtxB.r0"; };
)ORTI";

const char kArmTarget[] =
    R"({"context": 7, "majorCpuType": 24, "minorCpuType": 0, "bigEndianTarget": 0, )"
    R"("bigEndianHost": 0})";
const char kUnknownTarget[] =
    R"({"context": 7, "majorCpuType": 45, "minorCpuType": 0, "bigEndianTarget": 0, )"
    R"("bigEndianHost": 0})";
const char kNotify[] = R"({"context": 7, "notice": 1})";

std::string quoted(const std::string& text) {
  return json_to_text(*json_new_string(text.c_str()));
}

class RegisterCommandsTest : public OsaLayerTest {
protected:
  void SetUp() override {
    osa_set_plugin_registration(plugin_register_handlers);
    OsaLayerTest::SetUp();
    debugger->prefer_newest(true);
    debugger->on("OSA_Service_MessageDisplay").always();
    set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
    static int files = 0;
    path = std::filesystem::temp_directory_path() /
           ("register_commands_" + std::to_string(::getpid()) + "_" + std::to_string(++files) +
            ".ort");
    std::ofstream(path) << kFile;
    init_context(7);
    call("OSA_Client_TargetInit", kArmTarget);
    ASSERT_EQ(command("load_orti " + path.string()), 0);
    answer("Running", 0);
    answer("CtxOf[0]", 1);
    answer("CtxOf[1]", 2);
    answer("CtxA.sp", 0x1000);
    answer("CtxA.r0", 0x10);
    answer("CtxB.r0", 0x20);
    debugger->clear_record();
  }
  void TearDown() override {
    call("OSA_Client_OsaCleanup", R"({"context": 7})");
    reset_message_sink();
    std::filesystem::remove(path);
    OsaLayerTest::TearDown();
    osa_set_plugin_registration(nullptr);
  }

  static int64_t status_of(const std::string& result) {
    std::string error;
    JsonPtr tree = json_parse(result.c_str(), error);
    int64_t status = -1;
    if (!tree || !json_object_get_integer(tree.get(), "return", &status)) {
      return -1;
    }
    return status;
  }
  static int64_t command(const std::string& line, int context = 7) {
    return status_of(call("OSA_Client_OsaCmd_Execute", "{\"context\": " + std::to_string(context) +
                                                           ", \"command\": " + quoted(line) + "}"));
  }
  // The task register read as the debugger sees it: the result object's text.
  static std::string read_register(uint64_t task, int32_t reg) {
    return call("OSA_Client_TaskRegisterRead",
                "{\"context\": 7, \"taskId\": " + std::to_string(task) +
                    ", \"register\": " + std::to_string(reg) + "}");
  }
  static std::string value_result(uint64_t value) {
    return "{ \"value\" : " + std::to_string(value) + ", \"return\" : 0 }";
  }

  void answer(const std::string& expression, int64_t number) {
    debugger->on("OSA_Service_ExpressionEval", "{\"expression\": " + quoted(expression) + "}")
        .result("{\"output\": " + std::to_string(number) + ", \"return\": 0}")
        .always();
  }
  std::vector<std::string> messages(int64_t type) const {
    std::vector<std::string> out;
    for (const ReceivedRequest* r : debugger->requests_of("OSA_Service_MessageDisplay")) {
      int64_t t = -1;
      const char* text = nullptr;
      if (json_object_get_integer(r->params.get(), "messageType", &t) && t == type &&
          json_object_get_string(r->params.get(), "message", &text)) {
        out.emplace_back(text);
      }
    }
    return out;
  }
  static PluginState* state(uint64_t context = 7) {
    OSA_ServiceCntx* ctx = context_find(osa_layer_state().contexts, context);
    return ctx != nullptr ? ctx->area.plugin_state : nullptr;
  }

  std::filesystem::path path;
};

TEST_F(RegisterCommandsTest, MapregnamePutsTheNewestNameFirst) {
  EXPECT_EQ(command("mapregname 12 my reg"), 0);
  EXPECT_EQ(command("mapregname 12 r12"), 0);
  EXPECT_EQ(command("regname 12"), 0);
  EXPECT_EQ(messages(0), std::vector<std::string>{"r12 my reg "});
  ASSERT_EQ(state()->register_names.size(), 1u);
  EXPECT_EQ(state()->register_names[0].names, (std::vector<std::string>{"r12", "my reg"}));
  EXPECT_EQ(command("regname 13"), 0);
  EXPECT_EQ(messages(0).back(), "r13 sp ") << "the table's names without user names";

  EXPECT_EQ(command("mapregname 5"), 1);
  EXPECT_EQ(command("mapregname 5   "), 1);
  EXPECT_EQ(messages(2), std::vector<std::string>(
                             2, "Register name not specified.  Usage: mapregname ID NAME\n"));
}

TEST_F(RegisterCommandsTest, RegnameOfAnIdNobodyNamed) {
  EXPECT_EQ(command("regname 999"), 1);
  EXPECT_EQ(command("quiet regname -1"), 0);
  EXPECT_EQ(messages(2), std::vector<std::string>(2, "Unrecognized register ID\n"))
      << "quiet does not silence a direct display";

  // A context whose debugger never announced its CPU has no table.
  init_context(8);
  debugger->clear_record();
  EXPECT_EQ(command("regname 13", 8), 1);
  EXPECT_EQ(messages(2), std::vector<std::string>{"You need to open the OSA Explorer at least "
                                                  "once before calling this command\n"});
  EXPECT_EQ(command("mapregname 13 stack", 8), 0);
  EXPECT_EQ(command("regname 13", 8), 0) << "a user name needs no table";
  EXPECT_EQ(messages(0), std::vector<std::string>{"stack "});

  // The V850 family leaves ids unmapped.
  call("OSA_Client_TargetInit", R"({"context": 8, "majorCpuType": 14, "minorCpuType": 0, )"
                                R"("bigEndianTarget": 0, "bigEndianHost": 0})");
  int32_t unmapped = -1;
  for (int32_t i = 0; i < kV850RegisterTable.count && unmapped < 0; ++i) {
    if (kV850RegisterTable.entries[i].id == kUnmappedRegisterId) {
      unmapped = i;
    }
  }
  ASSERT_GE(unmapped, 0);
  debugger->clear_record();
  EXPECT_EQ(command("regname " + std::to_string(unmapped), 8), 1);
  EXPECT_EQ(messages(2), std::vector<std::string>{"Unrecognized register ID\n"});
  call("OSA_Client_OsaCleanup", R"({"context": 8})");
}

TEST_F(RegisterCommandsTest, TextsWithLineBreaksAreRefused) {
  for (const char* line :
       {"mapregname 5 a\nb", "mapregname 5 pc\r\n", "mapregname 5 pc\r", "mapregloc 1 sp x\ny",
        "mapregloc 1 sp CtxA.sp\r\n", "mapregloc2 0 sp a\rb", "mapregloc2 1 r0 x\n"}) {
    debugger->clear_record();
    EXPECT_EQ(command(line), 1) << line;
    const std::vector<std::string> shown = messages(2);
    ASSERT_EQ(shown.size(), 1u) << line;
    EXPECT_NE(shown[0].find("must be on one line"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("Usage: mapreg"), std::string::npos) << shown[0];
  }
  EXPECT_TRUE(state()->register_names.empty());
  EXPECT_TRUE(user_register_locations(*state()).empty());
}

TEST_F(RegisterCommandsTest, LocationCommandsCheckTheirArguments) {
  const std::string usage = "Usage: mapregloc TASKID NAME TARNO_EXPR\n";
  struct Case {
    std::string line;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"mapregloc", usage},
      {"mapregloc 1 sp", usage},
      {"mapregloc2 0 sp   ", usage},
      {"mapregloc 1 " + std::string(2047, 'r') + " x", "Register name is too long\n"},
      {"mapregloc2 0 " + std::string(3000, 'r') + " x", "Register name is too long\n"},
      {"mapregloc 9 sp x", "Bad task ID\nUsage: mapregloc TASKID NAME TARNO_EXPR\n"},
      {"mapregloc x sp x", "Bad task ID\nUsage: mapregloc TASKID NAME TARNO_EXPR\n"},
      {"mapregloc2 2 sp x", "Bad context ID\nUsage: mapregloc CONTEXTID NAME TARNO_EXPR\n"},
  };
  for (const Case& c : cases) {
    debugger->clear_record();
    EXPECT_EQ(command(c.line), 1) << c.line.substr(0, 40);
    EXPECT_EQ(messages(2), std::vector<std::string>{c.message}) << c.line.substr(0, 40);
  }
  EXPECT_EQ(command("mapregloc 3 sp x"), 1) << "Task_C has no context to store it on";
  EXPECT_TRUE(user_register_locations(*state()).empty());
}

TEST_F(RegisterCommandsTest, MapreglocMovesALocationAndTheNextReadUsesIt) {
  EXPECT_EQ(read_register(1, 13), value_result(0x1000));
  answer("CtxA.newsp", 0x2000);
  EXPECT_EQ(command("mapregloc 1 \"SP\" CtxA.newsp"), 0);
  EXPECT_EQ(read_register(1, 13), value_result(0x2000));

  answer("CtxA.r12", 0x12);
  EXPECT_EQ(read_register(1, 12), R"({ "return" : 2 })");
  EXPECT_EQ(command("mapregloc 1 \"ip\" CtxA.r12"), 0);
  EXPECT_EQ(read_register(1, 12), value_result(0x12));

  answer("CtxB.regs[3] + 4", 0x34);
  EXPECT_EQ(command("mapregloc2 1   r3   CtxB.regs[3] + 4"), 0);
  EXPECT_EQ(read_register(2, 3), value_result(0x34));

  const std::vector<UserRegisterLocation> saved = user_register_locations(*state());
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].context_index, 0);
  EXPECT_EQ(saved[0].name, "SP");
  EXPECT_EQ(saved[0].formula, "CtxA.newsp");
  EXPECT_EQ(saved[1].name, "ip") << "stored without the quotes";
  EXPECT_EQ(saved[1].formula, "CtxA.r12");
  EXPECT_EQ(saved[2].context_index, 1);
  EXPECT_EQ(saved[2].name, "r3");
  EXPECT_EQ(saved[2].formula, "CtxB.regs[3] + 4");
}

TEST_F(RegisterCommandsTest, MapregnameDropsTheCachedRegisters) {
  EXPECT_EQ(read_register(1, 13), value_result(0x1000));
  EXPECT_EQ(command("mapregname 13 r0"), 0);
  EXPECT_EQ(read_register(1, 13), value_result(0x10)) << "r13 is now found as r0";
}

// While a read of Task_A's SP waits for the debugger, the debugger sends another call.
struct NestedCase {
  const char* name;
  const char* method;
  std::string params;
};

void PrintTo(const NestedCase& c, std::ostream* os) {
  *os << c.name;
}

class NestedRegisterReadTest : public RegisterCommandsTest,
                               public ::testing::WithParamInterface<NestedCase> {};

TEST_P(NestedRegisterReadTest, TheInterruptedReadEndsCleanly) {
  const NestedCase& c = GetParam();
  debugger->on("OSA_Service_ExpressionEval", R"({"expression": "CtxA.sp"})")
      .result(R"({"output": 4096, "return": 0})")
      .inject_request(ScriptedDebugger::client_request(c.method, c.params, 50));
  EXPECT_EQ(read_register(1, 13), value_result(0x1000)) << c.name;
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  PluginState* s = state();
  ASSERT_NE(s, nullptr);
  for (const TaskContextRecord& record : s->task_records) {
    const std::size_t count =
        s->register_table != nullptr ? static_cast<std::size_t>(s->register_table->count) : 0;
    EXPECT_EQ(record.registers.size(), count) << c.name;
  }
  // Whatever the nested call did, the next read is answered from a consistent state.
  const std::string again = read_register(1, 13);
  EXPECT_EQ(again, s->register_table != nullptr ? value_result(0x1000) : R"({ "return" : 1 })")
      << c.name;
}

std::string execute(const std::string& line) {
  return "{\"context\": 7, \"command\": " + quoted(line) + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Calls, NestedRegisterReadTest,
    ::testing::Values(NestedCase{"notify", "OSA_Client_TargetNotify", kNotify},
                      NestedCase{"arm_again", "OSA_Client_TargetInit", kArmTarget},
                      NestedCase{"no_table", "OSA_Client_TargetInit", kUnknownTarget},
                      NestedCase{"name", "OSA_Client_OsaCmd_Execute", execute("mapregname 13 x")},
                      NestedCase{"location", "OSA_Client_OsaCmd_Execute",
                                 execute("mapregloc 1 r5 CtxA.r5")},
                      NestedCase{"clearcache", "OSA_Client_OsaCmd_Execute", execute("clearcache")}),
    [](const ::testing::TestParamInfo<NestedCase>& info) { return std::string(info.param.name); });

TEST_F(RegisterCommandsTest, NestedTargetInitDuringALiveReadLeavesNoStaleSlot) {
  answer("Running", 1);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 77, "return": 0})")
      .inject_request(
          ScriptedDebugger::client_request("OSA_Client_TargetInit", kUnknownTarget, 51));
  EXPECT_EQ(read_register(1, 13), value_result(77));
  EXPECT_EQ(state()->register_table, nullptr);
  EXPECT_TRUE(state()->task_records[0].registers.empty());
  call("OSA_Client_TargetInit", kArmTarget);
  debugger->on("OSA_Service_RegisterRead").result(R"({"value": 78, "return": 0})").always();
  EXPECT_EQ(read_register(1, 13), value_result(78)) << "the fresh array holds nothing";
}

TEST_F(RegisterCommandsTest, NestedStopWhileTheMissingContextMessageIsShown) {
  debugger->on("OSA_Service_MessageDisplay", R"({"messageType": 0})")
      .inject_request(ScriptedDebugger::client_request("OSA_Client_TargetInit", kArmTarget, 52))
      .inject_request(ScriptedDebugger::client_request("OSA_Client_TargetNotify", kNotify, 53));
  EXPECT_EQ(read_register(3, 13), R"({ "return" : 2 })");
  EXPECT_EQ(debugger->injected_responses().size(), 2u);
  EXPECT_TRUE(state()->task_records[2].warned)
      << "the message was shown; the flag goes to the record that is there now";
  EXPECT_EQ(read_register(3, 13), R"({ "return" : 2 })");
  EXPECT_EQ(messages(0).size(), 1u);
}

TEST_F(RegisterCommandsTest, NestedCleanupDuringAReadKeepsTheStateUntilTheReadEnds) {
  debugger->on("OSA_Service_ExpressionEval", R"({"expression": "CtxA.sp"})")
      .result(R"({"output": 4096, "return": 0})")
      .inject_request(
          ScriptedDebugger::client_request("OSA_Client_OsaCleanup", R"({"context": 7})", 54));
  EXPECT_EQ(read_register(1, 13), value_result(0x1000));
  EXPECT_EQ(plugin_states_retired(), 0u) << "the last use destroyed the retired state";
}

} // namespace
