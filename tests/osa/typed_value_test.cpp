// TypedValue widths, stores by code and reads back.
#include "osa/typed_value.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedValueTest, WidthsByCode) {
  const struct {
    uint32_t code;
    int address_width;
    int width;
  } cases[] = {{0, 0, 0},  {1, 0, 1},  {2, 0, 1},  {3, 0, 2},  {4, 0, 2}, {5, 0, 4},
               {6, 0, 4},  {7, 0, 8},  {7, 4, 4},  {7, -1, 8}, {8, 0, 4}, {9, 0, 8},
               {10, 0, 8}, {11, 0, 8}, {12, 0, 0}, {99, 4, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(typed_value_width(c.code, c.address_width), c.width) << c.code;
  }
}

TEST(TypedValueTest, StoringTruncatesToTheWidthAndReadsBackBySignedness) {
  const uint64_t all_ones = ~0ull;
  const struct {
    uint32_t code;
    uint64_t stored;
    int64_t read;
  } cases[] = {{kValueInt8, 0x1FF, -1},        {kValueUInt8, 0x1FF, 0xFF},
               {kValueInt16, 0x18000, -32768}, {kValueUInt16, 0x18000, 0x8000},
               {kValueInt32, all_ones, -1},    {kValueUInt32, all_ones, 0xFFFFFFFF},
               {kValueInt64, all_ones, -1},    {kValueUInt64, 5, 5},
               {kValueAddress, all_ones, -1},  {kValueInt8, 0x7F, 127}};
  for (const auto& c : cases) {
    TypedValue v = typed_value_of(c.code);
    ASSERT_TRUE(typed_value_store_u64(v, c.stored)) << c.code;
    EXPECT_EQ(typed_value_as_i64(v), c.read) << c.code;
  }
  TypedValue address = typed_value_of(kValueAddress);
  typed_value_store_u64(address, 0x123456789ull, 4);
  EXPECT_EQ(typed_value_as_i64(address), 0x23456789);
}

TEST(TypedValueTest, FloatCodesConvertTheUnsignedNumber) {
  TypedValue f = typed_value_of(kValueFloat);
  ASSERT_TRUE(typed_value_store_u64(f, 3));
  EXPECT_FLOAT_EQ(typed_value_as_float(f), 3.0f);
  TypedValue d = typed_value_of(kValueDouble);
  ASSERT_TRUE(typed_value_store_u64(d, ~0ull));
  EXPECT_DOUBLE_EQ(typed_value_as_double(d), 18446744073709551615.0);
  EXPECT_EQ(typed_value_as_i64(d), 0); // beyond int64: no integer value
  TypedValue text = typed_value_of(kValueText);
  EXPECT_FALSE(typed_value_store_u64(text, 1));
  TypedValue bad = typed_value_of(12);
  EXPECT_FALSE(typed_value_store_u64(bad, 1));
}

} // namespace
