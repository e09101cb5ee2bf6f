// The compact JSON writer and the table-driven string escape.
#include "host_link/simple_json/json_write.h"

#include "host_link/simple_json/json_scan.h"

#include <algorithm>
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

// Appends to a string through a cursor: the string is grown ahead (doubling, so that the
// zero fill of the room stays within twice what is written) and cut to the written length at
// the end, which spares a capacity check and a call per piece.
class TextSink {
public:
  explicit TextSink(std::string& out) : out_(out), used_(out.size()) { point_at(used_); }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;
  ~TextSink() { out_.resize(static_cast<std::size_t>(cursor_ - out_.data())); }

  // Room for at least n more bytes at the cursor.
  char* room(std::size_t n) {
    if (static_cast<std::size_t>(limit_ - cursor_) < n) [[unlikely]] {
      grow(n);
    }
    return cursor_;
  }
  void advance(std::size_t n) { cursor_ += n; }
  void put(char c) {
    *room(1) = c;
    ++cursor_;
  }
  void put(const char* bytes, std::size_t n) {
    std::memcpy(room(n), bytes, n);
    cursor_ += n;
  }
  template <std::size_t N> void put(const char (&text)[N]) { put(text, N - 1); }

private:
  void point_at(std::size_t used) {
    cursor_ = out_.data() + used;
    limit_ = out_.data() + out_.size();
  }
  // Out of line: the callers are the hot paths, this runs a few times per text.
  [[gnu::noinline]] void grow(std::size_t n) {
    const std::size_t used = static_cast<std::size_t>(cursor_ - out_.data());
    // A string cleared for reuse still has its room: taking up to kFirstRoom of it at once
    // costs no allocation, and a zero fill of a few hundred bytes less than a second grow.
    out_.resize(
        std::max({used + n, 2 * used, std::size_t{64}, std::min(out_.capacity(), kFirstRoom)}));
    point_at(used);
  }

  static constexpr std::size_t kFirstRoom = 512;

  std::string& out_;
  std::size_t used_;
  char* cursor_ = nullptr;
  char* limit_ = nullptr;
};

void write_integer(TextSink& sink, int64_t value) {
  constexpr std::size_t kDigits = 20; // "-9223372036854775808"
  char* at = sink.room(kDigits);
  auto result = std::to_chars(at, at + kDigits, value);
  sink.advance(static_cast<std::size_t>(result.ptr - at));
}

// Texts shorter than this (most member names and values) are written into room taken once for
// their worst case, eight bytes at a time, without a copy call per piece; for longer texts
// that room would cost more to zero-fill than the calls.
constexpr std::size_t kShortText = 64;
constexpr std::size_t kLongestEscape = 6; // backslash, u and four hexadecimal digits

// A short text, quoted and escaped, up to a NUL among its bytes.
void write_short_escaped(TextSink& sink, const char* text, const char* end) {
  char* const start = sink.room(2 + kLongestEscape * static_cast<std::size_t>(end - text));
  char* at = start;
  *at++ = '"';
  for (;;) {
    // Each word is stored whole and only its bytes before the first escaped one are kept: the
    // room for the escapes of the bytes still to come always covers the eight.
    while (end - text >= 8) {
      const uint64_t word = json_scan::load(text);
      std::memcpy(at, &word, sizeof word);
      if (const uint64_t marks = json_scan::escaped_bytes(word)) {
        const int plain = json_scan::first_marked(marks);
        at += plain;
        text += plain;
        break;
      }
      at += 8;
      text += 8;
    }
    while (text != end && !json_scan::kByteTables.escaped[static_cast<unsigned char>(*text)]) {
      *at++ = *text++;
    }
    if (text == end || *text == '\0') {
      break;
    }
    const Escape& escape = kEscapes[static_cast<unsigned char>(*text)];
    // Every escape fits in the room of the longest; only its own length counts.
    std::memcpy(at, escape.text, kLongestEscape);
    at += escape.length;
    ++text;
  }
  *at++ = '"';
  sink.advance(static_cast<std::size_t>(at - start));
}

