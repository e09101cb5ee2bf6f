// Opening programs, writing attributes through assignments, and the formulas that cannot be
// evaluated: each fails with a message that names the formula and the reason, and hostile
// input costs bounded work.
#include "eval_test_support.h"

#include <string>
#include <vector>

namespace rsp_eval_test {
namespace {

TEST(EvalOpenProgram, FilesThatAreNoProgramWithDebugInformationAreRefused) {
  std::string error;
  EXPECT_EQ(open_program_symbols("/nonexistent/app.elf", error), nullptr);
  EXPECT_NE(error.find("/nonexistent/app.elf"), std::string::npos) << error;

  const std::string source = std::string(RSP_EVAL_SOURCE_DIR) + "/eval_program.c";
  error.clear();
  EXPECT_EQ(open_program_symbols(source, error), nullptr);
  EXPECT_NE(error.find("not an ELF file"), std::string::npos) << error;

  if (!program_exists("eval_nodebug")) {
    GTEST_SKIP() << "the test program was not built";
  }
  error.clear();
  EXPECT_EQ(open_program_symbols(program_path("eval_nodebug"), error), nullptr);
  EXPECT_NE(error.find("no debug information"), std::string::npos) << error;
}

class EvalProgram : public ProgramTest {};

TEST_P(EvalProgram, DescribesTheTarget) {
  EXPECT_EQ(program_is_big_endian(*symbols_), build_ == std::string("eval_be"));
  EXPECT_EQ(program_address_size(*symbols_), 4);
}

// The bytes of the image that differ between two snapshots.
std::vector<uint64_t> changed_addresses(const ElfImageMemory& before, const ElfImageMemory& after) {
  std::vector<uint64_t> out;
  for (std::size_t r = 0; r < before.regions().size(); ++r) {
    const auto& a = before.regions()[r];
    const auto& b = after.regions()[r];
    for (std::size_t i = 0; i < a.bytes.size(); ++i) {
      if (a.bytes[i] != b.bytes[i]) {
        out.push_back(a.address + i);
      }
    }
  }
  return out;
}

struct AssignCase {
  const char* assignment; // as the plug-in writes an attribute: "(LVALUE)=VALUE"
  const char* lvalue;
  int64_t result;        // the value assigned, in the object's type
  const char* object;    // the object written: no byte outside it may change
  const char* neighbour; // a member beside it that keeps its value
};

// One invariant: the assignment gives its result, reading the lvalue again gives it too,
// and no byte outside the object changes.
const AssignCase kAssignments[] = {
    {"(c_int)=7", "c_int", 7, "c_int", "c_uint"},
    {"(Tasks[0].state)=300", "Tasks[0].state", 44, "Tasks[0].state", "Tasks[0].prio"},
    {"(Tasks[1].delta)=65535", "Tasks[1].delta", -1, "Tasks[1].delta", "Tasks[1].prio"},
    {"(Tasks[1].sp)=0", "Tasks[1].sp", 0, "Tasks[1].sp", "Tasks[1].name"},
    {"(c_float)=1.5", "c_float", 1, "c_float", "c_double"},
    {"(c_bool)=5", "c_bool", 1, "c_bool", "c_task"},
    {"(c_ullong)=-2", "c_ullong", -2, "c_ullong", "c_llong"},
    {"(c_word)=0x1234567890", "c_word", 0x34567890, "c_word", "c_task"},
    {"(*IntPtr)=-9", "c_int", -9, "c_int", "c_uint"},
    {"(TaskTable[1].prio)=77", "Tasks[0].prio", 77, "Tasks[0].prio", "Tasks[0].state"},
    {"(Cell.b[1])=0xAB", "Cell.b[1]", 0xAB, "Cell.b[1]", "Cell.b[2]"},
    // Bit-fields: the value cut to the field's width, the neighbours' bits kept.
    {"(Bits.mid)=-1", "Bits.mid", -1, "Bits", "Bits.low"},
    {"(Bits.low)=13", "Bits.low", 5, "Bits", "Bits.mid"},
    {"(Bits.wide)=-1", "Bits.wide", 1048575, "Bits", "Bits.byte"},
    {"(Bits.neg)=5", "Bits.neg", 5, "Bits", "Bits.hue"},
    {"(Bits.hue)=BLUE", "Bits.hue", 6, "Bits", "Bits.neg"},
    {"(Bits.flag)=0", "Bits.flag", 0, "Bits", "Bits.hue"},
    {"c_int += 3", "c_int", -99997, "c_int", "c_uint"},
};

TEST_P(EvalProgram, AssignmentsWriteOnlyTheirObject) {
  for (const AssignCase& c : kAssignments) {
    std::string error;
    auto before = ElfImageMemory::open(program_path(build_), error);
    ASSERT_NE(before, nullptr) << error;
    memory_ = ElfImageMemory::open(program_path(build_), error);
    const int64_t original = value(c.lvalue);
    const int64_t neighbour = value(c.neighbour);
    const auto first = static_cast<uint64_t>(value(std::string("(unsigned int)&") + c.object));
    const auto size = static_cast<uint64_t>(value(std::string("sizeof ") + c.object));

    const EvalOutcome out = eval(c.assignment);
    ASSERT_TRUE(out.ok) << c.assignment << ": " << out.error;
    EXPECT_EQ(out.value, c.result) << c.assignment;
    EXPECT_EQ(value(c.lvalue), c.result) << c.assignment;
    EXPECT_EQ(value(c.neighbour), neighbour) << c.assignment;
    const std::vector<uint64_t> changed = changed_addresses(*before, *memory_);
    EXPECT_EQ(changed.empty(), original == c.result) << c.assignment;
    for (uint64_t a : changed) {
      EXPECT_TRUE(a >= first && a < first + size)
          << c.assignment << " changed 0x" << std::hex << a << " outside " << c.object;
    }
  }
}

// Memory that refuses every write, as a target may.
class ReadOnlyMemory : public TargetMemory {
public:
  explicit ReadOnlyMemory(TargetMemory& inner) : inner_(inner) {}
  bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) override {
    return inner_.read(address, len, out, error);
  }
  bool write(uint64_t, const uint8_t*, std::size_t, std::string& error) override {
    error = "flash is read-only";
    return false;
  }

private:
  TargetMemory& inner_;
};

TEST_P(EvalProgram, AFailedWriteIsReportedAndChangesNothing) {
  ReadOnlyMemory read_only(*memory_);
  const EvalOutcome out = evaluate_expression(*symbols_, "(c_int)=7", read_only);
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error.find("cannot write 4 bytes at 0x"), std::string::npos) << out.error;
  EXPECT_NE(out.error.find("flash is read-only"), std::string::npos) << out.error;
  EXPECT_EQ(value("c_int"), -100000);
}

