// The register commands through OsaCmd_Execute, and task register reads through the whole OSA
// layer while the debugger calls in again in the middle of them.
#include "osa/osa_test_util.h"

#include "awareness/task_registers.h"
#include "plugin/plugin_registration.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T { OS { ENUM [ "NO_TASK" = 0, "Task_A" = 1 ] RUNNINGTASK; };
  TASK { ENUM [ "Ctx_A" : Ctx_A = 1, "Ctx_B" : Ctx_B = 2 ] CONTEXT; };
  CONTEXT { CTYPE _CPU_SP; CTYPE _CPU_r0; }; };
OS Os { RUNNINGTASK = "Running"; };
TASK Task_A { CONTEXT = "1"; };
TASK Task_B { CONTEXT = "2"; };
CONTEXT Ctx_A { _CPU_SP = "CtxA.sp"; _CPU_r0 = "CtxA.r0"; };
CONTEXT Ctx_B { _CPU_r0 = "CtxB.r0"; };
)ORTI";

std::string target(int context, int major) {
  return "{\"context\": " + std::to_string(context) +
         ", \"majorCpuType\": " + std::to_string(major) +
         R"(, "minorCpuType": 0, "bigEndianTarget": 0, "bigEndianHost": 0})";
}
std::string execute(const std::string& line, int context = 7) {
  return "{\"context\": " + std::to_string(context) +
         ", \"command\": " + json_to_text(*json_new_string(line.c_str())) + "}";
}
std::string value_result(uint64_t value) {
  return "{ \"value\" : " + std::to_string(value) + ", \"return\" : 0 }";
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
           ("registers_" + std::to_string(::getpid()) + "_" + std::to_string(++files) + ".ort");
    std::ofstream(path) << kFile;
    init_context(7);
    call("OSA_Client_TargetInit", target(7, 24));
    ASSERT_EQ(call("OSA_Client_OsaCmd_Execute", execute("load_orti " + path.string())),
              R"({ "return" : 0 })");
    for (const auto& [expression, number] :
         {std::pair<const char*, int>{"Running", 0}, {"1", 1}, {"2", 2}, {"CtxA.sp", 0x1000}}) {
      answer(expression, number);
    }
    debugger->clear_record();
  }
  void TearDown() override {
    call("OSA_Client_OsaCleanup", R"({"context": 7})");
    reset_message_sink();
    std::filesystem::remove(path);
    OsaLayerTest::TearDown();
    osa_set_plugin_registration(nullptr);
  }
  void answer(const std::string& expression, int number) {
    debugger->answer_value(expression, number);
  }
  static bool command(const std::string& line, int context = 7) {
    return call("OSA_Client_OsaCmd_Execute", execute(line, context)) == R"({ "return" : 0 })";
  }
  static std::string read_register(uint64_t task, int32_t reg) {
    return call("OSA_Client_TaskRegisterRead",
                "{\"context\": 7, \"taskId\": " + std::to_string(task) +
                    ", \"register\": " + std::to_string(reg) + "}");
  }
  std::vector<std::string> shown(int64_t type) const { return debugger->displayed(type); }
  static PluginState* state(uint64_t context = 7) {
    return context_find(osa_layer_state().contexts, context)->area.plugin_state;
  }

  std::filesystem::path path;
};

TEST_F(RegisterCommandsTest, NamesNewestFirstAndIdsNobodyNamed) {
  EXPECT_TRUE(command("mapregname 12 my reg"));
  EXPECT_TRUE(command("mapregname 12 r12"));
  EXPECT_TRUE(command("regname 12"));
  EXPECT_TRUE(command("regname 13"));
  EXPECT_EQ(shown(0), (std::vector<std::string>{"r12 my reg ", "r13 sp "}));
  EXPECT_FALSE(command("regname 999"));
  init_context(8); // no TargetInit: no table
  EXPECT_FALSE(command("regname 13", 8));
  call("OSA_Client_TargetInit", target(8, 14));
  int32_t unmapped = 0;
  while (kV850RegisterTable.entries[unmapped].id != kUnmappedRegisterId) {
    ++unmapped;
  }
  EXPECT_FALSE(command("regname " + std::to_string(unmapped), 8));
  EXPECT_EQ(shown(2), (std::vector<std::string>{
                          "Unrecognized register ID\n",
                          "You need to open the OSA Explorer at least once before calling this "
                          "command\n",
                          "Unrecognized register ID\n"}));
  call("OSA_Client_OsaCleanup", R"({"context": 8})");
}

