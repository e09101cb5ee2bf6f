// Finding the next byte of interest in a string eight bytes at a time, for the parser (the end
// of a run of plain string bytes) and the writer (the next byte to escape).
//
// Each test marks, in a 64-bit word of eight text bytes, the bytes that match; marks above the
// lowest true match may be false (a borrow runs upwards), so only the lowest mark is used.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace json_scan {

inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kHighBits = 0x8080808080808080u;

inline uint64_t load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// High bit of every byte that is zero.
inline constexpr uint64_t zero_bytes(uint64_t word) {
  return (word - kOnes) & ~word & kHighBits;
}

// High bit of every byte equal to byte.
inline constexpr uint64_t bytes_equal(uint64_t word, unsigned char byte) {
  return zero_bytes(word ^ (kOnes * byte));
}

// High bit of every byte below limit (limit at most 128).
inline constexpr uint64_t bytes_below(uint64_t word, unsigned char limit) {
  return (word - kOnes * limit) & ~word & kHighBits;
}

// Index of the first marked byte of a nonzero mark word, in text order.
inline int first_marked(uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little) {
    return std::countr_zero(marks) / 8;
  } else {
    return std::countl_zero(marks) / 8;
  }
}

// Marks of the bytes that end a run of plain bytes inside a JSON string: '"' and '\\'.
inline constexpr uint64_t string_stops(uint64_t word) {
  return bytes_equal(word, '"') | bytes_equal(word, '\\');
}

// Marks of the bytes the writer escapes: below 0x20, '"', '\\', and 0x7F and above. NUL is
// among them, so a scan for them also stops at the end of a NUL-terminated text.
inline constexpr uint64_t escaped_bytes(uint64_t word) {
  return bytes_below(word, 0x20) | (word & kHighBits) | bytes_equal(word, '"') |
         bytes_equal(word, '\\') | bytes_equal(word, 0x7F);
}

// The same tests one byte at a time, as tables: the last few bytes of a text, and whole short
// texts, are found faster so than with a word.
struct ByteTables {
  bool string_stop[256] = {};
  bool escaped[256] = {};
};

constexpr ByteTables make_byte_tables() {
  ByteTables tables;
  tables.string_stop[static_cast<unsigned char>('"')] = true;
  tables.string_stop[static_cast<unsigned char>('\\')] = true;
  for (int byte = 0; byte < 256; ++byte) {
    tables.escaped[byte] = byte < 0x20 || byte == '"' || byte == '\\' || byte >= 0x7F;
  }
  return tables;
}

inline constexpr ByteTables kByteTables = make_byte_tables();

// The first '"' or '\\' in [p, end), or end.
inline const char* find_string_stop(const char* p, const char* end) {
  while (end - p >= 8) {
    if (const uint64_t marks = string_stops(load(p))) {
      return p + first_marked(marks);
    }
    p += 8;
  }
  while (p < end && !kByteTables.string_stop[static_cast<unsigned char>(*p)]) {
    ++p;
  }
  return p;
}

// The first byte in [p, end) that the writer escapes, or end.
inline const char* find_escaped(const char* p, const char* end) {
  while (end - p >= 8) {
    if (const uint64_t marks = escaped_bytes(load(p))) {
      return p + first_marked(marks);
    }
    p += 8;
  }
  while (p < end && !kByteTables.escaped[static_cast<unsigned char>(*p)]) {
    ++p;
  }
  return p;
}

} // namespace json_scan