struct FailureCase {
  std::string expression;
  const char* reason; // a part of the reason the message must give
};

std::string nested(int levels) {
  return std::string(static_cast<std::size_t>(levels), '(') + "1" +
         std::string(static_cast<std::size_t>(levels), ')');
}

std::string chain(int terms) {
  std::string s = "1";
  for (int i = 1; i < terms; ++i) {
    s += "+1";
  }
  return s;
}

// One invariant: the formula fails, and the message is "cannot evaluate "<formula>": "
// followed by the reason.
const FailureCase kFailures[] = {
    {"nosuch", "no symbol \"nosuch\" in the program"},
    {"Tasks[0].nosuch", "struct tcb has no member \"nosuch\""},
    {"Current->nosuch", "struct tcb has no member \"nosuch\""},
    {"NullTask->prio", "cannot read 1 byte at 0x11"},
    {"stack_a[-1]", "cannot read 4 bytes at 0x"},
    {"*(unsigned int *)0xFFFFFFF0", "cannot read 4 bytes at 0xfffffff0"},
    {"1 / 0", "division by zero"},
    {"c_int % (c_bool - 1)", "division by zero"},
    {"1 +", "syntax error at the end"},
    {"1 2", "syntax error near \"2\""},
    {"(1", "syntax error"},
    {"Tasks", "struct tcb [3] is not a number"},
    {"Tasks[0]", "struct tcb is not a number"},
    {"task_a", "void (void) is not a number"},
    {"c_double / 0", "infinity"},
    {"*VoidPtr", "void"},
    {"c_int.x", "\".\" needs a struct or union"},
    {"c_int->x", "\"->\" needs a pointer to a struct or union"},
    {"c_int[0]", "cannot subscript"},
    {"Tasks[0].sp * 2", "cannot combine"},
    {"Tasks[0] == Tasks[1]", "cannot combine"},
    {"Current - VoidPtr", "different sizes"},
    {"!Tasks[0]", "condition"},
    {"(Tcb)0", "invalid cast"},
    {"(struct nosuch *)0", "no struct type named nosuch"},
    {"&1", "not in memory"},
    {"(1)=2", "not an object in memory"},
    {"TaskType", "is a type"},
    {"(int int)1", "type specifiers"},
    {"08", "invalid number"},
    {"99999999999999999999", "too large"},
    {"'ab'", "character constant"},
    {"add(1, 2)", "calling functions"},
    {"c_int++", "increment"},
    {"$pc", "registers"},
    {"\"abc\"[9]", "outside the array"},
    {"Elsewhere.x", "\".\" needs a struct or union"},
    {"_edata + 1", "without debug information"},
    // Hostile input: bounded nesting and length, refused before any work.
    {nested(150), "nests deeper than"},
    {chain(1000), "levels of operators"},
    {std::string(70000, ' ') + "1", "longer than"},
    {std::string(300, '!') + "1", "nests deeper than"},
};

TEST_P(EvalProgram, FormulasThatCannotBeEvaluatedSayWhy) {
  for (const FailureCase& c : kFailures) {
    const EvalOutcome out = eval(c.expression);
    const std::string quoted = c.expression.substr(0, 40);
    EXPECT_FALSE(out.ok) << quoted;
    EXPECT_EQ(out.error.rfind("cannot evaluate \"" + c.expression.substr(0, 200), 0), 0u)
        << quoted << ": " << out.error;
    EXPECT_NE(out.error.find(c.reason), std::string::npos) << quoted << ": " << out.error;
  }
}

// Nesting within the limits still works: the limits refuse only what formulas never need.
TEST_P(EvalProgram, DeepButReasonableFormulasEvaluate) {
  EXPECT_EQ(value(nested(90)), 1);
  EXPECT_EQ(value(chain(300)), 300);
  EXPECT_EQ(value("- - - - - - - - -1"), -1);
}

INSTANTIATE_TEST_SUITE_P(Arm, EvalProgram, testing::ValuesIn(kBuilds), build_name);

} // namespace
} // namespace rsp_eval_test
