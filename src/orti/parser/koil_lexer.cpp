// The KOIL scanner, written by hand as a longest-match scanner over a growing block buffer.
//
// Every rule is decided by the current byte and at most a few bytes looked at ahead; bytes
// looked at are only counted (newlines) once a rule consumes them, so look-ahead never shifts
// the line number. The long runs (blanks, names, string texts) are scanned in tight loops over
// the buffer, which a NUL after its valid bytes ends without a bounds test per byte.
#include "orti/parser/koil_lexer.h"

#include "runtime/format.h"
#include "runtime/hex_digit.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

// Character classes, one bit each, looked up per byte by the scanning loops.
constexpr uint8_t kLetter = 1;     // A-Z, a-z, _: begins an identifier
constexpr uint8_t kIdent = 2;      // letters, digits, _: continues it
constexpr uint8_t kDigit = 4;      // 0-9
constexpr uint8_t kOctal = 8;      // 0-7
constexpr uint8_t kHex = 16;       // 0-9, a-f, A-F
constexpr uint8_t kBlank = 32;     // blank, tab, carriage return, newline
constexpr uint8_t kInComment = 64; // none of *, NUL, newline: skipped inside a block comment

constexpr std::array<uint8_t, 256> make_classes() {
  std::array<uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = c >= '0' && c <= '9';
    uint8_t bits = 0;
    bits |= letter ? kLetter : 0;
    bits |= letter || digit ? kIdent : 0;
    bits |= digit ? kDigit : 0;
    bits |= c >= '0' && c <= '7' ? kOctal : 0;
    bits |= digit || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ? kHex : 0;
    bits |= c == ' ' || c == '\t' || c == '\r' || c == '\n' ? kBlank : 0;
    bits |= c != '*' && c != '\0' && c != '\n' ? kInComment : 0;
    classes[static_cast<std::size_t>(c)] = bits;
  }
  return classes;
}
constexpr std::array<uint8_t, 256> kClasses = make_classes();

// c is a byte (0-255) or -1 past the end, which has no class.
constexpr bool is(int c, uint8_t char_class) {
  return c >= 0 && (kClasses[static_cast<std::size_t>(c)] & char_class) != 0;
}
inline uint8_t class_of(char c) {
  return kClasses[static_cast<unsigned char>(c)];
}

uint32_t count_newlines(const char* text, std::size_t length) {
  uint32_t lines = 0;
  const char* end = text + length;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
    ++lines;
  }
  return lines;
}

// The literal's digits as a signed 64-bit number; a value beyond the range is clamped to the
// largest one, as the C library's conversion does.
int64_t convert_integer(std::string_view digits, int base) {
  constexpr uint64_t kMax = static_cast<uint64_t>(INT64_MAX);
  uint64_t value = 0;
  for (char c : digits) {
    const uint64_t d = static_cast<uint64_t>(hex_digit_value(c));
    if (value > (kMax - d) / static_cast<uint64_t>(base)) {
      return INT64_MAX;
    }
    value = value * static_cast<uint64_t>(base) + d;
  }
  return static_cast<int64_t>(value);
}

// A part of a version number; clamped to the largest 32-bit value rather than wrapped.
uint32_t convert_version_part(const char* digits, std::size_t count) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
    if (value > UINT32_MAX) {
      return UINT32_MAX;
    }
  }
  return static_cast<uint32_t>(value);
}

} // namespace

// The buffer exists from the start, empty, its NUL in place: the scanning loops then need no
// test for a scanner that has read nothing yet.
KoilLexer::KoilLexer(std::FILE* input)
    : file_(input), buffer_(new char[kKoilReadBlock + 1]{}), capacity_(kKoilReadBlock + 1) {}

KoilLexer::KoilLexer(std::string_view input)
    : memory_(input), buffer_(new char[kKoilReadBlock + 1]{}), capacity_(kKoilReadBlock + 1) {}

