// Tests of the JSON text parser: accepted texts and their trees, every error text, the nesting
// limit, and the byte-exact round trip with the writer.
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

// The written form of a parse, or "FAIL:" and the error text.
std::string parse_outcome(const std::string& text) {
  std::string errors = "stale";
  JsonPtr value = json_parse(text.c_str(), errors);
  if (!value) {
    EXPECT_FALSE(errors.empty()) << "no value but no error for " << text;
    return "FAIL:" + errors;
  }
  EXPECT_TRUE(errors.empty()) << "value and error for " << text;
  return json_to_text(*value);
}

struct ParseCase {
  const char* text;
  const char* outcome;
};

TEST(JsonParse, AcceptedTexts) {
  const ParseCase cases[] = {
      {"007", "7"},
      {"-0", "0"},
      {"  \t\r\n 42", "42"},
      {"18446744073709551615", "-1"},
      {"9223372036854775808", "-9223372036854775808"},
      {"-9223372036854775808", "-9223372036854775808"},
      {"1.5", "1"},
      {"truex", "true"},
      {"false", "false"},
      {"null", "null"},
      {"[]", "[  ]"},
      {"{}", "{  }"},
      {"{ } trailing", "{  }"},
      {"[1,[2,{\"a\":[]}],\"x\"]", "[ 1, [ 2, { \"a\" : [  ] } ], \"x\" ]"},
      {" { \"a\" : 1 , \"b\" : [ true , null ] } ", "{ \"a\" : 1, \"b\" : [ true, null ] }"},
      {"{\"a\":1,\"a\":2}", "{ \"a\" : 2 }"},
      {"{\"a\":1,\"b\":2,\"a\":3}", "{ \"a\" : 3, \"b\" : 2 }"},
      {"\"\\/\\\\\\\"\\q\"", "\"/\\\\\\\"q\""},
      {"\"\\b\\f\\n\\r\\t\"", "\"\\b\\f\\n\\r\\t\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_outcome(c.text), c.outcome) << "text: " << c.text;
  }
}

TEST(JsonParse, ErrorTexts) {
  const ParseCase cases[] = {
      {"", "Error: unexpected end of input, expected a value"},
      {" \t\r\n", "Error: unexpected end of input, expected a value"},
      {"+1", "Error: unexpected character '+', expected a value, got: '+1'"},
      {"18446744073709551616", "Error: integer value out of range"},
      {"99999999999999999999999", "Error: integer value out of range"},
      {"-9223372036854775809", "Error: negative integer value out of range"},
      {"-18446744073709551616", "Error: integer value out of range"},
      {"[1.5]", "Error: unexpected '.' after value in array contents, got '.5]'"},
      {"[1 2]", "Error: unexpected '2' after value in array contents, got '2]'"},
      {"[,1]", "Error: unexpected ',' at beginning of array contents, got ',1]'"},
      {"[1,]", "Error: unexpected ']' after comma in array contents, got ']'"},
      {"[1,,2]", "Error: unexpected ',' after comma in array contents, got ',2]'"},
      {"[1", "Error: unexpected end of input while parsing array"},
      {"[", "Error: unexpected end of input while parsing array"},
      {"[1,", "Error: unexpected end of input while parsing array"},
      {"{\"a\" 1}", "Error: expected ':' after name in object contents, got '1}'"},
      {"{\"a\"", "Error: unexpected end of input while parsing object"},
      {"{\"a\":", "Error: unexpected end of input while parsing object"},
      {"{", "Error: unexpected end of input while parsing object"},
      {"{1:2}", "Error: unexpected '1' at beginning of object contents, got '1:2}'"},
      {"{\"a\":,}", "Error: unexpected ',' after colon in object contents, got ',}'"},
      {"{\"a\":}", "Error: unexpected '}' after colon in object contents, got '}'"},
      {"{\"a\":1,}", "Error: unexpected '}' after comma in object contents, got '}'"},
      {"{\"a\":1 \"b\":2}",
       "Error: unexpected '\"' after value in object contents, got '\"b\":2}'"},
      {"{\"a\": x}", "Error: unexpected character 'x', expected a value, got: 'x}'\n"
                     "Error: failed to set 'a' property in object\n"
                     "Error: unexpected 'x' after value in object contents, got 'x}'"},
      {"tru", "Error: unable to parse Boolean, got 'tru'"},
      {"fals", "Error: unable to parse Boolean, got 'fals'"},
      {"[nul]", "Error: unable to parse null, got 'nul]'"},
      {"[trueX]", "Error: unexpected 'X' after value in array contents, got 'X]'"},
      {"\"abc", "Error: unterminated string constant"},
      {"\"abc\\", "Error: unterminated string constant"},
      {"[\"abc", "Error: unterminated string constant"},
      {"{\"ab", "Error: unterminated string constant"},
      {"[[x]]", "Error: unexpected character 'x', expected a value, got: 'x]]'\n"
                "Error: unexpected 'x' after value in array contents, got 'x]]'"},
      // A minus sign without digits must fail, never crash.
      {"-", "Error: expected a digit after '-', got '-'"},
      {"-x", "Error: expected a digit after '-', got '-x'"},
      {"[-]", "Error: expected a digit after '-', got '-]'"},
      {"[- 1]", "Error: expected a digit after '-', got '- 1]'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_outcome(c.text), std::string("FAIL:") + c.outcome) << "text: " << c.text;
  }
}

TEST(JsonParse, NumbersAroundTheDigitCountThatIsCheckedForOverflow) {
  // Up to 19 digits are summed unchecked; from 20 on (leading zeros included) each step is.
  const ParseCase cases[] = {
      {"9999999999999999999", "-8446744073709551617"},
      {"18446744073709551615", "-1"},
      {"18446744073709551616", "FAIL:Error: integer value out of range"},
      {"99999999999999999999", "FAIL:Error: integer value out of range"},
      {"000000000000000000000000001", "1"},
      {"0000000000000000000018446744073709551615", "-1"},
      {"0000000000000000000018446744073709551616", "FAIL:Error: integer value out of range"},
      {"-0000000000000000000009223372036854775808", "-9223372036854775808"},
      {"-0000000000000000000009223372036854775809",
       "FAIL:Error: negative integer value out of range"},
      {"[12345678901234567890123]", "FAIL:Error: integer value out of range"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_outcome(c.text), c.outcome) << "text: " << c.text;
  }
}

TEST(JsonParse, StringsThatEndAtEveryPositionOfAWord) {
  // A string scanned eight bytes at a time may end, or meet an escape, at any byte of a word,
  // and the text may end right after or inside it.
  for (std::size_t length = 0; length <= 20; ++length) {
    const std::string body(length, 'a');
    EXPECT_EQ(parse_outcome("\"" + body + "\""), "\"" + body + "\"") << length;
    EXPECT_EQ(parse_outcome("[\"" + body + "\"]"), "[ \"" + body + "\" ]") << length;
    EXPECT_EQ(parse_outcome("\"" + body), "FAIL:Error: unterminated string constant") << length;
    EXPECT_EQ(parse_outcome("\"" + body + "\\"), "FAIL:Error: unterminated string constant")
        << length;
    EXPECT_EQ(parse_outcome("\"" + body + "\\\"\""), "\"" + body + "\\\"\"") << length;
    EXPECT_EQ(parse_outcome("\"" + body + "\\u00e9\""), "\"" + body + "\\u00e9\"") << length;
    EXPECT_EQ(parse_outcome("\"" + body + "\\u00"), "FAIL:Error: unterminated string constant")
        << length;
    EXPECT_EQ(parse_outcome("{\"" + body + "\":1}"), "{ \"" + body + "\" : 1 }") << length;
  }
}

TEST(JsonParse, TextEndsAtFirstNul) {
  // The text ends at its first NUL: "[1" followed by a hidden ",2]".
  const char text[] = "[1\0,2]";
  std::string errors;
  EXPECT_EQ(json_parse(text, errors), nullptr);
  EXPECT_EQ(errors, "Error: unexpected end of input while parsing array");
  EXPECT_EQ(json_parse(nullptr, errors), nullptr);
  EXPECT_EQ(errors, "Error: unexpected end of input, expected a value");
}

TEST(JsonParse, UnicodeEscapesAreBytes) {
  struct Case {
    const char* text;
    std::string bytes;
  };
  const Case cases[] = {
      {"\"\\u0041\\u00e9\"", "A\xe9"}, {"\"\\u20ac\"", "\xac"},
      {"\"\\u00FF\"", "\xff"},         {"\"\\u12\"", "u12"},
      {"\"\\u123\"", "u123"},          {"\"\\u12345\"", "45"},
      {"\"\\uzz00\"", "uzz00"},        {"\"a\\u0000b\"", "a"},
  };
  for (const auto& c : cases) {
    std::string errors;
    JsonPtr value = json_parse(c.text, errors);
    ASSERT_NE(value, nullptr) << c.text << ": " << errors;
    ASSERT_EQ(value->kind, JsonKind::String);
    EXPECT_EQ(value->string, c.bytes) << c.text;
  }
}

TEST(JsonParse, NestingIsBounded) {
  auto nested = [](int depth, char open, const char* inner, char close) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
      text += open;
      if (open == '{') {
        text += "\"k\":";
      }
    }
    text += inner;
    text.append(static_cast<std::size_t>(depth), close);
    return text;
  };
  std::string errors;
  EXPECT_NE(json_parse(nested(kJsonMaxDepth, '[', "", ']').c_str(), errors), nullptr) << errors;
  EXPECT_NE(json_parse(nested(kJsonMaxDepth - 1, '{', "[]", '}').c_str(), errors), nullptr)
      << errors;

  const std::string deep_error = std::string("Error: ") + kJsonNestingError;
  EXPECT_EQ(json_parse(nested(kJsonMaxDepth + 1, '[', "", ']').c_str(), errors), nullptr);
  EXPECT_EQ(errors, deep_error);
  EXPECT_EQ(json_parse(nested(kJsonMaxDepth, '{', "{}", '}').c_str(), errors), nullptr);
  EXPECT_EQ(errors, deep_error);

  // The largest request the framing lets through, all opening brackets: one message, no
  // exhausted stack.
  const std::string brackets(65535, '[');
  EXPECT_EQ(json_parse(brackets.c_str(), errors), nullptr);
  EXPECT_EQ(errors, deep_error);
  const std::string braces = nested(30000, '{', "", '}');
  EXPECT_EQ(json_parse(braces.c_str(), errors), nullptr);
  EXPECT_EQ(errors, deep_error);
}

