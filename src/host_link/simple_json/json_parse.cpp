// The JSON text parser: a recursive-descent reader over one NUL-terminated text that records
// every problem it meets instead of stopping at the first one.
#include "host_link/simple_json/json_parse.h"

#include "host_link/simple_json/json_build.h"
#include "host_link/simple_json/json_node_pool.h"
#include "host_link/simple_json/json_scan.h"
#include "runtime/hex_digit.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

constexpr int kEnd = -1; // what peek() reports at the end of the text

struct JsonParser {
  std::string errors;
  const char* start = nullptr;
  const char* position = nullptr;
  const char* end = nullptr; // the terminating NUL
  int depth = 0;             // arrays and objects currently open
  // Set when the nesting limit is hit: every open rule then unwinds at once without adding
  // messages, so the one message says what went wrong.
  bool abandoned = false;
};

bool error_text_full(const JsonParser& p) {
  return p.errors.size() >= kJsonMaxErrorText;
}

void record(JsonParser& p, std::string_view message) {
  if (error_text_full(p)) {
    return;
  }
  if (!p.errors.empty()) {
    p.errors += '\n';
  }
  p.errors += "Error: ";
  p.errors += message;
}

std::string_view rest(const JsonParser& p) {
  return std::string_view(p.position, static_cast<std::size_t>(p.end - p.position));
}

// "<before>'<byte>'<middle>'<rest>'": the shape of every message about an unexpected byte.
void record_unexpected(JsonParser& p, std::string_view before, char byte, std::string_view middle) {
  if (error_text_full(p)) {
    return; // the copy of the rest would be dropped anyway
  }
  std::string message;
  message.reserve(before.size() + middle.size() + static_cast<std::size_t>(p.end - p.position) + 6);
  message += before;
  message += '\'';
  message += byte;
  message += '\'';
  message += middle;
  message += '\'';
  message += rest(p);
  message += '\'';
  record(p, message);
}

constexpr std::array<bool, 256> make_whitespace_table() {
  std::array<bool, 256> table{};
  table[' '] = table['\t'] = table['\r'] = table['\n'] = true;
  return table;
}

constexpr std::array<bool, 256> kWhitespace = make_whitespace_table();

int peek(JsonParser& p) {
  // The byte at the end is the text's NUL, which is no whitespace: the scan stops there.
  const char* q = p.position;
  while (kWhitespace[static_cast<unsigned char>(*q)]) {
    ++q;
  }
  p.position = q;
  if (q >= p.end) {
    return kEnd;
  }
  return static_cast<unsigned char>(*q);
}

void record_expected(JsonParser& p, char ch, std::string_view context) {
  std::string middle = " ";
  middle += context;
  middle += ", got ";
  record_unexpected(p, "expected ", ch, middle);
}

// The failure path apart, so that the test itself stays small enough to be inlined everywhere.
inline bool consume(JsonParser& p, char ch, std::string_view context) {
  // The position never passes the end, where the text's NUL (never ch) stands.
  if (*p.position == ch) {
    ++p.position;
    return true;
  }
  record_expected(p, ch, context);
  return false;
}

bool match(JsonParser& p, std::string_view word) {
  // Byte by byte: the NUL at the end differs from every letter of the words, so no byte after
  // it is read.
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (p.position[i] != word[i]) {
      return false;
    }
  }
  p.position += word.size();
  return true;
}

JsonPtr parse_value(JsonParser& p);

JsonPtr parse_boolean(JsonParser& p) {
  if (match(p, "true")) {
    return json_new_boolean(true);
  }
  if (match(p, "false")) {
    return json_new_boolean(false);
  }
  std::string message = "unable to parse Boolean, got '";
  message += rest(p);
  message += '\'';
  record(p, message);
  return nullptr;
}

JsonPtr parse_null(JsonParser& p) {
  if (match(p, "null")) {
    return json_new_null();
  }
  std::string message = "unable to parse null, got '";
  message += rest(p);
  message += '\'';
  record(p, message);
  return nullptr;
}

bool is_digit(char c) {
  return static_cast<unsigned char>(c - '0') <= 9;
}