std::size_t KoilLexer::read_block(char* to, std::size_t room) {
  if (file_ == nullptr) {
    const std::size_t n = std::min(room, memory_.size() - memory_pos_);
    if (n > 0) {
      std::memcpy(to, memory_.data() + memory_pos_, n);
    }
    memory_pos_ += n;
    return n;
  }
  for (;;) {
    errno = 0;
    const std::size_t n = std::fread(to, 1, room, file_);
    // A short read must come with the end-of-file flag: a C library may leave both flags clear
    // when the stream cannot be read at all (Wine's does so for a write-only stream), and that
    // is a failure, not the end of the input.
    if (n > 0 || room == 0 || std::feof(file_)) {
      return n;
    }
    if (errno != EINTR) {
      throw KoilScannerFailure{"input in flex scanner failed"};
    }
    std::clearerr(file_);
  }
}

// The only allocation of a scan, so that the scanner's own failure is told here rather than
// around every token.
void KoilLexer::grow() {
  // Doubling keeps a token far longer than a block linear to read.
  const std::size_t capacity = std::max(2 * capacity_, end_ + kKoilReadBlock + 1);
  std::unique_ptr<char[]> grown;
  try {
    grown.reset(new char[capacity]);
  } catch (const std::bad_alloc&) {
    throw KoilScannerFailure{"out of dynamic memory in yy_get_next_buffer()"};
  }
  if (end_ > 0) {
    std::memcpy(grown.get(), buffer_.get(), end_);
  }
  buffer_ = std::move(grown);
  capacity_ = capacity;
}

std::size_t KoilLexer::fill(std::size_t count) {
  while (end_ - pos_ < count && !input_ended_) {
    // Only the current token's text and what follows it are still needed.
    if (token_ > 0) {
      std::memmove(buffer_.get(), buffer_.get() + token_, end_ - token_);
      buffer_offset_ += token_;
      pos_ -= token_;
      end_ -= token_;
      token_ = 0;
    }
    if (capacity_ - end_ < kKoilReadBlock + 1) {
      grow();
    }
    const std::size_t n = read_block(buffer_.get() + end_, kKoilReadBlock);
    if (n == 0) {
      input_ended_ = true;
    }
    end_ += n;
    buffer_[end_] = '\0';
  }
  return end_ - pos_;
}

int KoilLexer::peek(std::size_t ahead) {
  if (end_ - pos_ <= ahead && fill(ahead + 1) <= ahead) {
    return -1;
  }
  return static_cast<unsigned char>(buffer_[pos_ + ahead]);
}

std::size_t KoilLexer::span(std::size_t from, uint8_t char_class) {
  std::size_t n = from;
  for (;;) {
    const char* run = buffer_.get() + pos_;
    while ((class_of(run[n]) & char_class) != 0) {
      ++n;
    }
    if (pos_ + n < end_ || fill(n + 1) <= n) {
      return n;
    }
  }
}

void KoilLexer::take(std::size_t length) {
  token_ = pos_;
  token_length_ = length;
  pos_ += length;
}

int KoilLexer::single(int c) {
  take(1);
  return c;
}

// Consumed one byte at a time until a star directly followed by a slash. A star followed by
// anything else leaves that byte to the next round, so two stars and a slash end the comment.
// A NUL byte ends it together with the byte after it; so does the end of the input.
void KoilLexer::skip_block_comment() {
  for (;;) {
    token_ = pos_; // a comment's bytes are no token's text
    const char* p = buffer_.get() + pos_;
    const char* start = p;
    while ((class_of(*p) & kInComment) != 0) {
      ++p;
    }
    pos_ += static_cast<std::size_t>(p - start);
    if (pos_ == end_) {
      if (refill() == 0) {
        return;
      }
      continue;
    }
    const char c = buffer_[pos_++];
    token_ = pos_;
    if (c == '\n') {
      ++line_;
    } else if (c == '*') {
      const int after = peek(0);
      if (after == '/') {
        ++pos_;
        return;
      }
      if (after < 0) {
        return;
      }
    } else { // NUL
      const int after = peek(0);
      if (after >= 0) {
        line_ += after == '\n' ? 1 : 0;
        ++pos_;
      }
      return;
    }
  }
}

