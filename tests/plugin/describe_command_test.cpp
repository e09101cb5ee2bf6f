// describe: the model's kinds and attributes as records for hosts.
#include "command_fixture.h"

#include <string>
#include <vector>

namespace {

// Two tasks that agree on PRIORITY but not on what their first custom attribute is, a
// description with a tab and one with a line break, a standard attribute only one task has,
// and a vendor kind.
const char kFile[] =
    "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n"
    "IMPLEMENTATION T {\n"
    "  OS { ENUM [ \"NO_TASK\" = 0 ] RUNNINGTASK, \"Running\ttask\"; STRING vs_VERSION; },\n"
    "    \"Operating system\";\n"
    "  TASK { CTYPE PRIORITY, \"Priority\"; ENUM [ \"S\" = 0 ] STATE; CTYPE vs_A, \"A\";\n"
    "    CTYPE vs_B, \"B\"; }, \"Tasks\";\n"
    "  vs_QUEUE { CTYPE vs_LENGTH, \"Queued\nelements\"; STRING vs_NAME; }, \"Message queues\";\n"
    "};\n"
    "OS Os { RUNNINGTASK = \"Running\"; vs_VERSION = \"v1\"; };\n"
    "TASK Task_A { PRIORITY = \"PA\"; STATE = \"SA\"; vs_A = \"a\"; vs_B = \"b\"; };\n"
    "TASK Task_B { PRIORITY = \"PB\"; vs_B = \"b\"; };\n"
    "vs_QUEUE Q1 { vs_LENGTH = \"l1\"; vs_NAME = \"n1\"; };\n";

using Records = std::vector<std::string>;

const Records kOs = {"kind\t0\tOS\t1\tOperating system\n",
                     "attr\t0\t*\t3\tRUNNINGTASK\tENUM\t1\tRunning task\n",
                     "attr\t0\t*\t100\tvs_VERSION\tSTRING\t1\t\n"};
const Records kTask = {"kind\t1\tTASK\t2\tTasks\n",
                       "attr\t1\t*\t3\tPRIORITY\tCTYPE\t1\tPriority\n",
                       "attr\t1\t*\t4\tSTATE\tENUM\t1\t\n",
                       "attr\t1\t0\t100\tvs_A\tCTYPE\t1\tA\n",
                       "attr\t1\t1\t100\tvs_B\tCTYPE\t1\tB\n",
                       "attr\t1\t*\t101\tvs_B\tCTYPE\t1\tB\n"};
const Records kEmptyKinds = {"kind\t2\tCONTEXT\t0\t\n", "kind\t3\tSTACK\t0\t\n",
                             "kind\t4\tALARM\t0\t\n", "kind\t5\tRESOURCE\t0\t\n",
                             "kind\t6\tMESSAGECONTAINER\t0\t\n"};
const Records kQueue = {"kind\t100\tvs_QUEUE\t1\tMessage queues\n",
                        "attr\t100\t*\t100\tvs_LENGTH\tCTYPE\t1\tQueued elements\n",
                        "attr\t100\t*\t101\tvs_NAME\tSTRING\t1\t\n"};

Records joined(std::initializer_list<Records> parts) {
  Records all;
  for (const Records& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

using DescribeTest = CommandTest;

// Invariant: describe answers exactly the records of the kinds its argument names, one message
// each, asking the debugger nothing; an argument that names no kind gets one line and status 1.
TEST_F(DescribeTest, RecordsOfTheNamedKinds) {
  load(kFile);
  struct Case {
    const char* argument;
    Records records; // empty: refused
  };
  const Case cases[] = {
      {"", joined({kOs, kTask, kEmptyKinds, kQueue})},
      {"task", kTask},
      {" 1 ", kTask},
      {"VS_QUEUE", kQueue},
      {"100", kQueue},
      {"CONTEXT", {"kind\t2\tCONTEXT\t0\t\n"}},
      {"7", {}},
      {"101", {}},
      {"-1", {}},
      {"TASK 1", {}},
      {"vs_NOTHING", {}},
  };
  for (const Case& c : cases) {
    debugger->clear_record();
    const int32_t status = run(std::string("describe ") + c.argument);
    EXPECT_EQ(debugger->requests().size(), displays()) << c.argument;
    if (c.records.empty()) {
      EXPECT_EQ(status, 1) << c.argument;
      EXPECT_TRUE(messages(0).empty()) << c.argument;
      ASSERT_EQ(messages(2).size(), 1u) << c.argument;
      EXPECT_EQ(messages(2)[0].rfind("describe: no object kind ", 0), 0u) << messages(2)[0];
      continue;
    }
    EXPECT_EQ(status, 0) << c.argument;
    EXPECT_EQ(messages(0), c.records) << c.argument;
  }
}

TEST_F(DescribeTest, WithoutAModelItRefuses) {
  EXPECT_EQ(run("describe"), 1);
  EXPECT_EQ(messages(2), Records{"describe: no ORTI file is loaded\n"});
}

} // namespace
