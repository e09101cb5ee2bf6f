// TypedValue: one value as the debugger's expression evaluator types it.
//
// The type code says how the 8-byte payload is to be read; the codes and their byte widths
// are the evaluator's. Of each pair of integer codes of one width the first is signed and the
// second unsigned (1 int8, 2 uint8, 3 int16, 4 uint16, 5 int32, 6 uint32, 10 int64, 11
// uint64); 7 is an address. A text value owns its copy of the text.
#pragma once

#include <cstdint>
#include <string>

enum TypedValueCode : uint32_t {
  kValueText = 0,
  kValueInt8 = 1,
  kValueUInt8 = 2,
  kValueInt16 = 3,
  kValueUInt16 = 4,
  kValueInt32 = 5,
  kValueUInt32 = 6,
  kValueAddress = 7,
  kValueFloat = 8,
  kValueDouble = 9,
  kValueInt64 = 10,
  kValueUInt64 = 11,
};

inline constexpr uint32_t kValueCodeLast = kValueUInt64;

struct TypedValue {
  uint32_t code = kValueUInt64;
  // Integer codes: the value cut to its width (upper bytes zero); 8: the float's bits in the
  // low 4 bytes; 9: the double's bits.
  uint64_t payload = 0;
  std::string text; // code 0
};

// Byte width of a code: 1-2 -> 1, 3-4 -> 2, 5, 6 and 8 -> 4, 7 -> address_width when positive
// else 8, 9-11 -> 8; 0 for text and for invalid codes.
int typed_value_width(uint32_t code, int address_width = 0);
bool typed_value_code_is_integer(uint32_t code);

// A value of the given code holding zero (or the empty text).
TypedValue typed_value_of(uint32_t code);

// Stores an unsigned 64-bit number by the value's code: integer codes keep the low bytes of
// their width, 8 and 9 convert the number to float or double. False (value unchanged) for
// text and invalid codes.
bool typed_value_store_u64(TypedValue& value, uint64_t number, int address_width = 0);
void typed_value_store_text(TypedValue& value, std::string text);
void typed_value_store_float(TypedValue& value, float number);
void typed_value_store_double(TypedValue& value, double number);

// The value as a signed 64-bit number: signed codes sign-extend from their width, unsigned
// codes and addresses zero-extend, 8 and 9 convert (truncating), text gives 0.
int64_t typed_value_as_i64(const TypedValue& value);
float typed_value_as_float(const TypedValue& value);
double typed_value_as_double(const TypedValue& value);