// From "//" up to, not including, the end of the line.
void KoilLexer::skip_line_comment() {
  pos_ += 2;
  for (;;) {
    const void* newline = std::memchr(buffer_.get() + pos_, '\n', end_ - pos_);
    if (newline != nullptr) {
      pos_ = static_cast<std::size_t>(static_cast<const char*>(newline) - buffer_.get());
      return;
    }
    pos_ = end_;
    if (refill() == 0) {
      return;
    }
  }
}

int KoilLexer::scan_identifier() {
  const char* run = buffer_.get() + pos_;
  std::size_t length = 1;
  while ((class_of(run[length]) & kIdent) != 0) {
    ++length;
  }
  if (pos_ + length == end_) {
    length = span(length, kIdent); // it may go on in the next block
  }
  take(length);
  // A keyword wins over the identifier of the same text only where its state makes it active.
  const std::string_view word = text();
  switch (word.size()) {
  case 4:
    if (state_ == KoilScanState::KoilVersion && word == "KOIL") {
      return kKoilKoil;
    }
    if (state_ == KoilScanState::OsSemantics && word == "ORTI") {
      return kKoilOrti;
    }
    if (state_ == KoilScanState::Declarations && word == "ENUM") {
      return kKoilEnum;
    }
    break;
  case 5:
    if (state_ == KoilScanState::Declarations && word == "CTYPE") {
      return kKoilCtype;
    }
    break;
  case 6:
    if (state_ == KoilScanState::Declarations && word == "STRING") {
      return kKoilString;
    }
    break;
  case 7:
    if (word == "VERSION") {
      state_ = KoilScanState::KoilVersion;
      return kKoilVersion;
    }
    if (state_ == KoilScanState::Declarations && word == "TOTRACE") {
      return kKoilToTrace;
    }
    break;
  case 11:
    if (word == "OSSEMANTICS") {
      state_ = KoilScanState::OsSemantics;
      return kKoilOsSemantics;
    }
    break;
  case 14:
    if (word == "IMPLEMENTATION") {
      state_ = KoilScanState::Declarations;
      return kKoilImplementation;
    }
    break;
  default:
    break;
  }
  return kKoilIdentifier;
}

// Hexadecimal needs a lower-case x and at least one digit after it; octal a leading 0 and at
// least one octal digit after it; anything else starting with 0 is the lone 0.
int KoilLexer::scan_integer() {
  int base = 10;
  std::size_t skip = 0;
  uint8_t digit = kDigit;
  if (peek(0) == '0') {
    if (peek(1) == 'x' && is(peek(2), kHex)) {
      base = 16;
      skip = 2;
      digit = kHex;
    } else if (is(peek(1), kOctal)) {
      base = 8;
      digit = kOctal;
    } else {
      take(1);
      integer_ = 0;
      return kKoilInteger;
    }
  }
  take(span(skip, digit));
  integer_ = convert_integer(text().substr(skip), base);
  return kKoilInteger;
}

// Digits "." digits, or else the first digit alone.
int KoilLexer::scan_version_digit() {
  const int first = peek(0);
  const uint64_t here = buffer_offset_ + pos_;
  if (here < digit_run_end_) {
    return single(first);
  }
  const std::size_t major = span(0, kDigit);
  if (peek(major) != '.' || !is(peek(major + 1), kDigit)) {
    digit_run_end_ = here + major;
    return single(first);
  }
  const std::size_t end = span(major + 1, kDigit);
  const char* start = buffer_.get() + pos_;
  version_.major = convert_version_part(start, major);
  version_.minor = convert_version_part(start + major + 1, end - major - 1);
  take(end);
  return kKoilVersionNumber;
}

// Everything up to the closing quote, newlines included; there are no escapes.
int KoilLexer::scan_string_text() {
  std::size_t n = 0;
  for (;;) {
    const char* run = buffer_.get() + pos_;
    const void* quote = std::memchr(run + n, '"', end_ - pos_ - n);
    if (quote != nullptr) {
      n = static_cast<std::size_t>(static_cast<const char*>(quote) - run);
      break;
    }
    n = end_ - pos_;
    if (fill(n + 1) <= n) {
      break;
    }
  }
  line_ += count_newlines(buffer_.get() + pos_, n);
  take(n);
  return kKoilStringText;
}

