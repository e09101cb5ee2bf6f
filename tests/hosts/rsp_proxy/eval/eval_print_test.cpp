// Texts of "print /n" formulas: the C string behind a char pointer or in a char array, and
// GDB's rendering of every other value. Expected texts are GDB's on the same program.
#include "eval_test_support.h"

#include <cstring>

namespace rsp_eval_test {
namespace {

struct TextCase {
  const char* expression;
  const char* little; // "%x(E)" stands for the hexadecimal value of E (an address)
  const char* big;    // null: as little
};

// One invariant: print_expression gives the case's text for the build's byte order.
const TextCase kTexts[] = {
    // Strings: through a pointer, from an array, cut at the NUL.
    {"Greeting", "hello", nullptr},
    {"Tasks[0].name", "alpha", nullptr},
    {"TaskTable[0]->name", "gamma", nullptr},
    {"Version", "eval 1.0", nullptr},
    {"Version + 5", "1.0", nullptr},
    {"Empty", "", nullptr},
    {"\"abc\"", "abc", nullptr},
    // Bytes that are not UTF-8 become U+FFFD, as the host decodes them.
    {"Tasks[1].bytes", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", nullptr},
    // Numbers, characters, booleans, floating values.
    {"c_int", "-100000", nullptr},
    {"c_uint", "4000000000", nullptr},
    {"c_ullong", "18364758544493064720", nullptr},
    {"c_char", "65 'A'", nullptr},
    {"c_schar", "-5 '\\373'", nullptr},
    {"c_task", "4 '\\004'", nullptr},
    {"'\\n'", "10 '\\n'", nullptr},
    {"'\\''", "39 '\\''", nullptr},
    {"'\\\\'", "92 '\\\\'", nullptr},
    {"(char)27", "27 '\\033'", nullptr},
    {"c_bool", "true", nullptr},
    {"(_Bool)0", "false", nullptr},
    {"c_float", "2.75", nullptr},
    {"c_double", "-1234.5", nullptr},
    {"(float)1/3", "0.333333343", nullptr},
    {"(double)1/3", "0.33333333333333331", nullptr},
    {"c_double / 0", "-inf", nullptr},
    {"(void)0", "void", nullptr},
    // Enums: the enumerator, flags decomposed, the number otherwise.
    {"c_colour", "GREEN", nullptr},
    {"c_sign", "MINUS", nullptr},
    {"c_flags", "(F_READ | F_EXEC)", nullptr},
    {"c_flags_odd", "(F_WRITE | unknown: 0x8)", nullptr},
    {"(enum flags)16", "(unknown: 0x10)", nullptr},
    {"(enum flags)0", "0", nullptr},
    {"(enum colour)7", "7", nullptr},
    // Pointers name the symbol they point into; code pointers drop the Thumb bit for it.
    {"NullTask", "0x0", nullptr},
    {"Current", "%x(Current) <Tasks+28>", nullptr},
    {"Tasks[0].sp", "%x(Tasks[0].sp) <stack_a+8>", nullptr},
    {"&c_int", "%x(&c_int) <c_int>", nullptr},
    {"&Tasks", "%x(&Tasks) <Tasks>", nullptr},
    {"Tasks[0].entry", "%x(Tasks[0].entry) <task_a>", nullptr},
    {"AddPtr + 1", "%x(AddPtr + 1) <add+2>", nullptr},
    {"(int *)0x11", "0x11", nullptr},
    {"task_a", "{void (void)} %x(&task_a) <task_a>", nullptr},
    {"add", "{int (int, int)} %x(&add) <add>", nullptr},
    // Structs, unions and arrays, with GDB's repeats.
    {"Tasks[0].quota", "{count = 7, limit = 9}", nullptr},
    {"Bits",
     "{low = 5, mid = -7, wide = 703710, byte = 90 'Z', neg = -3 '\\375', hue = BLUE, "
     "flag = true}",
     nullptr},
    {"Cell", "{u = 1069547520, i = 1069547520, b = \"\\000\\000\\300?\", f = 1.5}",
     "{u = 1069547520, i = 1069547520, b = \"?\\300\\000\", f = 1.5}"},
    {"stack_a", "{2863311530, 1, 2, 3, 0 <repeats 12 times>}", nullptr},
    {"Uninitialised", "{0, 0, 0, 0, 0, 0, 0, 0}", nullptr},
    {"Tasks[0]",
     "{sp = %x(Tasks[0].sp) <stack_a+8>, name = %x(Tasks[0].name) \"alpha\", "
     "entry = %x(Tasks[0].entry) <task_a>, next = %x(Tasks[0].next) <Tasks+28>, "
     "state = 1 '\\001', prio = 5 '\\005', delta = -3, {word = 287454020, "
     "bytes = \"D3\\\"\\021\"}, quota = {count = 7, limit = 9}}",
     "{sp = %x(Tasks[0].sp) <stack_a+8>, name = %x(Tasks[0].name) \"alpha\", "
     "entry = %x(Tasks[0].entry) <task_a>, next = %x(Tasks[0].next) <Tasks+28>, "
     "state = 1 '\\001', prio = 5 '\\005', delta = -3, {word = 287454020, "
     "bytes = \"\\021\\\"3D\"}, quota = {count = 7, limit = 9}}"},
};

class EvalTexts : public ProgramTest {
protected:
  // The expected text with every %x(E) replaced by E's value in hexadecimal.
  std::string expand(const char* pattern) {
    std::string out;
    for (const char* p = pattern; *p != '\0';) {
      if (std::strncmp(p, "%x(", 3) != 0) {
        out += *p++;
        continue;
      }
      const char* end = std::strchr(p, ')');
      // Expressions inside are balanced up to the first ")" that closes them.
      int depth = 0;
      for (end = p + 3; *end != '\0' && !(*end == ')' && depth == 0); ++end) {
        depth += *end == '(' ? 1 : *end == ')' ? -1 : 0;
      }
      char buf[24];
      std::snprintf(buf, sizeof buf, "0x%llx",
                    static_cast<unsigned long long>(value(std::string(p + 3, end))));
      out += buf;
      p = *end != '\0' ? end + 1 : end;
    }
    return out;
  }
};

TEST_P(EvalTexts, EveryFormulaPrintsAsGdbPrintsIt) {
  for (const TextCase& c : kTexts) {
    const TextOutcome out = print(c.expression);
    EXPECT_TRUE(out.ok) << c.expression << ": " << out.error;
    EXPECT_EQ(out.text, expand(big_endian() && c.big != nullptr ? c.big : c.little))
        << c.expression;
  }
}

// Text from a char pointer stops at 4096 bytes, from a char array at 4096 characters.
TEST_P(EvalTexts, LongTextsAreCutToWhatTheHostKeeps) {
  const TextOutcome array = print("LongText");
  ASSERT_TRUE(array.ok) << array.error;
  EXPECT_EQ(array.text, std::string(4096, 'x'));
  const TextOutcome pointer = print("(char *)LongText");
  ASSERT_TRUE(pointer.ok) << pointer.error;
  EXPECT_EQ(pointer.text, std::string(4096, 'x'));
  const TextOutcome tail = print("&LongText[4990]");
  ASSERT_TRUE(tail.ok) << tail.error;
  EXPECT_EQ(tail.text, std::string(9, 'x'));
}

// Memory with a hole of 256 unreadable bytes at a given address, to see where string
// reading stops.
class HoleMemory : public TargetMemory {
public:
  HoleMemory(TargetMemory& inner, uint64_t hole) : inner_(inner), hole_(hole) {}
  bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) override {
    if (address + len > hole_ && address < hole_ + 256) {
      error = "unmapped";
      return false;
    }
    return inner_.read(address, len, out, error);
  }
  bool write(uint64_t address, const uint8_t* data, std::size_t len, std::string& error) override {
    return inner_.write(address, data, len, error);
  }

private:
  TargetMemory& inner_;
  uint64_t hole_;
};

// As in the GDB host: a string whose NUL is readable is found although the blocks read
// around it run into unreadable memory; a string cut off by unreadable memory fails.
TEST_P(EvalTexts, StringsNearTheEndOfReadableMemory) {
  const uint64_t greeting = static_cast<uint64_t>(value("(unsigned int)Greeting"));
  HoleMemory with_nul(*memory_, greeting + 6);
  const TextOutcome found = print_expression(*symbols_, "Greeting", with_nul);
  ASSERT_TRUE(found.ok) << found.error;
  EXPECT_EQ(found.text, "hello");

  HoleMemory cut(*memory_, greeting + 3);
  const TextOutcome failed = print_expression(*symbols_, "Greeting", cut);
  EXPECT_FALSE(failed.ok);
  EXPECT_NE(failed.error.find("cannot read 1 byte at"), std::string::npos) << failed.error;
}

INSTANTIATE_TEST_SUITE_P(Arm, EvalTexts, testing::ValuesIn(kBuilds), build_name);

} // namespace
} // namespace rsp_eval_test