TEST(JsonParse, ErrorTextOfAGarbledDeepTextStaysBounded) {
  // Every open array quotes the whole rest of the text in its own message; without a bound a
  // 64 KiB request nested 511 deep gives an error text of tens of megabytes.
  std::string text(511, '[');
  text += 'x';
  text.resize(65535, '\xFF');
  std::string errors;
  EXPECT_EQ(json_parse(text.c_str(), errors), nullptr);
  EXPECT_LT(errors.size(), kJsonMaxErrorText + text.size() + 100);
  // The first message, the one that says what went wrong, is always there whole.
  const std::string first = "Error: unexpected character 'x', expected a value, got: 'x";
  EXPECT_EQ(errors.compare(0, first.size(), first), 0);
  EXPECT_NE(errors.find('\n'), std::string::npos);

  // A shallow error text is recorded in full, however long the text.
  std::string flat = "[1 ";
  flat.append(300000, 'z');
  EXPECT_EQ(json_parse(flat.c_str(), errors), nullptr);
  EXPECT_EQ(errors.size(),
            std::string("Error: unexpected 'z' after value in array contents, got ''").size() +
                300000);
}

TEST(JsonParse, SuccessEmptiesErrorText) {
  std::string errors = "old text";
  ASSERT_NE(json_parse("[1]", errors), nullptr);
  EXPECT_TRUE(errors.empty());
}

