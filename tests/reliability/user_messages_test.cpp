// What the user reads when things go wrong, read once the way the user sees it (the
// messageType 2 texts of the debugger's message display at the default levels): each must say
// what is wrong and where, and nothing else may be shown.
#include "plugin/osa_session_fixture.h"

#include <string>

namespace {

using UserMessages = OsaSessionTest;

TEST_F(UserMessages, AMissingOrtiFileNamesTheFileAndTheReason) {
  init();
  debugger->on("OSA_Service_ConfigFileSearch").result(R"({"return": 1})").always();
  EXPECT_EQ(command("load_orti /nowhere/app.ort"), 1);
  EXPECT_EQ(messages(2), std::vector<std::string>{
                             "Could not open file /nowhere/app.ort: No such file or directory\n"});
}

TEST_F(UserMessages, AnErrorOnLine40NamesTheLineAndTheTokenAndCountsTheErrors) {
  init();
  std::string text = "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n"
                     "IMPLEMENTATION X {\n  OS {\n";
  for (int line = 4; line < 40; ++line) {
    text += "    CTYPE A" + std::to_string(line) + ";\n";
  }
  text += "    CTYPE B40 = 3;\n  };\n};\nOS Os { A4 = \"1\"; };\n"; // line 40: a stray "="
  EXPECT_EQ(command("load_orti " + write_file("line40.ort", text)), 1);
  EXPECT_EQ(messages(2), (std::vector<std::string>{"syntax error parsing (line 40):\n=\n",
                                                   "1 errors encountered\n"}));
}

TEST_F(UserMessages, ACorruptListInTargetMemorySaysWhyTheWalkStopped) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  // Every node of the time point list exists, whatever its address: the list never ends.
  debugger->on("OSA_Service_ExpressionEval").result(R"({"output": 1, "return": 0})").always();
  debugger->on("OSA_Service_StringEval").result(R"({"value": "tp", "return": 0})").always();
  int64_t status = ret("OSA_Client_ObjectListInit", R"({"objTypeId":102})");
  int steps = 0;
  while (status == 0 && steps < 100000) {
    status = ret("OSA_Client_ObjectListNext", R"({"objTypeId":102})");
    ++steps;
  }
  EXPECT_NE(status, 0);
  ASSERT_FALSE(messages(2).empty());
  const std::string last = messages(2).back();
  // The node text grows with every element; either bound ends the walk, and the user learns
  // which list it was.
  EXPECT_NE(last.find("list TimePoints"), std::string::npos) << last;
  EXPECT_NE(last.find("corrupt or cyclic"), std::string::npos) << last;
}

TEST_F(UserMessages, ASavedRegisterThatCannotBeReadNamesItsFormula) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  answer("OsRunningTask", 2);  // Task_Cyclic runs
  answer("&OsCtx[0]", 0x2000); // Task_Init's context label
  answer("OsCtx[0].valid", 1);
  debugger->on("OSA_Service_ExpressionEval", R"({"expression": "OsCtx[0].pc"})")
      .result(R"({"return": 1})")
      .always();
  EXPECT_EQ(ret("OSA_Client_TaskRegisterRead", R"({"taskId":1,"register":15})"), 1);
  EXPECT_EQ(messages(2),
            std::vector<std::string>{"Could not evaluate CTYPE expression: OsCtx[0].pc\n"});
}

} // namespace
