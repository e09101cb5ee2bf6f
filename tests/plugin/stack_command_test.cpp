// stackusage: its table for users, its records for hosts, its refusals, and a stop that
// arrives while a stack is read.
#include "command_fixture.h"
#include "osa_session_fixture.h"

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { CTYPE vs_X; };
  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; CTYPE FILLPATTERN; };
};
OS Os { vs_X = "0"; };
STACK Stack_Main { SIZE = "64"; BASEADDRESS = "0x1000"; STACKDIRECTION = "DOWN";
                   FILLPATTERN = "0xAAAAAAAA"; };
STACK Stack_Isr { SIZE = "16"; BASEADDRESS = "0x2000"; STACKDIRECTION = "UP";
                  FILLPATTERN = "0xCC"; };
STACK Stack_Lost { SIZE = "Gone"; BASEADDRESS = "0x3000"; STACKDIRECTION = "DOWN";
                   FILLPATTERN = "0xCC"; };
)ORTI";

class StackCommandTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    load(kFile);
    answer("64", 64);
    answer("16", 16);
    answer("0x1000", 0x1000);
    answer("0x2000", 0x2000);
    answer("0x3000", 0x3000);
    answer("0xAAAAAAAA", 0xAAAAAAAA);
    answer("0xCC", 0xCC);
    refuse("Gone");
    // Stack_Main: 48 of 64 bytes untouched at its low end; Stack_Isr: its top byte touched.
    std::vector<uint8_t> main(64, 0xAA);
    std::fill(main.begin() + 48, main.end(), 0x11);
    debugger->answer_memory(0x1000, main);
    std::vector<uint8_t> isr(16, 0xCC);
    isr[15] = 0;
    debugger->answer_memory(0x2000, isr);
  }
};

TEST_F(StackCommandTest, TheTableHasAColumnPerValueAndANoteForEveryStackNotMeasured) {
  ASSERT_EQ(run("stackusage"), 0);
  EXPECT_EQ(messages(0),
            (std::vector<std::string>{
                "STACK       SIZE  BASE    DIR   PATTERN     USED  FREE  USE%  NOTE\n",
                "Stack_Main    64  0x1000  DOWN  0xaaaaaaaa    16    48   25%\n",
                "Stack_Isr     16  0x2000  UP    0xcc          16     0  100%  the word "
                "at the far end (0x200f) no longer holds the fill pattern: the stack "
                "has probably overflowed\n",
                "Stack_Lost     -  0x3000  DOWN  0xcc           -     -     -  SIZE "
                "could not be evaluated: Gone\n"}));
}

TEST_F(StackCommandTest, RecordsGiveHostsEveryValueWithEmptyFieldsForWhatIsUnknown) {
  ASSERT_EQ(run("stackusage --records"), 0);
  const std::vector<std::string> records = messages(0);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], "stack\tStack_Main\tok\t64\t0x1000\tDOWN\t0xaaaaaaaa\t16\t48\t25\t\n");
  EXPECT_EQ(records[1].rfind("stack\tStack_Isr\toverflow\t16\t0x2000\tUP\t0xcc\t16\t0\t100\tthe "
                             "word at the far end",
                             0),
            0u)
      << records[1];
  EXPECT_EQ(records[2],
            "stack\tStack_Lost\tunmeasured\t\t0x3000\tDOWN\t0xcc\t\t\t\tSIZE could not be "
            "evaluated: Gone\n");
}

struct Refusal {
  const char* line;
  int32_t status;
  std::size_t output_lines;
  const char* user_message; // the type-2 message, or null
};

// Invariant: a refused command shows one line of type 2 and nothing else; an accepted one
// shows only its table or records.
const Refusal kRefusals[] = {
    {"stackusage --records Stack_Main", 0, 1, nullptr},
    {"stackusage stack_main", 1, 0, "stackusage: no STACK object is named stack_main\n"},
    {"stackusage Stack_Main Stack_Isr", 1, 0, "usage: stackusage [--records] [NAME]\n"},
};

TEST_F(StackCommandTest, ANameThatIsNoStackOrAnExtraWordIsRefused) {
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.line);
    debugger->clear_record();
    EXPECT_EQ(run(r.line), r.status);
    EXPECT_EQ(messages(0).size(), r.output_lines);
    EXPECT_EQ(messages(2), r.user_message != nullptr ? std::vector<std::string>{r.user_message}
                                                     : std::vector<std::string>{});
  }
}

// A stop that arrives while a stack is read leaves memory read before and after it: the row
// says so instead of giving a mark that never was.
TEST_F(OsaSessionTest, AStopWhileAStackIsReadLeavesItUnmeasured) {
  init();
  ASSERT_EQ(command("load_orti " + write_file("stacks.ort", kFile)), 0);
  answer("64", 64);
  answer("0x1000", 0x1000);
  answer("0xAAAAAAAA", 0xAAAAAAAA);
  debugger->on("OSA_Service_MemoryRead")
      .result("{\"value\": \"" + std::string(128, 'a') + "\", \"return\": 0}")
      .inject_request(ScriptedDebugger::client_request("OSA_Client_TargetNotify",
                                                       R"({"context":1,"notice":1})", 90));
  ASSERT_EQ(command("stackusage --records Stack_Main"), 0);
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  EXPECT_EQ(messages(0),
            std::vector<std::string>{
                "stack\tStack_Main\tunmeasured\t64\t0x1000\tDOWN\t0xaaaaaaaa\t\t\t\tthe "
                "target changed while the stack was read; run the command again\n"});
}

} // namespace