void expect_survives_round_trip(const std::string& bytes) {
  std::string written;
  json_write_string(written, bytes.c_str());
  std::string errors;
  JsonPtr value = json_parse(written.c_str(), errors);
  ASSERT_NE(value, nullptr) << errors;
  ASSERT_EQ(value->kind, JsonKind::String);
  EXPECT_EQ(value->string, bytes) << "written as " << written;
}

TEST(JsonParse, EveryByteStringSurvivesWriteThenParse) {
  for (int byte = 1; byte <= 255; ++byte) {
    expect_survives_round_trip(std::string(1, static_cast<char>(byte)));
  }
  std::string all;
  for (int byte = 1; byte <= 255; ++byte) {
    all += static_cast<char>(byte);
  }
  expect_survives_round_trip(all);

  std::mt19937 random(20240611u);
  std::uniform_int_distribution<int> length(1, 255);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int i = 0; i < 5000; ++i) {
    std::string bytes(static_cast<std::size_t>(length(random)), ' ');
    for (char& c : bytes) {
      c = static_cast<char>(byte(random));
    }
    expect_survives_round_trip(bytes);
    if (testing::Test::HasFailure()) {
      break;
    }
  }
}

TEST(JsonParse, WrittenTreesParseBackEqual) {
  JsonPtr object = json_new_object();
  json_object_add_integer(object.get(), "min", INT64_MIN);
  json_object_add_integer(object.get(), "max", INT64_MAX);
  json_object_add_string(object.get(), "text", "\x01\xfe\"\\/");
  json_object_add_string(object.get(), "dup", "a");
  json_object_add(object.get(), "list", json_new_array());
  JsonPtr inner = json_new_array();
  json_array_append(inner.get(), json_new_null());
  json_array_append(inner.get(), json_new_boolean(false));
  json_array_append(inner.get(), json_new_object());
  json_object_add(object.get(), "inner", std::move(inner));

  std::string errors;
  JsonPtr again = json_parse(json_to_text(*object).c_str(), errors);
  ASSERT_NE(again, nullptr) << errors;
  EXPECT_TRUE(json_equal(*object, *again));
}

} // namespace
