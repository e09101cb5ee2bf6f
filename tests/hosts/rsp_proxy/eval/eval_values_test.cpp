// Values of formulas over the test program's initial data, in every build. Each expected
// value is the one GDB's int(gdb.parse_and_eval(...)) gives on the same program (the
// rsp_eval:gdb_program test checks the evaluator against GDB itself on a wider list).
#include "eval_test_support.h"

#include <cstdint>

namespace rsp_eval_test {
namespace {

struct ValueCase {
  const char* expression;
  int64_t little; // the value on the little-endian builds
  int64_t big;    // the value on the big-endian build
};

constexpr int64_t kSame = INT64_MIN + 1; // marks "big: same as little"

// One invariant: evaluate_expression gives the case's value for its byte order.
const ValueCase kValues[] = {
    // Literals, typed as the debugger types them (the arithmetic shows the type).
    {"2147483647", 2147483647, kSame},
    {"2147483648 - 2147483649", -1, kSame},         // decimal: long long, not unsigned
    {"0x80000000 - 0x80000001", 4294967295, kSame}, // hexadecimal: unsigned int
    {"0xFFFFFFFFFFFFFFFF", -1, kSame},
    {"18446744073709551615", -1, kSame},
    {"sizeof(0x100000000)", 8, kSame},
    {"017 + 0b101 + 10u + 1ul + 1LL", 32, kSame},
    {"-1 < 1u", 0, kSame},
    {"'A'", 65, kSame},
    {"'\\xff'", 255, kSame}, // plain char is unsigned on ARM
    {"'\\n' + '\\0' + '\\101'", 75, kSame},
    {"-'A'", -65, kSame},
    {"1.5 + 1", 2, kSame},
    {"1e3", 1000, kSame},
    // Shifts: the left operand's promoted type; counts outside the width fill with the sign.
    {"1 << 31", -2147483648, kSame},
    {"1 << 32", 0, kSame},
    {"1u << 32", 0, kSame},
    {"1 << -1", 0, kSame},
    {"-1 >> 40", -1, kSame},
    {"5 >> 40", 0, kSame},
    {"-1u >> 1", 2147483647, kSame},
    {"(unsigned char)1 << 31", -2147483648, kSame},
    {"1 << 1ull", 2, kSame},
    // Integer promotions and the usual arithmetic conversions, for ARM's sizes.
    {"c_uchar + 1", 251, kSame},
    {"c_uchar - 251", -1, kSame},
    {"c_ushort * 65536", -35127296, kSame},
    {"c_uint + c_int", 3999900000, kSame},
    {"c_long + c_uint", 3999999993, kSame},
    {"c_ulong * 2", 4294967264, kSame},
    {"c_llong * 2", -10000000000, kSame},
    {"c_ullong", static_cast<int64_t>(0xFEDCBA9876543210ull), kSame},
    {"c_ullong >> 60", 15, kSame},
    {"c_llong >> 60", -1, kSame},
    {"c_bool + 1", 2, kSame},
    {"c_schar", -5, kSame},
    {"~c_uchar", -251, kSame},
    {"-c_uint", 294967296, kSame},
    {"(Word)1 - 2", 4294967295, kSame},
    {"c_colour - 6", -1, kSame},
    {"MINUS - 1", -3, kSame},
    // Division truncates; the one overflow wraps instead of trapping.
    {"7 / -2", -3, kSame},
    {"-7 % 3", -1, kSame},
    {"-2147483648 / -1", 2147483648, kSame},
    {"(-9223372036854775807 - 1) / -1", INT64_MIN, kSame},
    {"(-9223372036854775807 - 1) % -1", 0, kSame},
    // Floating values convert toward zero.
    {"c_float", 2, kSame},
    {"c_double", -1234, kSame},
    {"c_float * 2", 5, kSame},
    {"(int)-2.75", -2, kSame},
    {"(_Bool)0.5", 0, kSame},
    {"c_int / 3.0", -33333, kSame},
    {"(unsigned char)300.7", 44, kSame},
    {"(long long)1e10", 10000000000, kSame},
    // Comparisons, logic, and operands that are not evaluated.
    {"5 > 3 > 0", 1, kSame},
    {"c_int < c_uint", 0, kSame},
    {"1 && 2", 1, kSame},
    {"0 || 5", 1, kSame},
    {"!NullTask", 1, kSame},
    {"1 || *(int *)0xFFFFFFF0", 1, kSame},
    {"0 && *(int *)0xFFFFFFF0", 0, kSame},
    {"1 ? -1 : 0u", -1, kSame}, // the branches keep their own types
    {"0 ? -1 : 0u", 0, kSame},
    {"0 ? Tasks[0].nope : 7", 7, kSame},
    {"NullTask == 0 ? 0 : NullTask->prio", 0, kSame},
    {"Current == 0 ? 0 : Current->prio", 200, kSame},
    {"c_int, 3", 3, kSame},
    // Members, and the leniency ORTI files rely on: "." through pointers, "->" on structs.
    {"Tasks[1].prio", 200, kSame},
    {"Tasks[0].delta", -3, kSame},
    {"Tasks[2].delta", -32768, kSame},
    {"Tasks[0].quota.limit", 9, kSame},
    {"Tasks[0].word", 0x11223344, kSame}, // a member of an anonymous union
    {"Tasks[0].next->next->state", 3, kSame},
    {"Tasks[0].next.next.state", 3, kSame},
    {"Current.prio", 200, kSame},
    {"(*Current).prio", 200, kSame},
    {"Current[1].prio", 0, kSame},
    {"TaskTable[0].state", 3, kSame}, // an array of pointers indexed, then "."
    {"TaskTable[1]->state", 1, kSame},
    {"TaskTable[2][0].state", 2, kSame},
    {"Tasks.prio", 5, kSame},
    {"Tasks[0]->prio", 5, kSame},
    // Layouts in memory: where the byte order shows.
    {"Tasks[0].bytes[0]", 0x44, 0x11},
    {"Cell.b[3]", 0x3F, 0},
    {"*(unsigned short *)&c_uint", 0x2800, 0xEE6B},
    {"((unsigned char *)&c_word)[0]", 0x78, 0x12},
    {"*(int *)&Cell", 0x3FC00000, kSame},
    // Pointers: arithmetic in elements, differences, arrays decaying, no bounds checks.
    {"Tasks[0].sp - stack_a", 2, kSame},
    {"Tasks[0].sp - Tasks[1].sp", -14, kSame},
    {"Tasks[0].sp == stack_a + 2", 1, kSame},
    {"*Tasks[0].sp + Tasks[0].sp[1]", 5, kSame},
    {"&Tasks[1] - &Tasks[0]", 1, kSame},
    {"(char *)&Tasks[1] - (char *)Tasks", 28, kSame},
    {"(char *)(&Tasks + 1) - (char *)&Tasks", 84, kSame},
    {"(char *)&Tasks[1].prio - (char *)&Tasks[1]", 17, kSame},
    {"(char *)(VoidPtr + 1) - (char *)VoidPtr", 1, kSame},
    {"VoidPtr == &Tasks[1]", 1, kSame},
    {"(unsigned int)&((struct tcb *)0)->quota", 24, kSame},
    {"(struct tcb *)0 + 1", 28, kSame},
    {"stack_a[16]", 5, kSame},
    {"((unsigned int *)Tasks[0].sp)[1]", 3, kSame},
    {"*IntPtr", -100000, kSame},
    {"*BytePtr + BytePtr[1]", 255, kSame},
    {"Version[0] + *Greeting + Greeting[5]", 'e' + 'h', kSame},
    {"*(unsigned int)&task_a == *(int *)&task_a", 1, kSame}, // "*" on a plain number
    // Functions: their address; a function pointer in memory carries the Thumb bit.
    {"Tasks[0].entry == (void (*)(void))((unsigned int)&task_a | 1)", 1, kSame},
    {"AddPtr == (int (*)(int, int))((unsigned int)add | 1)", 1, kSame},
    {"task_a == &task_a && *task_a == task_a", 1, kSame},
    {"(char *)(task_a + 1) - (char *)task_a", 1, kSame},
    // Casts to the program's types and to the C base types.
    {"(signed char)200", -56, kSame},
    {"(short)70000", 4464, kSame},
    {"(unsigned short int)70000", 4464, kSame},
    {"(unsigned long long)-1", -1, kSame},
    {"(unsigned long)c_llong", 3589934592, kSame},
    {"(long long)c_uint", 4000000000, kSame},
    {"(int)4294967295u", -1, kSame},
    {"(_Bool)2", 1, kSame},
    {"(TaskType)300", 44, kSame},
    {"(uint8_t)258", 2, kSame},
    {"(Word)-1", 4294967295, kSame},
    {"(char)c_uint", 0, kSame},
    {"((Tcb *)VoidPtr)->prio", 200, kSame},
    {"((struct tcb *)VoidPtr)->prio", 200, kSame},
    {"((union cell *)&Cell)->b[2] == Cell.b[2]", 1, kSame},
    {"(const unsigned int * const)stack_b == stack_b", 1, kSame},
    {"(int)Tasks[0] == (int)Tasks[0].sp", 1, kSame}, // a struct read as its first bytes
    // sizeof, which reads nothing.
    {"sizeof(int) + sizeof(long) + sizeof(long long)", 16, kSame},
    {"sizeof Tasks", 84, kSame},
    {"sizeof(struct tcb)", 28, kSame},
    {"sizeof(Tcb *)", 4, kSame},
    {"sizeof(void)", 1, kSame},
    {"sizeof(enum colour)", 1, kSame},
    {"sizeof(union cell)", 4, kSame},
    {"sizeof Tasks / sizeof Tasks[0]", 3, kSame},
    {"sizeof(Bits.low)", 4, kSame},
    {"sizeof(task_a)", 1, kSame},
    {"sizeof(Version)", 9, kSame},
    {"sizeof(int (*)[4])", 4, kSame},
    {"sizeof(char [2][3])", 6, kSame},
    {"sizeof Uninitialised[99999999]", 4, kSame},
    {"sizeof(1 ? c_char : c_int)", 1, kSame},
    // Bit-fields, signed and unsigned, across bytes, of enum and bool type.
    {"Bits.low", 5, kSame},
    {"Bits.mid", -7, kSame},
    {"Bits.wide", 0xABCDE, kSame},
    {"Bits.byte", 0x5A, kSame},
    {"Bits.neg", -3, kSame},
    {"Bits.hue", 6, kSame},
    {"Bits.flag", 1, kSame},
    {"Bits.low - 6", 4294967295, kSame}, // unsigned int, as declared
    {"Bits.wide << 12", 2882396160, kSame},
    {"(char *)&Bits.neg - (char *)&Bits", 5, kSame},
    // Enumerators and enums.
    {"RED + BLUE", 6, kSame},
    {"MINUS", -2, kSame},
    {"c_colour == GREEN", 1, kSame},
    {"c_flags & F_EXEC", 4, kSame},
    {"(enum colour)7", 7, kSame},
    // Names in several units: the global before a static; the first unit's static;
    // declarations resolved to their definitions; .bss as zeros in the file image.
    {"Shared", 2, kSame},
    {"Hidden", 10, kSame},
    {"Elsewhere", 30, kSame},
    {"Counter", 0xC0FFEE, kSame},
    {"Uninitialised[3]", 0, kSame},
    // A linker symbol without debug information: usable through its address or a cast.
    {"(char *)&_edata >= (char *)(&Tasks + 1)", 1, kSame},
    {"(unsigned int)&_edata == (unsigned int)&__bss_start", 1, kSame},
    // Bytes as numbers: what a pointer, a bool and a char give.
    {"(unsigned int)Current == (unsigned int)&Tasks[1]", 1, kSame},
    {"c_bool", 1, kSame},
    {"c_char", 65, kSame},
};

class EvalValues : public ProgramTest {};

TEST_P(EvalValues, EveryFormulaGivesGdbsValue) {
  for (const ValueCase& c : kValues) {
    const EvalOutcome out = eval(c.expression);
    const int64_t want = big_endian() && c.big != kSame ? c.big : c.little;
    EXPECT_TRUE(out.ok) << c.expression << ": " << out.error;
    EXPECT_EQ(out.value, want) << c.expression;
  }
}

INSTANTIATE_TEST_SUITE_P(Arm, EvalValues, testing::ValuesIn(kBuilds), build_name);

} // namespace
} // namespace rsp_eval_test
