// The commands on per-core models: describe's ELEMENTS, expr on the OS of each core, and a
// formula replaced for one element of an array.
#include "command_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kArrays[] = R"ORTI(
VERSION { KOIL = "2.3"; OSSEMANTICS = "ORTI", "2.3"; };
IMPLEMENTATION Smp {
  OS { ENUM [ "NO_TASK" = 0, "T1" = 1, "T2" = 2 ] RUNNINGTASK[], "Running"; CTYPE vs_TICKS[];
       CTYPE vs_MODE; };
  TASK { CTYPE PRIORITY; CTYPE vs_LOAD[]; };
};
OS Os { RUNNINGTASK[0] = "Run[0]"; RUNNINGTASK[1] = "Run[1]"; vs_TICKS[0] = "Ticks";
        vs_MODE = "Mode"; };
TASK T1 { PRIORITY = "1"; vs_LOAD[0] = "L1[0]"; vs_LOAD[1] = "L1[1]"; vs_LOAD[2] = "L1[2]"; };
TASK T2 { PRIORITY = "2"; vs_LOAD[0] = "L2"; };
)ORTI";

const char kOsPerCore[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION PerCore { OS { ENUM [ "NO_TASK" = 0, "T1" = 1 ] RUNNINGTASK; };
                         TASK { CTYPE PRIORITY; }; };
OS Core0_app { RUNNINGTASK = "Core0.running"; };
OS Core1_app { RUNNINGTASK = "Core1.running"; };
OS Core2_app { RUNNINGTASK = "Core2.running"; };
TASK T1 { PRIORITY = "1"; };
)ORTI";

class PerCoreCommandsTest : public CommandTest {
protected:
  void load_extended(const char* text) {
    OrtiLoadSink sink;
    ASSERT_EQ(orti_load_text(text, "test.ort", 1, sink, state.orti), OrtiLoadStatus::Loaded);
    attach_model(state, state.orti.model.get());
  }
};

TEST_F(PerCoreCommandsTest, DescribeCountsTheElementsOfEachAttribute) {
  load(kArrays);
  ASSERT_EQ(run("describe"), 0);
  const std::vector<std::string> records = messages(0);
  for (const char* record :
       {"attr\t0\t*\t3\tRUNNINGTASK\tENUM\t2\tRunning\n", "attr\t0\t*\t100\tvs_TICKS\tCTYPE\t1\t\n",
        "attr\t0\t*\t101\tvs_MODE\tCTYPE\t1\t\n", "attr\t1\t*\t3\tPRIORITY\tCTYPE\t1\t\n",
        // Objects that differ in their elements are described one by one.
        "attr\t1\t0\t100\tvs_LOAD\tCTYPE\t3\t\n", "attr\t1\t1\t100\tvs_LOAD\tCTYPE\t1\t\n"}) {
    EXPECT_NE(std::find(records.begin(), records.end(), record), records.end()) << record;
  }
}

TEST_F(PerCoreCommandsTest, DescribeCountsOneElementPerOsObject) {
  load_extended(kOsPerCore);
  ASSERT_EQ(run("describe OS"), 0);
  EXPECT_EQ(messages(0), (std::vector<std::string>{"kind\t0\tOS\t1\t\n",
                                                   "attr\t0\t*\t3\tRUNNINGTASK\tENUM\t3\t\n"}));
}

// Invariant: expr shows the value and the formula of the element that serves the core it reads
// for: the call's core, or for an OS object named by its name, the core that object serves.
TEST_F(PerCoreCommandsTest, ExprReadsForTheCoreOfTheCallOrOfTheNamedOsObject) {
  load_extended(kOsPerCore);
  answer("Core0.running", 1);
  answer("Core1.running", 0);
  answer("Core2.running", 1);
  struct Case {
    uint64_t call_core;
    const char* command;
    const char* shown;
  };
  const Case cases[] = {
      {kNoCore, "expr Core1_app.RUNNINGTASK",
       "ENUM RUNNINGTASK [none]<none> = \"Core1.running\" := NO_TASK"},
      {0, "expr Core2_app.RUNNINGTASK", "ENUM RUNNINGTASK [none]<none> = \"Core2.running\" := T1"},
      {2, "expr Core0_app.RUNNINGTASK", "ENUM RUNNINGTASK [none]<none> = \"Core0.running\" := T1"},
  };
  for (const Case& c : cases) {
    debugger->clear_record();
    ctx.hostCoreId = c.call_core;
    EXPECT_EQ(run(c.command), 0) << c.command;
    EXPECT_EQ(messages(0), std::vector<std::string>{c.shown}) << c.command;
  }
}

TEST_F(PerCoreCommandsTest, AReplacedFormulaChangesOnlyTheElementOfTheCallsCore) {
  load(kArrays);
  answer("Run[0]", 1);
  answer("Other[1]", 2);
  ctx.hostCoreId = 1;
  ASSERT_EQ(run("expr Os.RUNNINGTASK = \"Other[1]\""), 0);
  EXPECT_EQ(messages(0).back(), "ENUM RUNNINGTASK [Running]<none> = \"Other[1]\" := T2");
  ctx.hostCoreId = 0;
  ASSERT_EQ(run("expr Os.RUNNINGTASK"), 0);
  EXPECT_EQ(messages(0).back(), "ENUM RUNNINGTASK [Running]<none> = \"Run[0]\" := T1");
  // A core beyond the array gets no element of its own.
  ctx.hostCoreId = 2;
  debugger->clear_record();
  EXPECT_EQ(run("expr Os.RUNNINGTASK = \"X\""), 0);
  EXPECT_TRUE(messages(0).empty());
  EXPECT_EQ(messages(2).front(), "Attribute RUNNINGTASK has no element for core 2 (it has 2)\n");
  EXPECT_EQ(asked("X"), 0u);
}

} // namespace