JsonPtr parse_number(JsonParser& p) {
  const char* q = p.position;
  bool negative = false;
  if (*q == '-') {
    negative = true;
    ++q;
  }
  if (!is_digit(*q)) {
    // A lone minus sign: the position stays on it, like the other number errors.
    std::string message = "expected a digit after '-', got '";
    message += rest(p);
    message += '\'';
    record(p, message);
    return nullptr;
  }
  constexpr uint64_t kLastSafe = 1844674407370955161u; // (2^64 - 1) / 10
  // Up to 19 digits cannot reach 2^64; only longer numbers (leading zeros included) are
  // checked digit by digit.
  constexpr std::ptrdiff_t kSafeDigits = 19;
  const char* digits = q;
  uint64_t acc = 0;
  for (; is_digit(*q); ++q) {
    acc = acc * 10 + static_cast<unsigned>(*q - '0');
  }
  bool out_of_range = false;
  if (q - digits > kSafeDigits) {
    acc = 0;
    for (const char* d = digits; d < q; ++d) {
      const auto digit = static_cast<unsigned>(*d - '0');
      if (acc > kLastSafe || (acc == kLastSafe && digit > 5)) {
        out_of_range = true;
      }
      acc = acc * 10 + digit;
    }
  }
  if (out_of_range) {
    record(p, "integer value out of range");
    return nullptr;
  }
  if (negative && acc > 9223372036854775808u) {
    record(p, "negative integer value out of range");
    return nullptr;
  }
  p.position = q;
  return json_new_integer(static_cast<int64_t>(negative ? 0 - acc : acc));
}

bool is_hex_digit(char c) {
  return hex_digit_value(c) >= 0;
}

char escaped_byte(char c) {
  switch (c) {
  case 'b':
    return '\b';
  case 'f':
    return '\f';
  case 'n':
    return '\n';
  case 'r':
    return '\r';
  case 't':
    return '\t';
  default:
    return c; // '"', '\\', '/' and every other byte stand for themselves
  }
}

// A text that is about to outgrow its string's own room takes a kept buffer first.
inline void append_bytes(std::string& bytes, const char* from, std::size_t n) {
  if (bytes.size() + n > bytes.capacity()) {
    json_node_pool::reuse_buffer(bytes);
  }
  bytes.append(from, n);
}

// Collects the bytes of a string whose opening quote the position is on. False, with
// "unterminated string constant" recorded and the position just after the quote, when the text
// ends first. An escape that gives the byte 0 ends the collected bytes there.
bool parse_string_bytes(JsonParser& p, std::string& bytes) {
  if (!consume(p, '"', "at beginning of string")) {
    return false;
  }
  const char* q = p.position;
  bool made_nul = false;
  for (;;) {
    const char* run = q;
    q = json_scan::find_string_stop(q, p.end);
    append_bytes(bytes, run, static_cast<std::size_t>(q - run));
    // A backslash as the very last byte has nothing to escape and leaves the string
    // unterminated.
    if (q >= p.end || (*q == '\\' && q + 1 >= p.end)) {
      break;
    }
    if (*q == '"') {
      p.position = q + 1;
      if (made_nul) {
        bytes.resize(std::strlen(bytes.c_str()));
      }
      return true;
    }
    ++q; // past the backslash
    if (*q == 'u') {
      // The text ends with a NUL, which is no hexadecimal digit, so this never reads past it.
      if (is_hex_digit(q[1]) && is_hex_digit(q[2]) && is_hex_digit(q[3]) && is_hex_digit(q[4])) {
        const char byte = static_cast<char>(hex_digit_value(q[3]) * 16 + hex_digit_value(q[4]));
        made_nul = made_nul || byte == '\0';
        append_bytes(bytes, &byte, 1);
        q += 5;
      } else {
        append_bytes(bytes, "u", 1);
        ++q;
      }
      continue;
    }
    const char byte = escaped_byte(*q);
    append_bytes(bytes, &byte, 1);
    ++q;
  }
  record(p, "unterminated string constant");
  return false;
}

JsonPtr parse_string(JsonParser& p) {
  JsonPtr value(new JsonValue); // default-initialized: no clearing before the initializers
  value->kind = JsonKind::String;
  if (!parse_string_bytes(p, value->string)) {
    return nullptr;
  }
  return value;
}

// Opens one level of nesting; false (with the nesting error recorded) past the limit.
bool enter_container(JsonParser& p) {
  if (p.depth >= kJsonMaxDepth) {
    record(p, kJsonNestingError);
    p.abandoned = true;
    return false;
  }
  ++p.depth;
  return true;
}