TEST_F(RegisterCommandsTest, RefusedArguments) {
  const std::string usage = "Usage: mapregloc TASKID NAME TARNO_EXPR\n";
  const std::string one_line = "must be on one line";
  for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
           {"mapregname 5", "Register name not specified.  Usage: mapregname ID NAME\n"},
           {"mapregname 5 a\nb", one_line},
           {"mapregname 5 pc\r\n", one_line},
           {"mapregloc 1 sp x\ny", one_line},
           {"mapregloc2 0 sp a\rb", one_line},
           {"mapregloc 1 sp", usage},
           {"mapregloc2 0 sp  ", usage},
           {"mapregloc 1 " + std::string(2047, 'r') + " x", "Register name is too long\n"},
           {"mapregloc 9 sp x", "Bad task ID\n" + usage}}) {
    debugger->clear_record();
    EXPECT_FALSE(command(line)) << line.substr(0, 30);
    ASSERT_EQ(shown(2).size(), 1u) << line.substr(0, 30);
    EXPECT_NE(shown(2)[0].find(message), std::string::npos) << shown(2)[0];
  }
  EXPECT_TRUE(state()->register_names.empty());
  EXPECT_TRUE(user_register_locations(*state()).empty());
}

// The location semantics are the awareness tests'; here the commands' word rules: a quoted
// name, blanks before and inside the formula.
TEST_F(RegisterCommandsTest, LocationsMovedByCommandAreReadNext) {
  EXPECT_EQ(read_register(1, 13), value_result(0x1000));
  answer("CtxA.newsp", 0x2000);
  answer("CtxB.regs[3] + 4", 0x3000);
  EXPECT_TRUE(command("mapregloc 1 \"SP\" CtxA.newsp"));
  EXPECT_EQ(read_register(1, 13), value_result(0x2000));
  EXPECT_TRUE(command("mapregloc2 1   \"ip\"   CtxB.regs[3] + 4"));
  EXPECT_EQ(read_register(2, 12), value_result(0x3000));
}

// While a read of Task_A's SP waits for the debugger, the debugger sends another call.
struct NestedCase {
  const char* name;
  const char* method;
  std::string params;
  const char* during; // the request that lets it in
  std::string again;  // the answer to the next read of the same register
};
void PrintTo(const NestedCase& c, std::ostream* os) {
  *os << c.name;
}

class NestedReadTest : public RegisterCommandsTest,
                       public ::testing::WithParamInterface<NestedCase> {};

TEST_P(NestedReadTest, TheInterruptedReadEndsCleanly) {
  const NestedCase& c = GetParam();
  const bool live = std::string(c.during) == "OSA_Service_RegisterRead";
  if (live) {
    answer("Running", 1);
  }
  debugger->on(c.during, live ? "" : R"({"expression": "CtxA.sp"})")
      .result(live ? R"({"value": 4096, "return": 0})" : R"({"output": 4096, "return": 0})")
      .inject_request(ScriptedDebugger::client_request(c.method, c.params, 50));
  EXPECT_EQ(read_register(1, 13), value_result(0x1000));
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  const PluginState* s = state();
  const std::size_t slots =
      s->register_table ? static_cast<std::size_t>(s->register_table->count) : 0;
  for (const TaskContextRecord& record : s->task_records) {
    EXPECT_EQ(record.registers.size(), slots);
  }
  // Every one of these calls drops the caches, so the value read before it is not kept.
  EXPECT_TRUE(slots == 0 || s->task_records[0].registers.find(13) == nullptr);
  EXPECT_EQ(read_register(1, 13), c.again);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, NestedReadTest,
    ::testing::Values(NestedCase{"stop", "OSA_Client_TargetNotify",
                                 R"({"context": 7, "notice": 1})", "OSA_Service_ExpressionEval",
                                 value_result(0x1000)},
                      NestedCase{"same_cpu", "OSA_Client_TargetInit", target(7, 24),
                                 "OSA_Service_ExpressionEval", value_result(0x1000)},
                      NestedCase{"no_table", "OSA_Client_TargetInit", target(7, 45),
                                 "OSA_Service_ExpressionEval", R"({ "return" : 1 })"},
                      NestedCase{"no_table_live", "OSA_Client_TargetInit", target(7, 45),
                                 "OSA_Service_RegisterRead", R"({ "return" : 1 })"},
                      NestedCase{"name", "OSA_Client_OsaCmd_Execute", execute("mapregname 13 x"),
                                 "OSA_Service_ExpressionEval", R"({ "return" : 2 })"},
                      NestedCase{"location", "OSA_Client_OsaCmd_Execute",
                                 execute("mapregloc 1 r5 CtxA.r5"), "OSA_Service_ExpressionEval",
                                 value_result(0x1000)}),
    [](const ::testing::TestParamInfo<NestedCase>& info) { return std::string(info.param.name); });

} // namespace
