// The JSON text parser: one value from the beginning of a NUL-terminated text.
//
// It does not stop at the first problem: every message it records is collected into one error
// text, each line beginning with "Error: ", and the caller gets either a value or that text.
#pragma once

#include "host_link/simple_json/json_value.h"

#include <cstddef>
#include <string>

// Deepest nesting of arrays and objects the parser accepts; deeper texts fail with
// kJsonNestingError (whose text names the limit) instead of exhausting the stack.
inline constexpr int kJsonMaxDepth = 512;
inline constexpr const char* kJsonNestingError = "arrays and objects nested more than 512 deep";

// Every open array and object adds a message quoting the whole rest of the text, so a garbled
// text nested deeply could otherwise produce an error text of hundreds of times its own size.
// Once the error text has reached this many bytes, further messages are not recorded.
inline constexpr std::size_t kJsonMaxErrorText = 256 * 1024;

// Parses the text up to its first NUL. On success returns the value and empties error_out; on
// any recorded error returns null and sets error_out to the accumulated error text. Text after
// the first complete value is not examined.
JsonPtr json_parse(const char* text, std::string& error_out);