int KoilLexer::next() {
  if (state_ == KoilScanState::StringBody) {
    token_ = pos_;
    token_length_ = 0;
    const int c = peek(0);
    if (c < 0) {
      return kKoilEnd;
    }
    if (c == '"') {
      state_ = saved_state_;
      return single(c);
    }
    return scan_string_text();
  }
  for (;;) {
    // Blanks first, in place: there are some between nearly any two tokens.
    const char* p = buffer_.get() + pos_;
    if ((class_of(*p) & kBlank) != 0) {
      const char* start = p;
      uint32_t lines = 0;
      do {
        lines += *p == '\n' ? 1 : 0;
        ++p;
      } while ((class_of(*p) & kBlank) != 0);
      line_ += lines;
      pos_ += static_cast<std::size_t>(p - start);
    }
    token_ = pos_;
    token_length_ = 0;
    if (pos_ == end_) {
      if (fill(1) == 0) {
        return kKoilEnd;
      }
      continue;
    }
    const int c = static_cast<unsigned char>(*p);
    const uint8_t char_class = kClasses[static_cast<std::size_t>(c)];
    if ((char_class & kLetter) != 0) {
      return scan_identifier();
    }
    if (c == '"') {
      switch (state_) {
      case KoilScanState::Initial:
        ++pos_;
        continue;
      case KoilScanState::KoilVersion:
        state_ = KoilScanState::VersionNumber;
        return single(c);
      case KoilScanState::VersionNumber:
        state_ = KoilScanState::Initial;
        return single(c);
      case KoilScanState::OsSemantics:
        // Only a quote that opens a number starts a version number; the quotes around the
        // word ORTI keep the state.
        single(c);
        if (is(peek(0), kDigit)) {
          state_ = KoilScanState::VersionNumber;
        }
        return c;
      default:
        saved_state_ = KoilScanState::Declarations;
        state_ = KoilScanState::StringBody;
        return single(c);
      }
    }
    if (c == '/') {
      const int c1 = peek(1);
      if (c1 == '*') {
        pos_ += 2;
        skip_block_comment();
        continue;
      }
      if (c1 == '/') {
        const int c2 = peek(2);
        // "//" right before a newline (or the end) is not a comment but two slashes.
        if (c2 >= 0 && c2 != '\n') {
          skip_line_comment();
          continue;
        }
      }
      return single(c);
    }
    if ((char_class & kDigit) != 0) {
      if (state_ == KoilScanState::Declarations) {
        return scan_integer();
      }
      if (state_ == KoilScanState::VersionNumber) {
        return scan_version_digit();
      }
    }
    return single(c);
  }
}

std::vector<KoilToken> koil_tokenize(std::string_view input) {
  std::vector<KoilToken> tokens;
  KoilLexer lexer(input);
  for (;;) {
    KoilToken token;
    token.kind = lexer.next();
    token.text = lexer.text();
    if (token.kind == kKoilVersionNumber) {
      token.version = lexer.version();
    }
    if (token.kind == kKoilInteger) {
      token.integer = lexer.integer();
    }
    token.line = lexer.line();
    tokens.push_back(std::move(token));
    if (tokens.back().kind == kKoilEnd) {
      return tokens;
    }
  }
}

std::string koil_token_kind_name(int kind) {
  switch (kind) {
  case kKoilEnd:
    return "end of input";
  case kKoilVersionNumber:
    return "VERSION_NUMBER";
  case kKoilStringText:
    return "STRING_TEXT";
  case kKoilIdentifier:
    return "IDENTIFIER";
  case kKoilInteger:
    return "INTEGER";
  case kKoilVersion:
    return "VERSION";
  case kKoilKoil:
    return "KOIL";
  case kKoilOsSemantics:
    return "OSSEMANTICS";
  case kKoilOrti:
    return "ORTI";
  case kKoilImplementation:
    return "IMPLEMENTATION";
  case kKoilToTrace:
    return "TOTRACE";
  case kKoilCtype:
    return "CTYPE";
  case kKoilEnum:
    return "ENUM";
  case kKoilString:
    return "STRING";
  default:
    if (kind > ' ' && kind < 127) {
      return format("'%c'", kind);
    }
    return format("char %d", kind);
  }
}
