// The value of one hexadecimal digit, either case, for the texts that carry bytes or numbers
// in hexadecimal: the debugger's memory answers, the remote protocol, JSON escapes and ORTI
// literals.
#pragma once

// 0 to 15, or -1 when c is no hexadecimal digit.
constexpr int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}