JsonPtr parse_array(JsonParser& p) {
  if (!enter_container(p)) {
    return nullptr;
  }
  consume(p, '[', "at beginning of array");
  JsonPtr array = json_new_array();
  enum class State { Begin, AfterValue, AfterComma } state = State::Begin;
  for (;;) {
    int c = peek(p);
    if (c == kEnd) {
      record(p, "unexpected end of input while parsing array");
      break;
    }
    char byte = static_cast<char>(c);
    if (state == State::AfterValue) {
      if (byte == ',') {
        consume(p, ',', "after value in array contents");
        state = State::AfterComma;
        continue;
      }
      if (byte == ']') {
        consume(p, ']', "at end of array");
        break;
      }
      record_unexpected(p, "unexpected ", byte, " after value in array contents, got ");
      break;
    }
    if (state == State::Begin && byte == ']') {
      consume(p, ']', "at end of array");
      break;
    }
    if (state == State::Begin && byte == ',') {
      record_unexpected(p, "unexpected ", byte, " at beginning of array contents, got ");
      break;
    }
    if (state == State::AfterComma && (byte == ',' || byte == ']')) {
      record_unexpected(p, "unexpected ", byte, " after comma in array contents, got ");
      break;
    }
    JsonPtr value = parse_value(p);
    if (!value || p.abandoned) {
      break;
    }
    json_build_append(*array, std::move(value));
    state = State::AfterValue;
  }
  --p.depth;
  return array;
}

JsonPtr parse_object(JsonParser& p) {
  if (!enter_container(p)) {
    return nullptr;
  }
  consume(p, '{', "at beginning of object");
  JsonPtr object = json_new_object();
  enum class State { Begin, AfterName, AfterColon, AfterValue, AfterComma } state = State::Begin;
  std::string name;
  for (;;) {
    int c = peek(p);
    if (c == kEnd) {
      record(p, "unexpected end of input while parsing object");
      break;
    }
    char byte = static_cast<char>(c);
    if (state == State::Begin || state == State::AfterComma) {
      if (byte == '"') {
        name.clear();
        if (!parse_string_bytes(p, name)) {
          break; // an unterminated name: nothing can be stored under it
        }
        state = State::AfterName;
        continue;
      }
      if (state == State::Begin && byte == '}') {
        consume(p, '}', "at end of object");
        break;
      }
      record_unexpected(p, "unexpected ", byte,
                        state == State::Begin ? " at beginning of object contents, got "
                                              : " after comma in object contents, got ");
      break;
    }
    if (state == State::AfterName) {
      if (!consume(p, ':', "after name in object contents")) {
        break;
      }
      state = State::AfterColon;
      continue;
    }
    if (state == State::AfterColon) {
      if (byte == ',' || byte == '}') {
        record_unexpected(p, "unexpected ", byte, " after colon in object contents, got ");
        break;
      }
      JsonPtr value = parse_value(p);
      if (p.abandoned) {
        break;
      }
      if (value) {
        json_build_set(*object, std::move(name), std::move(value));
      } else {
        std::string message = "failed to set '";
        message += name;
        message += "' property in object";
        record(p, message);
      }
      state = State::AfterValue;
      continue;
    }
    // AfterValue
    if (byte == ',') {
      consume(p, ',', "after value in object contents");
      state = State::AfterComma;
      continue;
    }
    if (byte == '}') {
      consume(p, '}', "at end of object");
      break;
    }
    record_unexpected(p, "unexpected ", byte, " after value in object contents, got ");
    break;
  }
  --p.depth;
  return object;
}

JsonPtr parse_value(JsonParser& p) {
  int c = peek(p);
  if (c == kEnd) {
    record(p, "unexpected end of input, expected a value");
    return nullptr;
  }
  char byte = static_cast<char>(c);
  switch (byte) {
  case '-':
  case '0':
  case '1':
  case '2':
  case '3':
  case '4':
  case '5':
  case '6':
  case '7':
  case '8':
  case '9':
    return parse_number(p);
  case 't':
  case 'f':
    return parse_boolean(p);
  case 'n':
    return parse_null(p);
  case '"':
    return parse_string(p);
  case '[':
    return parse_array(p);
  case '{':
    return parse_object(p);
  default:
    record_unexpected(p, "unexpected character ", byte, ", expected a value, got: ");
    return nullptr;
  }
}

} // namespace

JsonPtr json_parse(const char* text, std::string& error_out) {
  JsonParser p;
  p.start = text != nullptr ? text : "";
  p.position = p.start;
  p.end = p.start + std::strlen(p.start);
  JsonPtr value = parse_value(p);
  if (!p.errors.empty()) {
    error_out = std::move(p.errors);
    return nullptr;
  }
  error_out.clear();
  return value;
}
