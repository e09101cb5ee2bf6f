// Tests of the compact writer: the exact blanks around every piece and the byte escapes.
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

// The escape of one byte, spelled out independently of the writer's tables.
std::string escape_of(unsigned char byte) {
  switch (byte) {
  case '\b':
    return "\\b";
  case '\t':
    return "\\t";
  case '\n':
    return "\\n";
  case '\f':
    return "\\f";
  case '\r':
    return "\\r";
  case '"':
    return "\\\"";
  case '\\':
    return "\\\\";
  default:
    break;
  }
  if (byte < 0x20 || byte >= 0x7F) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\u00%02x", byte);
    return hex;
  }
  return std::string(1, static_cast<char>(byte));
}

std::string written_form(const std::string& bytes) {
  std::string text = "\"";
  for (char c : bytes) {
    text += escape_of(static_cast<unsigned char>(c));
  }
  return text + "\"";
}

// Texts are written in pieces of eight bytes up to a length limit and by scan and copy above
// it, into room taken ahead: every length around both, with escapes of every width at the
// first, last and every position, after texts that leave the output's room at its edges.
TEST(JsonWrite, TextsOfEveryLengthAroundThePieceAndRoomLimits) {
  struct Fill {
    const char* label;
    char plain;
    int escape_every; // 0: none
    char escaped;
  };
  const Fill fills[] = {
      {"plain", 'p', 0, 0},
      {"every byte a six-byte escape", 0, 1, '\x01'},
      {"every byte a two-byte escape", 0, 1, '\n'},
      {"a quote every third byte", 'q', 3, '"'},
      {"a high byte every eighth byte", 'h', 8, '\xe9'},
      {"a backslash every ninth byte", 'b', 9, '\\'},
  };
  const std::size_t prefixes[] = {0, 1, 63, 511, 512};
  for (const Fill& fill : fills) {
    for (std::size_t length = 0; length <= 80; ++length) {
      for (int at : {-1, 0, 1}) { // escape only at the first, only at the last, or by the fill
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
          const bool escape =
              fill.escape_every > 0 && i % static_cast<std::size_t>(fill.escape_every) == 0;
          bytes += escape ? fill.escaped : fill.plain;
        }
        if (at == -1 && length > 0 && fill.plain != 0) {
          bytes.front() = '\x7f';
        }
        if (at == 1 && length > 0 && fill.plain != 0) {
          bytes.back() = '\x1f';
        }
        const std::string expected = written_form(bytes);
        for (std::size_t prefix : prefixes) {
          std::string out(prefix, '.');
          json_write_string(out, bytes.c_str());
          EXPECT_EQ(out, std::string(prefix, '.') + expected)
              << fill.label << ", length " << length << ", prefix " << prefix;
        }
        JsonPtr array = json_new_array();
        json_array_append(array.get(), json_new_string(bytes.c_str()));
        JsonPtr object = json_new_object();
        json_object_add(object.get(), bytes.c_str(), std::move(array));
        EXPECT_EQ(json_to_text(*object), "{ " + expected + " : [ " + expected + " ] }")
            << fill.label << ", length " << length;
      }
    }
  }
}

// A text can hold a NUL only when built from bytes taken over; the written text ends there,
// wherever it stands in a piece.
TEST(JsonWrite, TextsEndAtANulInAnyPosition) {
  for (std::size_t length : {1u, 7u, 8u, 9u, 17u, 63u, 64u, 65u, 100u}) {
    for (std::size_t nul = 0; nul < length; ++nul) {
      std::string bytes(length, 'x');
      bytes[nul] = '\0';
      JsonValue value;
      value.kind = JsonKind::String;
      value.string = bytes;
      EXPECT_EQ(json_to_text(value), written_form(std::string(nul, 'x')))
          << "length " << length << ", NUL at " << nul;
    }
  }
}

} // namespace
