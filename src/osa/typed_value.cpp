// TypedValue widths and conversions.
#include "osa/typed_value.h"

#include <cstring>

namespace {

bool code_is_signed(uint32_t code) {
  return code == kValueInt8 || code == kValueInt16 || code == kValueInt32 || code == kValueInt64;
}

// A float beyond the int64 range (or NaN) has no integer value; 0 stands for it.
int64_t double_to_i64(double number) {
  if (!(number > -9223372036854775808.0 && number < 9223372036854775808.0)) {
    return 0;
  }
  return static_cast<int64_t>(number);
}

uint64_t width_mask(int width) {
  return width >= 8 ? ~0ull : ((1ull << (8 * width)) - 1);
}

} // namespace

int typed_value_width(uint32_t code, int address_width) {
  switch (code) {
  case kValueInt8:
  case kValueUInt8:
    return 1;
  case kValueInt16:
  case kValueUInt16:
    return 2;
  case kValueInt32:
  case kValueUInt32:
  case kValueFloat:
    return 4;
  case kValueAddress:
    return address_width > 0 ? address_width : 8;
  case kValueDouble:
  case kValueInt64:
  case kValueUInt64:
    return 8;
  default:
    return 0;
  }
}

bool typed_value_code_is_integer(uint32_t code) {
  return (code >= kValueInt8 && code <= kValueAddress) || code == kValueInt64 ||
         code == kValueUInt64;
}

TypedValue typed_value_of(uint32_t code) {
  TypedValue value;
  value.code = code;
  return value;
}

bool typed_value_store_u64(TypedValue& value, uint64_t number, int address_width) {
  if (typed_value_code_is_integer(value.code)) {
    value.payload = number & width_mask(typed_value_width(value.code, address_width));
    return true;
  }
  if (value.code == kValueFloat) {
    typed_value_store_float(value, static_cast<float>(number));
    return true;
  }
  if (value.code == kValueDouble) {
    typed_value_store_double(value, static_cast<double>(number));
    return true;
  }
  return false;
}

void typed_value_store_text(TypedValue& value, std::string text) {
  value.text = std::move(text);
}

void typed_value_store_float(TypedValue& value, float number) {
  uint32_t bits = 0;
  std::memcpy(&bits, &number, sizeof bits);
  value.payload = bits;
}

void typed_value_store_double(TypedValue& value, double number) {
  std::memcpy(&value.payload, &number, sizeof value.payload);
}

float typed_value_as_float(const TypedValue& value) {
  const uint32_t bits = static_cast<uint32_t>(value.payload);
  float number = 0;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

double typed_value_as_double(const TypedValue& value) {
  double number = 0;
  std::memcpy(&number, &value.payload, sizeof number);
  return number;
}

int64_t typed_value_as_i64(const TypedValue& value) {
  if (value.code == kValueFloat) {
    return double_to_i64(typed_value_as_float(value));
  }
  if (value.code == kValueDouble) {
    return double_to_i64(typed_value_as_double(value));
  }
  if (!typed_value_code_is_integer(value.code)) {
    return 0;
  }
  const int width = typed_value_width(value.code);
  if (code_is_signed(value.code) && width < 8) {
    const uint64_t sign = 1ull << (8 * width - 1);
    const uint64_t bits = value.payload & width_mask(width);
    return static_cast<int64_t>((bits ^ sign) - sign);
  }
  return static_cast<int64_t>(value.payload);
}