// The bytes [text, end) quoted and escaped; a NUL among them ends the text, as the end of a C
// string would.
void write_escaped(TextSink& sink, const char* text, const char* end) {
  if (static_cast<std::size_t>(end - text) < kShortText) {
    write_short_escaped(sink, text, end);
    return;
  }
  sink.put('"');
  for (;;) {
    const char* stop = json_scan::find_escaped(text, end);
    sink.put(text, static_cast<std::size_t>(stop - text));
    if (stop == end || *stop == '\0') {
      break;
    }
    const Escape& escape = kEscapes[static_cast<unsigned char>(*stop)];
    sink.put(escape.text, escape.length);
    text = stop + 1;
  }
  sink.put('"');
}

void write_text(TextSink& sink, const std::string& text) {
  write_escaped(sink, text.data(), text.data() + text.size());
}

void write_scalar(TextSink& sink, const JsonValue& value) {
  switch (value.kind) {
  case JsonKind::Null:
    sink.put("null");
    break;
  case JsonKind::Boolean:
    if (value.boolean) {
      sink.put("true");
    } else {
      sink.put("false");
    }
    break;
  case JsonKind::Integer:
    write_integer(sink, value.integer);
    break;
  case JsonKind::String:
    if (value.string_is_null) {
      sink.put("\"(null)\"");
    } else {
      write_text(sink, value.string);
    }
    break;
  case JsonKind::Object:
  case JsonKind::Array:
    break; // containers are written by json_write's loop
  }
}

bool is_container(const JsonValue& value) {
  return value.kind == JsonKind::Object || value.kind == JsonKind::Array;
}

// The containers open while a tree is written: the first levels in place, deeper ones (rare;
// a tree built in memory may be deeper than any parsed text) on the heap.
class OpenContainers {
public:
  struct Open {
    const JsonValue* container;
    std::size_t next;
  };

  bool empty() const { return depth_ == 0; }
  Open& top() { return at(depth_ - 1); }
  void push(const JsonValue& container) {
    if (depth_ >= kInPlace) {
      deeper_.resize(depth_ + 1 - kInPlace);
    }
    at(depth_) = {&container, 0};
    ++depth_;
  }
  void pop() { --depth_; }

private:
  static constexpr std::size_t kInPlace = 32;
  Open& at(std::size_t i) { return i < kInPlace ? in_place_[i] : deeper_[i - kInPlace]; }

  Open in_place_[kInPlace];
  std::vector<Open> deeper_;
  std::size_t depth_ = 0;
};

void write_tree(TextSink& sink, const JsonValue& value) {
  if (!is_container(value)) {
    write_scalar(sink, value);
    return;
  }
  // An explicit stack of open containers, so that the depth of a tree built in memory is not
  // limited by the call stack.
  OpenContainers open;
  auto begin = [&](const JsonValue& container) {
    if (container.kind == JsonKind::Object) {
      sink.put("{ ");
    } else {
      sink.put("[ ");
    }
    open.push(container);
  };
  begin(value);
  while (!open.empty()) {
    OpenContainers::Open& top = open.top();
    const JsonValue& container = *top.container;
    const bool object = container.kind == JsonKind::Object;
    if (top.next == (object ? container.members.size() : container.elements.size())) {
      if (object) {
        sink.put(" }");
      } else {
        sink.put(" ]");
      }
      open.pop();
      continue;
    }
    if (top.next > 0) {
      sink.put(", ");
    }
    const JsonValue* child;
    if (object) {
      const JsonMember& member = *container.members[top.next];
      write_text(sink, member.name);
      sink.put(" : ");
      child = member.value.get();
    } else {
      child = container.elements[top.next].get();
    }
    ++top.next; // before begin(), which may move the stack
    if (child == nullptr) {
      sink.put("null");
    } else if (is_container(*child)) {
      begin(*child);
    } else {
      write_scalar(sink, *child);
    }
  }
}

} // namespace

void json_write_string(std::string& out, const char* text) {
  TextSink sink(out);
  if (text == nullptr) {
    sink.put("\"(null)\"");
    return;
  }
  write_escaped(sink, text, text + std::strlen(text));
}

void json_write(std::string& out, const JsonValue& value) {
  TextSink sink(out);
  write_tree(sink, value);
}

std::string json_to_text(const JsonValue& value) {
  std::string out;
  json_write(out, value);
  return out;
}
