// The compact JSON writer and the table-driven string escape.
#include "host_link/simple_json/json_write.h"

#include <array>
#include <charconv>
#include <cstring>
#include <vector>

namespace {

struct Escape {
  char text[7] = {};
  uint8_t length = 0; // 0: the byte is written as it is
};

constexpr std::array<Escape, 256> make_escape_table() {
  std::array<Escape, 256> table{};
  constexpr char hex[] = "0123456789abcdef";
  auto set_hex = [&](int byte) {
    Escape& e = table[static_cast<std::size_t>(byte)];
    e.text[0] = '\\';
    e.text[1] = 'u';
    e.text[2] = '0';
    e.text[3] = '0';
    e.text[4] = hex[(byte >> 4) & 0xF];
    e.text[5] = hex[byte & 0xF];
    e.length = 6;
  };
  auto set_short = [&](int byte, char letter) {
    Escape& e = table[static_cast<std::size_t>(byte)];
    e.text[0] = '\\';
    e.text[1] = letter;
    e.length = 2;
  };
  for (int byte = 0x01; byte <= 0x1F; ++byte) {
    set_hex(byte);
  }
  for (int byte = 0x7F; byte <= 0xFF; ++byte) {
    set_hex(byte);
  }
  set_short(0x08, 'b');
  set_short(0x09, 't');
  set_short(0x0A, 'n');
  set_short(0x0C, 'f');
  set_short(0x0D, 'r');
  set_short(0x22, '"');
  set_short(0x5C, '\\');
  return table;
}

constexpr std::array<Escape, 256> kEscapes = make_escape_table();

void write_integer(std::string& out, int64_t value) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void write_scalar(std::string& out, const JsonValue& value) {
  switch (value.kind) {
  case JsonKind::Null:
    out += "null";
    break;
  case JsonKind::Boolean:
    out += value.boolean ? "true" : "false";
    break;
  case JsonKind::Integer:
    write_integer(out, value.integer);
    break;
  case JsonKind::String:
    json_write_string(out, value.string_is_null ? nullptr : value.string.c_str());
    break;
  case JsonKind::Object:
  case JsonKind::Array:
    break; // containers are written by json_write's loop
  }
}

bool is_container(const JsonValue& value) {
  return value.kind == JsonKind::Object || value.kind == JsonKind::Array;
}

} // namespace

void json_write_string(std::string& out, const char* text) {
  if (text == nullptr) {
    out += "\"(null)\"";
    return;
  }
  out += '"';
  const unsigned char* run = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* p = run;
  for (; *p != 0; ++p) {
    const Escape& escape = kEscapes[*p];
    if (escape.length == 0) {
      continue;
    }
    out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    out.append(escape.text, escape.length);
    run = p + 1;
  }
  out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
  out += '"';
}

void json_write(std::string& out, const JsonValue& value) {
  if (!is_container(value)) {
    write_scalar(out, value);
    return;
  }
  // An explicit stack of open containers, so that the depth of a tree built in memory is not
  // limited by the call stack.
  struct Open {
    const JsonValue* container;
    std::size_t next;
  };
  std::vector<Open> open;
  auto begin = [&](const JsonValue& container) {
    out += container.kind == JsonKind::Object ? "{ " : "[ ";
    open.push_back({&container, 0});
  };
  begin(value);
  while (!open.empty()) {
    Open& top = open.back();
    const JsonValue& container = *top.container;
    if (top.next == container.count()) {
      out += container.kind == JsonKind::Object ? " }" : " ]";
      open.pop_back();
      continue;
    }
    if (top.next > 0) {
      out += ", ";
    }
    const JsonValue* child;
    if (container.kind == JsonKind::Object) {
      const JsonMember& member = *container.members[top.next];
      json_write_string(out, member.name.c_str());
      out += " : ";
      child = member.value.get();
    } else {
      child = container.elements[top.next].get();
    }
    ++top.next; // before begin(), which may move the stack
    if (child == nullptr) {
      out += "null";
    } else if (is_container(*child)) {
      begin(*child);
    } else {
      write_scalar(out, *child);
    }
  }
}

std::string json_to_text(const JsonValue& value) {
  std::string out;
  json_write(out, value);
  return out;
}
