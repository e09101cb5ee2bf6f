// The plug-in's start-up through the OSA layer: TargetInit and the register tables, load_orti
// with its messages and the debugger's file search, the context life cycle and calls that
// nest inside a service request.
#include "osa_session_fixture.h"

#include "awareness/register_tables.h"
#include "orti/orti_load.h"

#include <filesystem>

namespace {

using StartupTest = OsaSessionTest;

TEST_F(StartupTest, TargetInitChoosesTheRegisterTableAndTheAddressMode) {
  struct Case {
    int major;
    int minor;
    int physical; // kernelInPhysicalAddress of the answer
    const RegisterIdTable* table;
  };
  const Case cases[] = {
      {24, 0, 0, &kArmRegisterTable},
      {16, 20, 0, &kPowerPcRegisterTable},
      {16, 21, 1, &kPowerPcRegisterTable},
      {14, 3, 1, &kV850RegisterTable},
      {17, 0, 1, &kSuperHRegisterTable},
      {45, 74, 0, nullptr},
      {45, 75, 1, nullptr},
      {-1, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SetUp();
    ASSERT_EQ(ret("OSA_Client_OsaInit"), 0);
    const std::string result =
        call("OSA_Client_TargetInit", "{\"majorCpuType\":" + std::to_string(c.major) +
                                          ",\"minorCpuType\":" + std::to_string(c.minor) +
                                          ",\"bigEndianTarget\":0,\"bigEndianHost\":0}");
    EXPECT_NE(result.find("\"kernelInPhysicalAddress\" : " + std::to_string(c.physical)),
              std::string::npos)
        << c.major << "/" << c.minor << ": " << result;
    ASSERT_NE(state(), nullptr);
    EXPECT_EQ(state()->register_table, c.table) << c.major;
    const bool warned =
        !messages(2).empty() && messages(2)[0].rfind("Unrecognized CPU Architecture.", 0) == 0;
    EXPECT_EQ(warned, c.table == nullptr) << c.major;
    TearDown();
  }
}

TEST_F(StartupTest, LoadAfterTargetInitGivesEveryTaskARegisterCache) {
  init();
  EXPECT_EQ(command("load_orti " + demo_os()), 0);
  ASSERT_EQ(state()->task_records.size(), 3u);
  for (const TaskContextRecord& r : state()->task_records) {
    EXPECT_EQ(r.registers.size(), static_cast<std::size_t>(kArmRegisterTable.count));
  }
  EXPECT_TRUE(messages(2).empty()) << "a good file loads silently at the default levels";
  EXPECT_EQ(state()->orti.tree.file_name.value_or(""), demo_os());
}

TEST_F(StartupTest, SecondLoadIsRefusedAndAFailedLoadMayBeRepeated) {
  init();
  // Reserved attribute names are reported and the parse goes on, so both are counted.
  const std::string bad =
      write_file("two_errors.ort", R"(VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION X { OS { CTYPE A; CTYPE _ITEM; CTYPE _OWNER; }; };
OS Os { A = "1"; };
)");
  EXPECT_EQ(command("load_orti " + bad), 1);
  const std::vector<std::string> shown = messages(2);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].rfind("Syntax Error: _ITEM is a reserved attribute name parsing (line 2):", 0),
            0u);
  EXPECT_EQ(shown[2], "2 errors encountered\n");
  EXPECT_EQ(state()->model, nullptr);
  EXPECT_EQ(command("load_orti " + demo_os()), 0);
  EXPECT_EQ(command("load_orti " + demo_os()), 1);
  EXPECT_EQ(messages(2).back(), "ORTI previously loaded.  load_orti can only be run once.\n");
  EXPECT_EQ(messages(4).back(), messages(2).back()) << "also copied to the log";
}

TEST_F(StartupTest, TheDebuggersFileSearchIsTheFallback) {
  init();
  debugger->on("OSA_Service_ConfigFileSearch", R"({"fileName": "elsewhere.ort"})")
      .result("{\"filePath\": " + json_to_text(*json_new_string(demo_os().c_str())) +
              ", \"return\": 0}");
  EXPECT_EQ(command("load_orti elsewhere.ort"), 0);
  EXPECT_EQ(state()->orti.tree.file_name.value_or(""), "elsewhere.ort")
      << "the file is known by the name the user gave";
  const auto searches = debugger->requests_of("OSA_Service_ConfigFileSearch");
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_EQ(
      searches[0]->params_text,
      R"({ "context" : 1, "fileName" : "elsewhere.ort", "permission" : 4, "onlySearchDistDir" : 0 })");
}

