// The KOIL scanner: the text of an ORTI file into the tokens the grammar consumes.
//
// Which token a piece of text yields depends on where in the file it stands: numbers, quoted
// strings and the type keywords exist only after IMPLEMENTATION, and the version section has a
// vocabulary of its own. The scanner therefore carries one of six states from token to token.
// One parse owns one scanner; nothing here is process-wide.
#pragma once

#include "orti/parser/parse_tree.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline bool operator==(const OrtiVersion& a, const OrtiVersion& b) {
  return a.major == b.major && a.minor == b.minor;
}

// Token kinds. A single character is its own kind (0 to 255, NUL included: a NUL byte is a
// character like any other and never ends the input); every other kind lies above that range.
enum KoilTokenKind : int {
  kKoilEnd = 256,
  kKoilVersionNumber,
  kKoilStringText,
  kKoilIdentifier,
  kKoilInteger,
  kKoilVersion,        // "VERSION"
  kKoilKoil,           // "KOIL"
  kKoilOsSemantics,    // "OSSEMANTICS"
  kKoilOrti,           // "ORTI"
  kKoilImplementation, // "IMPLEMENTATION"
  kKoilToTrace,        // "TOTRACE"
  kKoilCtype,          // "CTYPE"
  kKoilEnum,           // "ENUM"
  kKoilString,         // "STRING"
};

enum class KoilScanState {
  Initial,
  KoilVersion,
  VersionNumber,
  OsSemantics,
  Declarations,
  StringBody
};

// The stream is read in blocks of this size; a token may still be longer.
inline constexpr std::size_t kKoilReadBlock = 16384;

// A condition after which the scanner cannot go on: its stream could not be read, or memory ran
// out. next() throws it and the parser turns it into a failed parse, so it never leaves this
// module through the parser; a direct user of the scanner catches it.
struct KoilScannerFailure {
  const char* message;
};

class KoilLexer {
public:
  // Reads the open stream; the scanner never closes it.
  explicit KoilLexer(std::FILE* input);
  // Reads from memory (the bytes must outlive the scanner), block by block like a stream.
  explicit KoilLexer(std::string_view input);

  KoilLexer(const KoilLexer&) = delete;
  KoilLexer& operator=(const KoilLexer&) = delete;

  // The kind of the next token; kKoilEnd once the input is exhausted, on every later call too.
  // Throws KoilScannerFailure when the stream fails or memory runs out.
  int next();

  // The line of the scanner (1 + the newlines consumed so far; text looked at but not yet
  // consumed does not count), the text of the token last returned ("" at the end of the
  // input) and the values of the valued kinds, valid until the next call of next(). The text
  // is a view of the scanner's buffer, so a token costs no copy until its user keeps it.
  int32_t line() const { return static_cast<int32_t>(line_); }
  std::string_view text() const { return {buffer_.get() + token_, token_length_}; }
  OrtiVersion version() const { return version_; }
  int64_t integer() const { return integer_; }
  KoilScanState state() const { return state_; }

private:
  // Makes at least `count` unconsumed bytes available unless the input ends first; returns how
  // many are available (possibly fewer). Keeps the text of the current token.
  std::size_t fill(std::size_t count);
  void grow(); // room for another block after the valid bytes
  std::size_t read_block(char* to, std::size_t room);
  int peek(std::size_t ahead); // -1 past the end
  // For loops that consume as they go: the bytes before pos_ are no longer needed.
  std::size_t refill() {
    token_ = pos_;
    return fill(1);
  }
  // The length of the run of bytes of a character class that begins `from` bytes after pos_.
  std::size_t span(std::size_t from, uint8_t char_class);
  // The token is the next `length` bytes; they are consumed.
  void take(std::size_t length);
  int single(int c);
  void skip_block_comment();
  void skip_line_comment();
  int scan_identifier();
  int scan_integer();
  int scan_version_digit();
  int scan_string_text();

  std::FILE* file_ = nullptr;
  std::string_view memory_;
  std::size_t memory_pos_ = 0;

  // The valid bytes are [0, end_), followed by a NUL that ends every scanning loop at the end
  // of the buffer without a bounds test (a NUL of the input belongs to no class either, and
  // the loops tell the two apart by position).
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0; // bytes of buffer_, the NUL after the valid bytes included
  std::size_t pos_ = 0;      // first unconsumed byte
  std::size_t end_ = 0;      // end of the valid bytes
  std::size_t token_ = 0;    // the current token's text: [token_, token_ + token_length_)
  std::size_t token_length_ = 0;
  uint64_t buffer_offset_ = 0; // stream offset of buffer_[0]
  bool input_ended_ = false;
  // A run of digits in a version number that was not followed by "." and a digit: every digit
  // of it up to this stream offset is a single-character token, which is known without
  // looking at the run again (keeps a long run of digits linear).
  uint64_t digit_run_end_ = 0;

  KoilScanState state_ = KoilScanState::Initial;
  KoilScanState saved_state_ = KoilScanState::Declarations;
  // Counted unsigned: a file of more than 2^31 lines wraps the reported line instead of
  // overflowing.
  uint32_t line_ = 1;
  OrtiVersion version_;
  int64_t integer_ = 0;
};

// One scanned token, as the tests compare token streams.
struct KoilToken {
  int kind = kKoilEnd;
  std::string text;
  OrtiVersion version; // kKoilVersionNumber only
  int64_t integer = 0; // kKoilInteger only
  int32_t line = 0;    // the scanner's line after the token
  bool operator==(const KoilToken& other) const = default;
};

// Scans the whole text; the last token is the end of input.
std::vector<KoilToken> koil_tokenize(std::string_view input);

// A readable name of a token kind ("IDENTIFIER", "'{'", "end of input") for test output.
std::string koil_token_kind_name(int kind);
