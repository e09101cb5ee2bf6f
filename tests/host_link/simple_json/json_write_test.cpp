// Tests of the compact writer: the exact blanks around every piece and the byte escapes.
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

namespace {

TEST(JsonWrite, CompactLayout) {
  JsonPtr object = json_new_object();
  json_object_add_integer(object.get(), "a", 1);
  JsonPtr array = json_new_array();
  json_array_append(array.get(), json_new_boolean(true));
  json_array_append(array.get(), json_new_null());
  json_object_add(object.get(), "b", std::move(array));
  EXPECT_EQ(json_to_text(*object), "{ \"a\" : 1, \"b\" : [ true, null ] }");

  EXPECT_EQ(json_to_text(*json_new_object()), "{  }");
  EXPECT_EQ(json_to_text(*json_new_array()), "[  ]");

  JsonPtr nested = json_new_array();
  json_array_append(nested.get(), json_new_array());
  json_array_append(nested.get(), json_new_object());
  json_array_append(nested.get(), json_new_boolean(false));
  EXPECT_EQ(json_to_text(*nested), "[ [  ], {  }, false ]");
}

TEST(JsonWrite, AppendsToExistingText) {
  std::string out = "x=";
  json_write(out, *json_new_integer(5));
  json_write_string(out, "y");
  EXPECT_EQ(out, "x=5\"y\"");
}

TEST(JsonWrite, Integers) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},
      {-7, "-7"},
      {1234567890123LL, "1234567890123"},
      {INT64_MIN, "-9223372036854775808"},
      {INT64_MAX, "9223372036854775807"},
      {static_cast<int64_t>(0xFFFFFFFFFFFFFFFFull), "-1"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(json_to_text(*json_new_integer(value)), text);
  }
}

TEST(JsonWrite, StringEscapes) {
  struct Case {
    std::string bytes;
    const char* written;
  };
  const Case cases[] = {
      {"plain / text", "\"plain / text\""},
      {"\x7f\xc3\xa9", "\"\\u007f\\u00c3\\u00a9\""},
      {"a\tb", "\"a\\tb\""},
      {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {"q\"b\\", "\"q\\\"b\\\\\""},
      {"\x01\x1f\x0b", "\"\\u0001\\u001f\\u000b\""},
      {"\xff", "\"\\u00ff\""},
      {" ~", "\" ~\""},
      {"", "\"\""},
      {"run\x01run\x02", "\"run\\u0001run\\u0002\""},
  };
  for (const auto& c : cases) {
    std::string out;
    json_write_string(out, c.bytes.c_str());
    EXPECT_EQ(out, c.written) << "bytes: " << c.bytes;
    EXPECT_EQ(json_to_text(*json_new_string(c.bytes.c_str())), c.written);
  }
}

TEST(JsonWrite, EveryByteHasItsEscape) {
  for (int byte = 1; byte <= 255; ++byte) {
    char text[2] = {static_cast<char>(byte), 0};
    std::string out;
    json_write_string(out, text);
    std::string expected;
    switch (byte) {
    case 0x08:
      expected = "\\b";
      break;
    case 0x09:
      expected = "\\t";
      break;
    case 0x0A:
      expected = "\\n";
      break;
    case 0x0C:
      expected = "\\f";
      break;
    case 0x0D:
      expected = "\\r";
      break;
    case 0x22:
      expected = "\\\"";
      break;
    case 0x5C:
      expected = "\\\\";
      break;
    default:
      if (byte < 0x20 || byte >= 0x7F) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\u00%02x", byte);
        expected = hex;
      } else {
        expected = text;
      }
    }
    EXPECT_EQ(out, "\"" + expected + "\"") << "byte " << byte;
  }
}

TEST(JsonWrite, NullTextIsWrittenAsQuotedNullWord) {
  std::string out;
  json_write_string(out, nullptr);
  EXPECT_EQ(out, "\"(null)\"");
  EXPECT_EQ(json_to_text(*json_new_string(nullptr)), "\"(null)\"");
}

TEST(JsonWrite, MemberNamesAreEscaped) {
  JsonPtr object = json_new_object();
  json_object_add_integer(object.get(), "a\"b\n", 1);
  EXPECT_EQ(json_to_text(*object), "{ \"a\\\"b\\n\" : 1 }");
}

// A text as its bytes written one at a time (each byte's own form is checked above).
std::string written_form(const std::string& bytes) {
  std::string text = "\"";
  for (char c : bytes) {
    const char one[2] = {c, 0};
    std::string alone;
    json_write_string(alone, one);
    text += alone.substr(1, alone.size() - 2);
  }
  return text + "\"";
}

// Texts are written eight bytes at a time into room taken for their worst case below a length
// limit, by scan and copy above it: every length around both, escapes of both widths, after
// texts that leave the output's room at its edges.
TEST(JsonWrite, TextsOfEveryLengthAroundThePieceAndRoomLimits) {
  const std::pair<char, int> fills[] = {{'p', 0}, {'\x01', 1}, {'\n', 1}, {'"', 3}, {'\xe9', 8}};
  for (const auto& [escaped, every] : fills) {
    for (std::size_t length = 0; length <= 80; ++length) {
      std::string bytes(length, 'p');
      for (std::size_t i = 0; every > 0 && i < length; i += static_cast<std::size_t>(every)) {
        bytes[i] = escaped;
      }
      const std::string expected = written_form(bytes);
      for (std::size_t prefix : {0, 1, 63, 511, 512}) {
        std::string out(prefix, '.');
        json_write_string(out, bytes.c_str());
        EXPECT_EQ(out, std::string(prefix, '.') + expected) << length << " bytes after " << prefix;
      }
      JsonPtr object = json_new_object();
      json_object_add_string(object.get(), bytes.c_str(), bytes.c_str());
      EXPECT_EQ(json_to_text(*object), "{ " + expected + " : " + expected + " }") << length;
    }
  }
}

// A text can hold a NUL only when built from bytes taken over; the written text ends there,
// wherever it stands in a piece.
TEST(JsonWrite, TextsEndAtANulInAnyPosition) {
  for (std::size_t length : {1u, 7u, 8u, 9u, 17u, 63u, 64u, 65u, 100u}) {
    for (std::size_t nul = 0; nul < length; ++nul) {
      JsonValue value;
      value.kind = JsonKind::String;
      value.string.assign(length, 'x');
      value.string[nul] = '\0';
      EXPECT_EQ(json_to_text(value), "\"" + std::string(nul, 'x') + "\"") << length << ", " << nul;
    }
  }
}

} // namespace