TEST_F(StartupTest, UnopenablePathsAreRefusedWithTheirMessage) {
  init();
  debugger->on("OSA_Service_ConfigFileSearch").result(R"({"return": 1})").always();
  struct Case {
    std::string argument;
    std::string message;
  };
  const std::string dir = ::testing::TempDir();
  const Case cases[] = {
      {"no%such.ort", "Could not open file no#such.ort: No such file or directory\n"},
      {"\"" + dir + "\"", "Could not open file " + dir + ": Is a directory\n"},
      {"", "Usage: load_orti [--extended_syntax] ORTI_FILE\n"},
      {"--extended_syntax", "Usage: load_orti [--extended_syntax] ORTI_FILE\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(command("load_orti " + c.argument), 1) << c.argument;
    ASSERT_FALSE(messages(2).empty());
    EXPECT_EQ(messages(2).back(), c.message);
  }
  EXPECT_EQ(state()->model, nullptr);
}

TEST_F(StartupTest, QuotedPathsAndTheExtendedSwitch) {
  init();
  // A bare C type is extended syntax: refused without the switch, accepted with it.
  const std::string path =
      write_file("with blank.ort", R"(VERSION { KOIL = "2.1"; OSSEMANTICS = "ORTI", "2.1"; };
IMPLEMENTATION Bare { OS { "unsigned char" RUNNINGTASK; }; };
OS O { RUNNINGTASK = "x"; };
)");
  EXPECT_EQ(command("load_orti \"" + path + "\""), 1);
  EXPECT_EQ(command("load_orti --EXTENDED_SYNTAX \"" + path + "\""), 0);
  EXPECT_EQ(state()->orti.extended_syntax, 1);
}

// A file in an OS generator's dialect, through the debugger: the strict load shows the
// grammar's error and then the hint at the default levels; the load the hint names succeeds
// without showing anything.
TEST_F(StartupTest, AStrictFailureOnAGeneratorsConstructEndsWithTheHint) {
  init();
  const std::string path = std::string(OSA_TEST_DATA_DIR) + "/orti/dialect/array_koil22.ort";
  EXPECT_EQ(command("load_orti " + path), 1);
  const std::vector<std::string> shown = messages(2);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "syntax error parsing (line 8):\n[\n");
  EXPECT_EQ(shown[1], "1 errors encountered\n");
  EXPECT_EQ(shown[2], kOrtiDialectHint);
  EXPECT_EQ(command("load_orti --extended_syntax " + path), 0);
  EXPECT_EQ(messages(2).size(), shown.size());
  ASSERT_NE(state()->model, nullptr);
  EXPECT_EQ(attribute_element_count(*state()->model->os.standard[kOsRunningTask]), 2);
}

TEST_F(StartupTest, TargetNotifyAndTargetInitDropTheCaches) {
  EXPECT_EQ(ret("OSA_Client_OsaInit"), 0);
  EXPECT_EQ(ret("OSA_Client_TargetNotify", R"({"notice":1})"), 1) << "no target data yet";
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  const uint64_t generation = state()->generation;
  EXPECT_EQ(ret("OSA_Client_TargetNotify", R"({"notice":1})"), 0);
  EXPECT_EQ(state()->generation, generation + 1);
  EXPECT_EQ(ret("OSA_Client_TargetCleanup"), 0);
  EXPECT_EQ(ret("OSA_Client_TargetNotify", R"({"notice":1})"), 1);
  EXPECT_NE(state(), nullptr) << "the state outlives the target";
  init();
  EXPECT_GT(state()->generation, generation + 1) << "the target may have been reloaded";
  EXPECT_NE(state()->model, nullptr);
}

TEST_F(StartupTest, CleanupEndsTheStateAndANewContextLoadsAgain) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  EXPECT_EQ(ret("OSA_Client_OsaCleanup"), 0);
  EXPECT_EQ(record(), nullptr);
  init();
  EXPECT_EQ(state()->model, nullptr);
  EXPECT_EQ(command("load_orti " + demo_os()), 0);
}

TEST_F(StartupTest, CleanupNestedInAServiceRequestRetiresTheStateUntilTheCallEnds) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  ASSERT_EQ(ret("OSA_Client_ObjectListInit", R"({"objTypeId":1})"), 0);
  debugger->on("OSA_Service_ExpressionEval", R"({"expression": "OsTaskPrio[0]"})")
      .result(R"({"output": 7, "return": 0})")
      .inject_request(
          ScriptedDebugger::client_request("OSA_Client_OsaCleanup", R"({"context":1})", 900));
  EXPECT_EQ(
      call("OSA_Client_ObjectListAttribute", R"({"objTypeId":1,"objAtrId":3,"valueType":11})"),
      R"({ "objAtrValue" : 7, "return" : 0 })");
  EXPECT_EQ(plugin_states_retired(), 0u) << "destroyed when the outer call returned";
  EXPECT_EQ(record(), nullptr);
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  EXPECT_NE(debugger->injected_responses()[0].find("\"return\" : 0"), std::string::npos);
}

TEST_F(StartupTest, ALoadNestedInALoadIsRefused) {
  init();
  debugger->on("OSA_Service_ConfigFileSearch")
      .result("{\"filePath\": " + json_to_text(*json_new_string(demo_os().c_str())) +
              ", \"return\": 0}")
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_OsaCmd_Execute", "{\"context\":1,\"command\":\"load_orti x.ort\"}", 901));
  EXPECT_EQ(command("load_orti elsewhere.ort"), 0);
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  EXPECT_NE(debugger->injected_responses()[0].find("\"return\" : 1"), std::string::npos);
  EXPECT_EQ(messages(2).back(), "load_orti is already running; the second load_orti is refused.\n");
}

TEST_F(StartupTest, EachDisplayOfAMessageShowsItsOwnTextWhenACallNestsInBetween) {
  init();
  // The user copy of the first message waits for the debugger, which meanwhile has the plug-in
  // print another message; the log copy must still be the first message's text.
  debugger->on("OSA_Service_ConfigFileSearch").result(R"({"return": 1})").always();
  debugger->on("OSA_Service_MessageDisplay", R"({"messageType": 2})")
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_OsaCmd_Execute",
          "{\"context\":1,\"command\":\"set suppress_context_errors\"}", 902));
  EXPECT_EQ(command("load_orti first.ort"), 1);
  const std::vector<std::string> log = messages(4);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Suppressing errors for missing task context information\n");
  EXPECT_EQ(log[1], "Could not open file first.ort: No such file or directory\n");
}

} // namespace
