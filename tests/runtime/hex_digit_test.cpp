// Every character's digit value against the ranges each case of digit takes.
#include "runtime/hex_digit.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(HexDigitValue, DigitsOfEitherCase) {
  struct Case {
    char c;
    int value;
  };
  const Case cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15}, {'A', 10},
                        {'F', 15}, {'/', -1}, {':', -1}, {'`', -1}, {'g', -1},
                        {'@', -1}, {'G', -1}, {'x', -1}, {' ', -1}, {'\0', -1}};
  for (const Case& k : cases) {
    EXPECT_EQ(hex_digit_value(k.c), k.value) << "'" << k.c << "'";
  }
}

TEST(HexDigitValue, EveryCharacterRoundTripsThroughItsDigits) {
  const char lower[] = "0123456789abcdef";
  const char upper[] = "0123456789ABCDEF";
  int digits = 0;
  for (int i = CHAR_MIN; i <= CHAR_MAX; ++i) {
    const char c = static_cast<char>(i);
    const int v = hex_digit_value(c);
    if (v < 0) {
      EXPECT_EQ(v, -1) << i;
      continue;
    }
    ASSERT_LT(v, 16) << i;
    EXPECT_TRUE(c == lower[v] || c == upper[v]) << i;
    ++digits;
  }
  EXPECT_EQ(digits, 22);
}

static_assert(hex_digit_value('e') == 14, "usable in constant expressions");

} // namespace
